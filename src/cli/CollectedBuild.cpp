#include "cli/CollectedBuild.h"

#include <exception>

#include "debug/ToolChain.h"

namespace ktv {
namespace {

class CollectingHost : public WindowlessHost {
public:
    CollectingHost(FileSystem& files, bool insertMarker, BuildOutcome& outcome)
        : files_(files), insertMarker_(insertMarker), outcome_(outcome) {}

private:
    bool CheckMarker(const std::string& basicPath) override {
        try {
            outcome_.marker = CheckMarkerLine(files_, basicPath, insertMarker_);
            return true;
        } catch (const std::exception& e) {
            Failed(e.what());
            return false;
        }
    }
    // After the compiler, the list holds the translator's problems too.
    void ReportProblems(const RunProblems& problems, bool) override {
        outcome_.problems = problems;
    }
    void Failed(std::string_view text) override { outcome_.failure = text; }
    void Stopped() override { outcome_.stopped = true; }
    void Built(const std::string& outputPath, bool) override { outcome_.built = outputPath; }

    FileSystem& files_;
    bool insertMarker_;
    BuildOutcome& outcome_;
};

}  // namespace

BuildOutcome RunCollectedBuild(const BuildArguments& arguments, Platform& platform,
                               RunControl& run) {
    BuildOutcome outcome;
    DebugOptions options;
    try {
        options = BuildOptions(arguments, platform);
    } catch (const std::exception& e) {
        outcome.failure = e.what();
        return outcome;
    }
    BuildNames names;
    DebugContext context{options, names, platform, 0, run};
    CollectingHost host(platform.files, arguments.insertMarker, outcome);
    RunToolChain(context, host);
    return outcome;
}

}  // namespace ktv
