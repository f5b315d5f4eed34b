// ktvbuild --lsp: the server driven through its streams by a scripted
// client, with the fake machine's tools; and its URIs.

#include <algorithm>
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

// UTF-8 as the ANSI code page, but without Ł (U+0141), which 1252 lacks too.
TextConversions Utf8WithoutL() {
    TextConversions text;
    text.ansiFromUtf8 = [](std::string_view utf8) -> std::optional<std::string> {
        return utf8.find("\u0141") == std::string_view::npos ? std::optional(std::string(utf8))
                                                             : std::nullopt;
    };
    text.utf8FromAnsi = [](std::string_view ansi) { return std::string(ansi); };
    text.pathKey = [](std::string_view path) {
        std::string key(path);
        std::transform(key.begin(), key.end(), key.begin(), ToLowerAscii);
        return key;
    };
    text.ansiCodePage = 1252;
    return text;
}

// The server's standard input: what the client has sent and the server not
// yet read.
class Pipe : public ByteSource {
public:
    void Send(const std::string& bytes, bool close = false) {
        const std::lock_guard<std::mutex> lock(mutex_);
        bytes_ += bytes;
        closed_ = closed_ || close;
        changed_.notify_all();
    }
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
    bool closed_ = false;
};

// The client's side: every message the server wrote; it agrees to every
// progress token it is asked to create.
class Client : public ByteSink {
public:
    explicit Client(Pipe& in) : in_(in) {}

    void Write(std::string_view bytes) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        const std::size_t body = bytes.find("\r\n\r\n") + 4;
        EXPECT_EQ(bytes.substr(0, body),
                  "Content-Length: " + std::to_string(bytes.size() - body) + "\r\n\r\n");
        Json message = Json::parse(bytes.substr(body));
        if (message.value("method", "") == "window/workDoneProgress/create") {
            in_.Send(FramedMessage(RpcResult(message["id"], nullptr)));
        }
        received_.push_back(std::move(message));
        arrived_.notify_all();
    }
    // Every message so far, once `count` of them meet the condition.
    std::vector<Json> WaitFor(const std::function<bool(const Json&)>& meets,
                              std::size_t count = 1) {
        std::unique_lock<std::mutex> lock(mutex_);
        EXPECT_TRUE(arrived_.wait_for(lock, std::chrono::seconds(5), [&] {
            return std::count_if(received_.begin(), received_.end(), meets) >=
                   static_cast<long>(count);
        }));
        return received_;
    }

private:
    Pipe& in_;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Json> received_;
};

bool BuildEnded(const Json& m) {
    return m.value("method", "") == "$/progress" && m["params"]["value"]["kind"] == "end";
}

// A notification as a line: "publish URI: LINE(E|W) MESSAGE; ...", "messageTYPE: TEXT",
// "progress KIND: MESSAGE".
std::string AsSeen(const Json& m) {
    const Json& params = m["params"];
    if (m["method"] == "textDocument/publishDiagnostics") {
        std::string line = "publish " + params["uri"].get<std::string>() + ":";
        for (const Json& d : params["diagnostics"]) {
            EXPECT_EQ(d["source"], "ktv");
            EXPECT_EQ(d["range"]["end"]["line"], d["range"]["start"]["line"].get<int>() + 1);
            line += " " + d["range"]["start"]["line"].dump() + (d["severity"] == 1 ? "E " : "W ") +
                    d["message"].get<std::string>() + ";";
        }
        return line;
    }
    if (m["method"] == "window/showMessage") {
        return "message" + params["type"].dump() + ": " + params["message"].get<std::string>();
    }
    return "progress " + params["value"]["kind"].get<std::string>() + ": " +
           params["value"].value("message", "");
}

constexpr const char* kBasicUri = "file:///c:/work/prog.bas";

// A server on its own thread over the world's machine, initialized (unless
// told not to) by a client that offers progress, with the tools in c:\lcc
// and c:\ktv and a console link.
class Session {
public:
    explicit Session(bool initialize = true) {
        server_ = std::thread([this] { exitCode_ = ServeLanguageClient(in, client, system_); });
        if (initialize) {
            Request(1, "initialize",
                    {{"processId", nullptr},
                     {"initializationOptions",
                      {{"lccPath", "c:\\lcc"}, {"ktvPath", "c:\\ktv"}, {"linkMode", "console"}}},
                     {"capabilities", {{"window", {{"workDoneProgress", true}}}}}});
            Notify("initialized", Json::object());
        }
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session() { End(); }

    // The server's exit code once its input has ended.
    int End() {
        in.Send("", true);
        if (server_.joinable()) {
            server_.join();
        }
        return exitCode_;
    }
    Json Request(int id, const std::string& method, const Json& params) {
        Send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
        return client
            .WaitFor([id](const Json& m) {
                return m.contains("id") && m["id"] == id && !m.contains("method");
            })
            .back();
    }
    void Notify(const std::string& method, const Json& params) {
        Send({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
    }
    void Send(const Json& message) { in.Send(FramedMessage(message.dump())); }
    void Save(const std::string& uri = kBasicUri) {
        Notify("textDocument/didSave", {{"textDocument", {{"uri", uri}}}});
    }
    std::vector<std::string> Build(bool steps = false) {
        Save();
        return Seen(1, steps);
    }
    // The notifications since the last build until `builds` more have ended:
    // all but the progress before its end, or with `steps` the progress only.
    std::vector<std::string> Seen(std::size_t builds, bool steps = false) {
        std::vector<std::string> seen;
        const std::vector<Json> all = client.WaitFor(BuildEnded, builds_ += builds);
        for (std::size_t i = std::exchange(shown_, all.size()); i < all.size(); ++i) {
            const bool progress = all[i].value("method", "") == "$/progress";
            const bool request = all[i].contains("id");  // progress tokens asked for
            if (steps ? progress : progress ? BuildEnded(all[i]) : !request) {
                seen.push_back(AsSeen(all[i]));
            }
        }
        return seen;
    }

    World world;
    Pipe in;
    Client client{in};

private:
    LanguageServerSystem system_{world.fake.platform, Utf8WithoutL(), {}};
    int exitCode_ = -1;
    std::thread server_;
    std::size_t builds_ = 0;
    std::size_t shown_ = 0;
};

TEST(LanguageServer, HandshakeAnswersRequestsInTurnAndEndsWithExit) {
    Session session(false);
    EXPECT_EQ(session.Request(1, "shutdown", nullptr)["error"]["code"], -32002);
    EXPECT_EQ(session.Request(2, "initialize",
                              Json::object())["result"]["capabilities"]["textDocumentSync"],
              Json::parse(R"({"openClose": true, "change": 0, "save": {"includeText": false}})"));
    EXPECT_EQ(session.Request(3, "initialize", nullptr)["error"]["code"], -32600);
    EXPECT_EQ(session.Request(4, "shutdown", nullptr),
              Json::parse(R"({"jsonrpc": "2.0", "id": 4, "result": null})"));
    session.Notify("exit", nullptr);
    EXPECT_EQ(session.End(), 0);
    EXPECT_EQ(session.client.WaitFor([](const Json&) { return true; }, 0).size(), 4u);
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
             s.world.fake.files.AddFile("c:\\KTVDebugger\\KTVDebug.cfg", "lccpath=c:\\old\r\n");
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
          "progress end: Error: Could not run Linker."}}};
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
        {"Content-Length: 99999999999\r\n\r\n",
         "null -32700 Bad message header: a body of 99999999999 bytes, over the 64 MiB this server "
         "reads"},
        {FramedMessage("{\"jsonrpc\": \"2.0\", \"id\": 1,"), "null -32700 The message is not JSON"},
        {FramedMessage(std::string(100, '[') + std::string(100, ']')),
         "null -32600 The message nests deeper than 64 levels"},
        {FramedMessage(R"({"jsonrpc": "2.0", "id": {}, "method": "x"})"),
         "null -32600 The id is neither a string nor an integer"},
        {FramedMessage(R"({"jsonrpc": "1.0", "id": 7, "method": "x"})"),
         "7 -32600 The message is not JSON-RPC 2.0"},
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
    const TextConversions text = Utf8WithoutL();
    const std::tuple<std::string, std::string, std::string> cases[] = {
        // URI, path (empty: refused, with this error), URI of the path
        {"file:///c%3A/work/my%20dir/prog.bas", "c:\\work\\my dir\\prog.bas",
         "file:///c:/work/my%20dir/prog.bas"},
        {"FILE:///C:/Work/x%2b1.bas", "C:\\Work\\x+1.bas", "file:///C:/Work/x%2B1.bas"},
        {"file://localhost/d:/x.bas#top", "d:\\x.bas", "file:///d:/x.bas"},
        {"file://server/share/a%20b/x.bas", "\\\\server\\share\\a b\\x.bas",
         "file://server/share/a%20b/x.bas"},
        {"file:///c:/H%C3%A9l%C3%A8ne/x.bas", "c:\\H\u00e9l\u00e8ne\\x.bas",
         "file:///c:/H%C3%A9l%C3%A8ne/x.bas"},
        {"file:///c:/%C5%81ukasz/x.bas", "",
         "The path c:\\\u0141ukasz\\x.bas holds characters that the KTV and LCC tools cannot "
         "take: they accept paths in the ANSI code page (1252) only. Rename the folder or file, or "
         "move it to a path without them."},
        {"file:///home/me/x.bas", "",
         "Cannot build file:///home/me/x.bas: it names neither a drive (file:///c:/...) nor a "
         "server (file://server/...)"},
        {"file:///c:/a%2", "",
         "Cannot build file:///c:/a%2: it holds a broken percent escape or a zero byte"}};
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
