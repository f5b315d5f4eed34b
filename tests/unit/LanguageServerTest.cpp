// ktvbuild --lsp: the server driven through its streams by a scripted
// client, with the fake machine's tools; and its URIs.

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "World.h"
#include "cli/FileUris.h"
#include "cli/JsonRpc.h"
#include "cli/LanguageServer.h"
#include "text/Strings.h"

namespace ktv::testing {
namespace {

// A code page of one byte per character, as 1252 is, but for every
// character up to U+00FF: Latin-1.
TextConversions Latin1() {
    TextConversions text;
    text.ansiFromUtf8 = [](std::string_view utf8) -> std::optional<std::string> {
        std::string ansi;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            const auto byte = static_cast<unsigned char>(utf8[i]);
            if (byte < 0x80) {
                ansi += utf8[i];
            } else if ((byte == 0xC2 || byte == 0xC3) && i + 1 < utf8.size()) {
                ansi += static_cast<char>(((byte & 3) << 6) | (utf8[++i] & 0x3F));
            } else {
                return std::nullopt;
            }
        }
        return ansi;
    };
    text.utf8FromAnsi = [](std::string_view ansi) {
        std::string utf8;
        for (const char c : ansi) {
            const auto byte = static_cast<unsigned char>(c);
            utf8 += byte < 0x80 ? std::string(1, c)
                                : std::string{static_cast<char>(0xC0 | (byte >> 6)),
                                              static_cast<char>(0x80 | (byte & 0x3F))};
        }
        return utf8;
    };
    text.pathKey = [](std::string_view path) {
        std::string key(path);
        for (char& c : key) {
            c = ToLowerAscii(c);
        }
        return key;
    };
    text.ansiCodePage = 1252;
    return text;
}

// The server's standard input: what the client has sent and the server not
// yet read.
class Pipe : public ByteSource {
public:
    void Send(const std::string& bytes) {
        const std::lock_guard<std::mutex> lock(mutex_);
        bytes_ += bytes;
        changed_.notify_all();
    }
    void Close() { Send(""), closed_ = true, changed_.notify_all(); }
    // The server has read everything sent and waits for more: it has
    // handled every message so far.
    void WaitUntilTaken() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return bytes_.empty() && reading_; });
    }
    std::size_t Read(char* buffer, std::size_t size) override {
        std::unique_lock<std::mutex> lock(mutex_);
        reading_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return closed_ || !bytes_.empty(); });
        reading_ = false;
        const std::size_t read = bytes_.copy(buffer, size);
        bytes_.erase(0, read);
        return read;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string bytes_;
    bool reading_ = false;
    std::atomic<bool> closed_ = false;
};

// The client's side: every message the server wrote, parsed; it agrees to
// every progress token it is asked to create.
class Client : public ByteSink {
public:
    explicit Client(Pipe& in) : in_(in) {}

    void Write(std::string_view bytes) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        const std::size_t body = bytes.find("\r\n\r\n") + 4;
        Json message = Json::parse(bytes.substr(body));
        EXPECT_EQ(bytes.substr(0, body),
                  "Content-Length: " + std::to_string(bytes.size() - body) + "\r\n\r\n");
        if (message.value("method", "") == "window/workDoneProgress/create") {
            in_.Send(FramedMessage(
                Json{{"jsonrpc", "2.0"}, {"id", message["id"]}, {"result", nullptr}}.dump()));
        }
        received_.push_back(std::move(message));
        arrived_.notify_all();
    }
    // Waits until `count` messages have come that meet the condition; every
    // message so far.
    std::vector<Json> WaitFor(const std::function<bool(const Json&)>& meets,
                              std::size_t count = 1) {
        std::unique_lock<std::mutex> lock(mutex_);
        const bool came = arrived_.wait_for(lock, std::chrono::seconds(5), [&] {
            return static_cast<std::size_t>(
                       std::count_if(received_.begin(), received_.end(), meets)) >= count;
        });
        EXPECT_TRUE(came);
        return received_;
    }

private:
    Pipe& in_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Json> received_;
};

std::function<bool(const Json&)> Answering(const Json& id) {
    return
        [id](const Json& m) { return m.contains("id") && m["id"] == id && !m.contains("method"); };
}

bool BuildEnded(const Json& m) {
    return m.value("method", "") == "$/progress" && m["params"]["value"]["kind"] == "end";
}

// What a client sees of the server's notifications, one line each.
std::string AsSeen(const Json& m) {
    const std::string method = m.value("method", "");
    const Json& params = m.contains("params") ? m["params"] : Json();
    if (method == "textDocument/publishDiagnostics") {
        std::string line = "publish " + params["uri"].get<std::string>() + ":";
        for (const Json& d : params["diagnostics"]) {
            EXPECT_EQ(d["source"], "ktv");
            EXPECT_EQ(d["range"]["end"]["line"], d["range"]["start"]["line"].get<int>() + 1);
            line += " " + d["range"]["start"]["line"].dump() + (d["severity"] == 1 ? "E " : "W ") +
                    d["message"].get<std::string>() + ";";
        }
        return line;
    }
    if (method == "window/showMessage") {
        return "message" + params["type"].dump() + ": " + params["message"].get<std::string>();
    }
    if (method == "$/progress") {
        return "progress " + params["value"]["kind"].get<std::string>() + ": " +
               params["value"].value("message", "");
    }
    return m.dump();
}

constexpr const char* kBasicUri = "file:///c:/work/prog.bas";

// A server on its own thread, initialized by a client that offers progress,
// over the world's machine: tools in c:\lcc and c:\ktv, a console link.
class Session {
public:
    explicit Session(Json options = Json::object()) {
        system_.text = Latin1();
        options.update({{"lccPath", "c:\\lcc"}, {"ktvPath", "c:\\ktv"}, {"linkMode", "console"}},
                       true);
        server_ = std::thread([this] { exitCode = ServeLanguageClient(in, client, system_); });
        Request(1, "initialize",
                {{"processId", nullptr},
                 {"initializationOptions", options},
                 {"capabilities", {{"window", {{"workDoneProgress", true}}}}}});
        Notify("initialized", Json::object());
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session() { End(); }

    int End() {
        in.Close();
        if (server_.joinable()) {
            server_.join();
        }
        return exitCode;
    }

    Json Request(int id, const std::string& method, const Json& params) {
        Send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
        return client.WaitFor(Answering(id)).back();
    }
    void Notify(const std::string& method, const Json& params) {
        Send({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
    }
    void Send(const Json& message) { in.Send(FramedMessage(message.dump())); }
    void Save(const std::string& uri = kBasicUri) {
        Notify("textDocument/didSave", {{"textDocument", {{"uri", uri}}}});
    }
    // What the client saw since the last build until the next has ended (or
    // `builds` more): its notifications with the progress's end, or only its
    // progress, with `steps`.
    std::vector<std::string> Build(bool steps = false) {
        Save();
        return Seen(1, steps);
    }
    std::vector<std::string> Seen(std::size_t builds, bool steps = false) {
        std::vector<std::string> seen;
        builds_ += builds;
        const std::vector<Json> all = client.WaitFor(BuildEnded, builds_);
        for (std::size_t i = std::exchange(shown_, all.size()); i < all.size(); ++i) {
            if (all[i].contains("method") && all[i]["method"] != "window/workDoneProgress/create" &&
                (steps ? all[i]["method"] == "$/progress"
                       : all[i]["method"] != "$/progress" || BuildEnded(all[i]))) {
                seen.push_back(AsSeen(all[i]));
            }
        }
        return seen;
    }

    World world;
    Pipe in;
    Client client{in};
    int exitCode = -1;

private:
    LanguageServerSystem system_{world.fake.platform, {}, {}};
    std::thread server_;
    std::size_t builds_ = 0;
    std::size_t shown_ = 0;
};

TEST(LanguageServer, HandshakeAnswersRequestsInTurnAndEndsWithExit) {
    World world;
    Pipe in;
    Client client(in);
    LanguageServerSystem system{world.fake.platform, Latin1(), {}};
    std::thread server([&] { EXPECT_EQ(ServeLanguageClient(in, client, system), 0); });
    const auto request = [&](int id, const char* method) {
        in.Send(FramedMessage(
            Json{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", Json::object()}}
                .dump()));
        return client.WaitFor(Answering(id)).back();
    };
    EXPECT_EQ(request(1, "shutdown")["error"]["code"], -32002);
    const Json initialized = request(2, "initialize")["result"];
    EXPECT_EQ(initialized["capabilities"]["textDocumentSync"],
              Json::parse(R"({"openClose": true, "change": 0, "save": {"includeText": false}})"));
    EXPECT_EQ(request(3, "initialize")["error"]["code"], -32600);
    EXPECT_EQ(request(4, "textDocument/hover")["error"]["code"], -32601);
    EXPECT_EQ(request(5, "shutdown"),
              Json::parse(R"({"jsonrpc": "2.0", "id": 5, "result": null})"));
    in.Send(FramedMessage(R"({"jsonrpc": "2.0", "method": "exit"})"));
    server.join();
    EXPECT_EQ(client.WaitFor([](const Json&) { return true; }, 0).size(), 5u);
}

// Each build's problems land where they belong, the Basic file's at the
// client's own URI; the tool chain's failures and a missing marker line are
// messages.
TEST(LanguageServer, PublishesEachProblemAtItsFileAndLine) {
    using Arrange = std::function<void(Session&)>;
    const std::string bas = "publish file:///c:/work/prog.bas:";
    const std::string c = "publish file:///c:/work/prog.c:";
    const std::pair<Arrange, std::vector<std::string>> cases[] = {
        {[](Session& s) {
             s.world.compilerLines = {"error prog.c: 4 e", "warning prog.c: 6 w"};
         },
         {bas + " 1E e; 2W w;", "progress end: 1 error, 1 warning"}},
        {[](Session& s) { s.world.translatorError = "Syntax error 3"; },
         {bas + " 2E Syntax error 3;", "progress end: 1 error"}},
        {[](Session& s) { s.world.compilerLines = {"error prog.c: 1 before any line"}; },
         {c + " 0E before any line;", "progress end: 1 error"}},
        {[](Session& s) {
             s.world.compilerLines = {"Error c:\\lcc\\include\\win.h: 9  redeclaration of 'Sleep'",
                                      "Error ..\\inc\\my defs.h: 3 x", "Error win.h: 7 y"};
         },
         {"publish file:///c:/inc/my%20defs.h: 2E x;",
          "publish file:///c:/lcc/include/win.h: 8E redeclaration of 'Sleep';",
          c + " 0E win.h:7: y;", "progress end: 3 errors"}},
        {[](Session& s) {
             s.world.fake.files.AddFile("c:\\work\\prog.bas", "PRINT 1\r\n");
             s.world.compilerLines = {"error prog.c: 1 e"};
         },
         {c + " 0E e;",
          "message3: prog.bas has no $SOURCE line, so C problems point into the C file. For Basic "
          "lines, add $SOURCE as its first line, or set insertMarker to true to have it added.",
          "progress end: 1 error"}},
        {[](Session& s) {
             s.world.fake.files.AddFile("c:\\work\\prog.bas", "PRINT 1\r\n");
             s.Notify("workspace/didChangeConfiguration",
                      {{"settings", {{"ktv", {{"insertMarker", true}, {"warnings", "yes"}}}}}});
         },
         {"message1: The setting warnings must be true or false",
          "message3: Added the $SOURCE line to c:\\work\\prog.bas: C problems now point at Basic "
          "lines.",
          "progress end: Built c:\\work\\prog.exe"}},
        {[](Session& s) { s.world.fake.processes.failing = {"lcclnk"}; },
         {"message1: Could not run Linker. \n\nCommand was:\n\"c:\\lcc\\bin\\lcclnk.exe\" -o "
          "prog.exe -subsystem console -s prog.obj  ",
          "progress end: Error: Could not run Linker."}},
        {[](Session& s) {
             s.world.fake.files.AddFile("c:\\KTVDebugger\\KTVDebug.cfg", "lccpath=c:\\old\r\n");
             s.Notify("workspace/didChangeConfiguration",
                      {{"settings", {{"libraries", "gone.lib"}}}});
         },
         {"message1: KTV Debugger cannot find one or more of your include libraries.",
          "progress end: Error: KTV Debugger cannot find one or more of your include libraries."}}};
    for (const auto& [arrange, seen] : cases) {
        SCOPED_TRACE(seen.front());
        Session session;
        arrange(session);
        EXPECT_EQ(session.Build(), seen);
    }
}

// A save clears what the last build published and the new build does not.
TEST(LanguageServer, ClearsEveryFileTheLastBuildPublishedFor) {
    Session session;
    session.world.compilerLines = {"error prog.c: 4 e", "Error c:\\inc\\a.h: 2 h"};
    session.Build();
    session.world.compilerLines = {"error prog.c: 1 c"};
    EXPECT_EQ(session.Build(),
              (std::vector<std::string>{
                  "publish file:///c:/work/prog.c: 0E c;", "publish file:///c:/inc/a.h:",
                  "publish file:///c:/work/prog.bas:", "progress end: 1 error"}));
    session.world.compilerLines = {};
    EXPECT_EQ(session.Build(),
              (std::vector<std::string>{"publish file:///c:/work/prog.c:",
                                        "progress end: Built c:\\work\\prog.exe"}));
    EXPECT_EQ(
        session.Build(true),
        (std::vector<std::string>{
            "progress begin: Translating prog.bas\u2026",
            "progress report: Compiling resources\u2026",
            "progress report: Compiling resources\u2026", "progress report: Compiling prog.c\u2026",
            "progress report: Linking prog.exe\u2026", "progress end: Built c:\\work\\prog.exe"}));
}

// Saves while the compiler runs, the file spelt otherwise each time: the
// build is stopped, its tools end, it publishes nothing, and one more build
// follows.
TEST(LanguageServer, ASaveDuringABuildStopsItAndSavesInARowStartOneBuild) {
    Session session;
    bool saved = false;
    const auto tools = session.world.fake.processes.onRun;
    session.world.fake.processes.onRun = [&](const std::string& commandLine) {
        tools(commandLine);
        if (!saved && commandLine.find("lcc.exe") != std::string::npos) {
            saved = true;
            session.world.compilerLines = {"error prog.c: 4 e"};
            for (const char* uri :
                 {"file:///C%3A/Work/PROG.bas", "file://localhost/c:/work/prog.bas",
                  "file:///c:/work/prog.bas"}) {
                session.Save(uri);
            }
            session.in.WaitUntilTaken();
        }
    };
    session.Save();
    EXPECT_EQ(session.Seen(2), (std::vector<std::string>{"progress end: Stopped",
                                                         "publish file:///c:/work/prog.bas: 1E e;",
                                                         "progress end: 1 error"}));
    EXPECT_EQ(session.world.ToolsRun(), (Lines{"ktvc.exe", "lrc.exe", "lrc.exe", "lcc.exe",
                                               "ktvc.exe", "lrc.exe", "lrc.exe", "lcc.exe"}));
    EXPECT_EQ(session.world.Only({"ended: "}).size(), 1u);
}

// Bad frames and bad messages each get the protocol's error, and the
// server reads on; a notification it does not know gets nothing.
TEST(LanguageServer, AnswersBadFramesAndMessagesAndReadsOn) {
    const std::pair<std::string, std::string> cases[] = {
        {"Content-Length: x1\r\n\r\n",
         "null -32700 Bad message header: Content-Length is not a number of bytes: x1"},
        {"Content-Type: text\r\n\r\n", "null -32700 Bad message header: no Content-Length"},
        {"no colon\r\n\r\n",
         "null -32700 Bad message header: a header line without a colon: no colon"},
        {"Content-Length: 99999999999\r\n\r\n",
         "null -32700 Bad message header: a body of 99999999999 bytes, over the 64 MiB this server "
         "reads"},
        {FramedMessage("{\"jsonrpc\": \"2.0\", \"id\": 1,"), "null -32700 The message is not JSON"},
        {FramedMessage("[1]"), "null -32600 The message is not a JSON object"},
        {FramedMessage(std::string(100, '[') + std::string(100, ']')),
         "null -32600 The message nests deeper than 64 levels"},
        {FramedMessage(R"({"jsonrpc": "2.0", "id": {}, "method": "x"})"),
         "null -32600 The id is neither a string nor an integer"},
        {FramedMessage(R"({"jsonrpc": "1.0", "id": 7, "method": "x"})"),
         "7 -32600 The message is not JSON-RPC 2.0"},
        {FramedMessage(R"({"jsonrpc": "2.0", "id": "a", "method": "x", "params": 3})"),
         "\"a\" -32600 The params are neither an object nor an array"},
        {FramedMessage(R"({"jsonrpc": "2.0", "id": 8})"), "8 -32600 The message has no method"},
        {"stray bytes" + FramedMessage(R"({"jsonrpc": "2.0", "id": 9, "method": "x/y"})"),
         "9 -32601 No method x/y"}};
    Session session;
    session.Notify("x/unknown", Json::object());
    std::size_t answered = 0;
    for (const auto& [bytes, answer] : cases) {
        session.in.Send(bytes);
        const Json reply =
            session.client.WaitFor([](const Json& m) { return m.contains("error"); }, ++answered)
                .back();
        EXPECT_EQ(reply["id"].dump() + " " + reply["error"]["code"].dump() + " " +
                      reply["error"]["message"].get<std::string>(),
                  answer);
    }
    EXPECT_EQ(session.Request(10, "shutdown", nullptr)["result"], nullptr);
    EXPECT_EQ(session.End(), 1);  // the input ended without an exit
    EXPECT_EQ(session.client.WaitFor([](const Json&) { return true; }, 0).size(),
              std::size(cases) + 2);
}

TEST(FileUris, WindowsPathsAndTheirUrisBothWays) {
    const TextConversions text = Latin1();
    const std::tuple<std::string, std::string, std::string> cases[] = {
        // URI, path (empty: refused, with this error), URI of the path
        {"file:///c%3A/work/my%20dir/prog.bas", "c:\\work\\my dir\\prog.bas",
         "file:///c:/work/my%20dir/prog.bas"},
        {"FILE:///C:/Work/x%2b1.bas", "C:\\Work\\x+1.bas", "file:///C:/Work/x%2B1.bas"},
        {"file://localhost/d:/x.bas#top", "d:\\x.bas", "file:///d:/x.bas"},
        {"file://server/share/a%20b/x.bas", "\\\\server\\share\\a b\\x.bas",
         "file://server/share/a%20b/x.bas"},
        {"file:////server/share/x.bas", "\\\\server\\share\\x.bas", "file://server/share/x.bas"},
        {"file:///c:/H%C3%A9l%C3%A8ne/x.bas", "c:\\H\xe9l\xe8ne\\x.bas",
         "file:///c:/H%C3%A9l%C3%A8ne/x.bas"},
        {"file:///c:/%C5%81ukasz/x.bas", "",
         "The path c:\\\xc5\x81ukasz\\x.bas holds characters that the KTV and LCC tools cannot "
         "take: they accept paths in the ANSI code page (1252) only. Rename the folder or file, or "
         "move it to a path without them."},
        {"file:///home/me/x.bas", "",
         "Cannot build file:///home/me/x.bas: it names neither a drive (file:///c:/...) nor a "
         "server (file://server/...)"},
        {"file:///c:/a%2", "",
         "Cannot build file:///c:/a%2: it holds a broken percent escape or a zero byte"},
        {"file:c:/x.bas", "", "Cannot build file:c:/x.bas: a file URI begins with file://"}};
    for (const auto& [uri, path, other] : cases) {
        SCOPED_TRACE(uri);
        const std::optional<UriPath> read = PathFromUri(uri, text);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->path, path);
        EXPECT_EQ(path.empty() ? read->error : UriFromPath(path, text), other);
    }
    EXPECT_FALSE(PathFromUri("untitled:Untitled-1", text));
}

}  // namespace
}  // namespace ktv::testing
