#include "cli/LanguageServer.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "cli/BuildProgress.h"
#include "cli/BuildQueue.h"
#include "cli/ClientSettings.h"
#include "cli/CollectedBuild.h"
#include "cli/JsonRpc.h"
#include "cli/LspDiagnostics.h"
#include "debug/RunStatus.h"
#include "text/Paths.h"
#include "text/Strings.h"

namespace ktv {
namespace {

enum class MessageType { Error = 1, Warning = 2, Info = 3 };

// The member at this path of objects; null when any is missing.
const Json& Member(const Json& value, std::initializer_list<const char*> path) {
    static const Json kNone;
    const Json* at = &value;
    for (const char* name : path) {
        if (!at->is_object() || !at->contains(name)) {
            return kNone;
        }
        at = &(*at)[name];
    }
    return *at;
}

std::string WithLineFeeds(std::string_view text) {
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        lines += text[i] == '\r' ? '\n' : text[i];
    }
    return lines;
}

bool IsBasicFile(std::string_view path) {
    return path.size() > 4 && EqualsIgnoringCase(path.substr(path.size() - 4), ".bas");
}

class LanguageServer {
public:
    LanguageServer(ByteSink& out, LanguageServerSystem& system, const BuildArguments& options)
        : out_(out), system_(system), text_(system.text), overrides_(options) {}
    LanguageServer(const LanguageServer&) = delete;
    LanguageServer& operator=(const LanguageServer&) = delete;
    // The queue may outlive the server (see Initialize); its builds may not.
    ~LanguageServer() { builds_->Close(); }

    int Serve(ByteSource& in) {
        FrameReader frames(in);
        while (!exit_) {
            const std::optional<Frame> frame = frames.Next();
            if (!frame) {
                break;
            }
            if (frame->error.empty()) {
                Handle(ReadRpcMessage(frame->body));
            } else {
                Send(RpcErrorReply(nullptr, RpcError::ParseError, frame->error));
            }
        }
        builds_->Close();
        return exit_ && shutDown_ ? 0 : 1;
    }

private:
    void Send(const std::string& body) {
        const std::lock_guard<std::mutex> lock(sending_);
        out_.Write(FramedMessage(body));
    }

    void ShowMessage(MessageType type, const std::string& utf8) {
        Send(RpcNotification("window/showMessage",
                             {{"type", static_cast<int>(type)}, {"message", utf8}}));
    }

    void Handle(const RpcMessage& message) {
        switch (message.kind) {
            case RpcMessage::Kind::Invalid:
                Send(RpcErrorReply(message.id, message.error, message.problem));
                break;
            case RpcMessage::Kind::Response:
                if (progress_) {
                    progress_->TakeResponse(message);
                }
                break;
            case RpcMessage::Kind::Request:
                Answer(message);
                break;
            case RpcMessage::Kind::Notification:
                Take(message);
                break;
        }
    }

    void Answer(const RpcMessage& request) {
        const std::string& method = request.method;
        if (method == "initialize" && !progress_) {
            Send(RpcResult(request.id, Initialize(request.params)));
        } else if (!progress_) {
            Send(RpcErrorReply(request.id, RpcError::ServerNotInitialized,
                               "The server has not been initialized"));
        } else if (method == "initialize" || shutDown_) {
            Send(RpcErrorReply(request.id, RpcError::InvalidRequest,
                               shutDown_ ? "The server has been shut down"
                                         : "The server has been initialized already"));
        } else if (method == "shutdown") {
            shutDown_ = true;
            builds_->Close();
            Send(RpcResult(request.id, nullptr));
        } else {
            Send(RpcErrorReply(request.id, RpcError::MethodNotFound, "No method " + method));
        }
    }

    // Notifications get no answer, not even for a method the server lacks.
    void Take(const RpcMessage& notification) {
        const std::string& method = notification.method;
        const Json& params = notification.params;
        if (method == "exit") {
            exit_ = true;
        } else if (!progress_ || shutDown_) {
            return;
        } else if (method == "textDocument/didOpen" || method == "textDocument/didSave") {
            RequestBuild(Member(params, {"textDocument", "uri"}));
        } else if (method == "textDocument/didClose") {
            if (const std::optional<std::string> path =
                    BasicPath(Member(params, {"textDocument", "uri"}))) {
                builds_->Forget(text_.pathKey(*path));
            }
        } else if (method == "workspace/didChangeConfiguration") {
            Configure(Member(params, {"settings"}));
        }
    }

    Json Initialize(const Json& params) {
        const bool offered = Member(params, {"capabilities", "window", "workDoneProgress"}) == true;
        progress_ = std::make_unique<BuildProgress>([this](const std::string& body) { Send(body); },
                                                    offered);
        Configure(Member(params, {"initializationOptions"}));
        const Json& processId = Member(params, {"processId"});
        if (processId.is_number_integer() && system_.watchClient) {
            // The queue, not the server: the client's end may be seen as the
            // server itself ends.
            system_.watchClient(processId.get<long long>(),
                                [builds = builds_] { builds->Close(); });
        }
        return {{"capabilities",
                 {{"textDocumentSync",
                   {{"openClose", true}, {"change", 0}, {"save", {{"includeText", false}}}}}}},
                {"serverInfo", {{"name", "ktvbuild"}}}};
    }

    void Configure(const Json& settings) {
        std::vector<std::string> problems;
        {
            const std::lock_guard<std::mutex> lock(state_);
            problems = ApplyClientSettings(settings, overrides_, text_);
        }
        for (const std::string& problem : problems) {
            ShowMessage(MessageType::Error, problem);
        }
    }

    // The Basic file a document's URI names; nothing for another file, or a
    // URI that names no file (said why, when it is a file URI).
    std::optional<std::string> BasicPath(const Json& uri) {
        const std::optional<UriPath> path =
            uri.is_string() ? PathFromUri(uri.get<std::string>(), text_) : std::nullopt;
        if (path && !path->error.empty()) {
            ShowMessage(MessageType::Error, path->error);
        }
        if (!path || !path->error.empty() || !IsBasicFile(path->path)) {
            return std::nullopt;
        }
        return path->path;
    }

    void RequestBuild(const Json& uri) {
        const std::optional<std::string> path = BasicPath(uri);
        if (!path) {
            return;
        }
        const std::string key = text_.pathKey(*path);
        {
            const std::lock_guard<std::mutex> lock(state_);
            clientUris_[key] = uri.get<std::string>();
        }
        builds_->Request(key, *path);
    }

    // On the queue's thread.
    void Build(const std::string& path, RunControl& run) {
        const std::string key = text_.pathKey(path);
        BuildArguments arguments;
        std::string basicUri;
        {
            const std::lock_guard<std::mutex> lock(state_);
            arguments = overrides_;
            basicUri = clientUris_[key];
        }
        arguments.basicFile = path;
        progress_->Begin("Building " + text_.utf8FromAnsi(GetFileName(path)));
        run.SetStepObserver([this](const std::string& step) {
            if (!step.empty()) {
                progress_->Step(text_.utf8FromAnsi(step) + "\u2026");
            }
        });
        const BuildOutcome outcome = RunCollectedBuild(arguments, system_.platform, run);
        if (outcome.stopped) {
            progress_->End("Stopped");
            return;
        }
        for (const Json& published :
             published_.Replace(key, DiagnosticsByFile(outcome.problems, basicUri, text_))) {
            Send(RpcNotification("textDocument/publishDiagnostics", published));
        }
        if (!outcome.failure.empty()) {
            ShowMessage(MessageType::Error, text_.utf8FromAnsi(WithLineFeeds(outcome.failure)));
        }
        TellAboutMarker(path, key, outcome.marker);
        progress_->End(text_.utf8FromAnsi(!outcome.failure.empty() ? FailureText(outcome.failure)
                                          : !outcome.built.empty()
                                              ? "Built " + outcome.built
                                              : ProblemCountText(outcome.problems)));
    }

    // Once a file: without its $SOURCE line C problems stand in the C file.
    void TellAboutMarker(const std::string& path, const std::string& key, MarkerLine marker) {
        if (marker == MarkerLine::Inserted) {
            ShowMessage(MessageType::Info,
                        text_.utf8FromAnsi("Added the $SOURCE line to " + path +
                                           ": C problems now point at Basic lines."));
        } else if (marker == MarkerLine::Missing && toldNoMarker_.insert(key).second) {
            ShowMessage(MessageType::Info,
                        text_.utf8FromAnsi(
                            GetFileName(path) +
                            " has no $SOURCE line, so C problems point into the C file. For "
                            "Basic lines, add $SOURCE as its first line, or set insertMarker "
                            "to true to have it added."));
        }
    }

    ByteSink& out_;
    LanguageServerSystem& system_;
    const TextConversions& text_;
    std::mutex sending_;
    std::mutex state_;  // the overrides and the client's URIs, which both threads use
    BuildArguments overrides_;
    std::map<std::string, std::string> clientUris_;
    std::unique_ptr<BuildProgress> progress_;  // made by initialize: none before
    PublishedDiagnostics published_;           // the builds' own
    std::set<std::string> toldNoMarker_;       // the builds' own
    bool shutDown_ = false;
    bool exit_ = false;
    std::shared_ptr<BuildQueue> builds_ = std::make_shared<BuildQueue>(
        [this](const std::string& path, RunControl& run) { Build(path, run); });
};

}  // namespace

int ServeLanguageClient(ByteSource& in, ByteSink& out, LanguageServerSystem& system,
                        const BuildArguments& options) {
    LanguageServer server(out, system, options);
    return server.Serve(in);
}

}  // namespace ktv
