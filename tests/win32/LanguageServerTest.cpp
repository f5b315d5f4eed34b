// ktvbuild.exe --lsp under Wine, worked over pipes by a scripted client,
// with the stand-in tools.

#include <map>

#include "LanguageClient.h"
#include "Win32Test.h"
#include "cli/FileUris.h"

namespace ktv::win32 {
namespace {

using driver::LanguageClient;
using driver::TestLayout;

std::string UriOf(const std::string& path) {
    TextConversions ascii;
    ascii.utf8FromAnsi = [](std::string_view text) { return std::string(text); };
    return UriFromPath(path, ascii);
}

using Published = std::map<std::string, std::vector<std::string>>;

// A layout of the stand-in tools with ktvbuild (as its program too), served
// to a client that offers progress.
struct Served {
    Served() { layout.Copy(driver::ToWindowsPath(KTV_KTVBUILD), "ktvbuild.exe"); }

    LanguageClient& Start(const Json& processId = nullptr) {
        client.emplace("\"" + layout.Root() + "\\ktvbuild.exe\" --lsp", layout.WorkDir());
        EXPECT_TRUE(client->Initialize(
            {{"lccPath", layout.LccDir()}, {"ktvPath", layout.KtvDir()}, {"linkMode", "console"}},
            processId));
        return *client;
    }
    void Save(const std::string& uri = {}) {
        client->Notify(
            "textDocument/didSave",
            {{"textDocument", {{"uri", uri.empty() ? UriOf(layout.BasicFile()) : uri}}}});
    }
    // The diagnostics published until a build ended, by URI, as
    // "line:severity message".
    Published Built() {
        Published published;
        while (const std::optional<Json> m = client->WaitFor(
                   [](const Json& message) { return message.contains("method"); })) {
            const Json& params = (*m)["params"];
            if ((*m)["method"] == "textDocument/publishDiagnostics") {
                std::vector<std::string>& lines = published[params["uri"]];
                for (const Json& d : params["diagnostics"]) {
                    lines.push_back(d["range"]["start"]["line"].dump() + ":" +
                                    d["severity"].dump() + " " + d["message"].get<std::string>());
                }
            } else if ((*m)["method"] == "$/progress" && params["value"]["kind"] == "end") {
                return published;
            }
        }
        ADD_FAILURE() << "the build did not end";
        return published;
    }
    Published Build() {
        Save();
        return Built();
    }

    TestLayout layout{driver::ToWindowsPath(KTV_KTVBUILD), testing::StandInFolder()};
    std::optional<LanguageClient> client;
};

// The stand-in compiler's error on Basic line 3 and a header's warning land
// at their files and lines; the next build, clean, clears both.
TEST(LanguageServer, PublishesTheStandInsProblemsAndClearsThemOnTheNextSave) {
    Served served;
    TestLayout& layout = served.layout;
    layout.Write("work\\scenario.txt",
                 "lcc.error_at_basic=3  undeclared identifier 'x'\r\n"
                 "lcc.err=Warning c:\\lcc\\include\\win.h: 9  redeclaration of 'Sleep'\r\n");
    LanguageClient& client = served.Start();
    const std::string basic = UriOf(layout.BasicFile());
    const std::string header = "file:///c:/lcc/include/win.h";
    EXPECT_EQ(served.Build(), (Published{{basic, {"2:1 undeclared identifier 'x'"}},
                                         {header, {"8:2 redeclaration of 'Sleep'"}}}));
    layout.Write("work\\scenario.txt", "");
    EXPECT_EQ(served.Build(), (Published{{basic, {}}, {header, {}}}));
    client.Send({{"jsonrpc", "2.0"}, {"id", 2}, {"method", "shutdown"}});
    client.Notify("exit", nullptr);
    EXPECT_EQ(client.ExitCode(std::chrono::seconds(10)), 0u);
}

// The client's process ending ends the server, though its input stays open.
TEST(LanguageServer, EndsWhenTheClientsProcessEnds) {
    Served served;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION client{};
    std::string line = testing::StandIn("builtprog.exe");
    ASSERT_TRUE(::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                 nullptr, nullptr, &startup, &client));
    LanguageClient& server = served.Start(client.dwProcessId);
    EXPECT_FALSE(server.ExitCode(std::chrono::milliseconds(500)));
    ::TerminateProcess(client.hProcess, 0);
    ::CloseHandle(client.hProcess);
    ::CloseHandle(client.hThread);
    EXPECT_EQ(server.ExitCode(std::chrono::seconds(10)), 1u);
}

}  // namespace
}  // namespace ktv::win32
