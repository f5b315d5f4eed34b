#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "DebugRunFixture.h"
#include "build/PostBuild.h"
#include "main/Settings.h"

namespace ktv {
namespace {

using Lines = std::vector<std::string>;
using fakes::FsOp;
using fakes::FsStep;

// Every rewrite and deletion the program makes on the user's disk, each made
// to fail at every step it takes. Whatever step fails, the user's file is
// whole, no temporary file is left, and the user is told what the program
// tells for that failure (or nothing, where the failure is meant to pass
// unseen).

enum class Rewrite { BasicMarker, WeditProjects, SettingsFile, IntermediateFiles };

const char* NameOf(Rewrite rewrite) {
    switch (rewrite) {
        case Rewrite::BasicMarker:
            return "Basic file marker";
        case Rewrite::WeditProjects:
            return "Wedit project list";
        case Rewrite::SettingsFile:
            return "settings file";
        case Rewrite::IntermediateFiles:
            return "intermediate files";
    }
    return "?";
}

constexpr const char* kBasic = "c:\\work\\prog.bas";
constexpr const char* kBasicKey = "c:\\work\\prog.bas";
// No marker line: the tab keeps the last but one line from counting as one.
constexpr const char* kBasicBefore = "  PRINT \"Hello\"\r\nx = 1 \r\t$SOURCE later\r\nEND";
constexpr const char* kBasicAfter =
    "$SOURCE     '  Inserted by KTV Debugger\r\n  PRINT \"Hello\"\r\nx = 1 \r\n\t$SOURCE "
    "later\r\nEND\r\n";
constexpr const char* kModifiedPrompt =
    "KTV Debugger is about to modify your basic file\r\nso it will output debug information. "
    "\r\n\r\nPlease run Debug again, after JFE activates\r\n\r\nIf JFE asks you to reload the "
    "file, click yes";

constexpr const char* kProjects = "c:\\lcc\\lib\\projects.ini";
constexpr const char* kProjectsKey = "c:\\lcc\\lib\\projects.ini";
constexpr const char* kProjectsBefore =
    "[Projects]\r\nprog=c:\\work\r\n\r\n\r\nother=c:\\other\r\n";
constexpr const char* kProjectsAfter = "[Projects]\r\nother=c:\\other\r\n";
constexpr const char* kLcc8File = "c:\\work\\lcc8\\prog.obj";
constexpr const char* kLcc8Key = "c:\\work\\lcc8";
constexpr const char* kSuccess =
    "Application prog.bas has been compiled succesfully\r\n\r\nThere were no detected errors \r\n";
constexpr const char* kWeditPrompt =
    "After clicking OK:\r\nWait for file to build (check bottom of Wedit) then press F5 to "
    "activate wedit debugger\r\n\r\nOnce the debugger is active, use the debug menu";
constexpr const char* kLcc8Failure =
    "Error: Could not open Wedit: Could not delete the folder c:\\work\\lcc8 that Wedit builds "
    "in: Injected failure on c:\\work\\lcc8";
constexpr const char* kProjectsFailure =
    "Error: Could not open Wedit: Could not remove the project prog from Wedit's project list: "
    "Could not write c:\\lcc\\lib\\projects.ini: Injected failure on c:\\lcc\\lib\\projects.ini";

constexpr const char* kSettings = "c:\\KTVDebugger\\KTVDebug.cfg";
constexpr const char* kSettingsKey = "c:\\ktvdebugger\\ktvdebug.cfg";
constexpr const char* kSettingsBefore = "lccpath=d:\\old\r\nktvpath=d:\\ktv\r\n";
constexpr const char* kSettingsAfter =
    "lccpath=c:\\lcc\r\nktvpath=c:\\ktv\r\nbasicpath=c:\\work\\prog.bas\r\njfe=1\r\nccon=0\r\n"
    "notepad=0\r\nlibs=\r\ngui=False\r\ndll=False\r\ncon=True\r\ncmd=\r\ncwarn=0\r\nrun=0\r\n"
    "lccdeb=0\r\n";
// The user's folder is missing too, so neither place can be written.
constexpr const char* kSettingsFailure =
    "Error: Could not save the settings to c:\\KTVDebugger\\KTVDebug.cfg: Injected failure on "
    "c:\\ktvdebugger\\ktvdebug.cfg\r\nnor to c:\\users\\me\\AppData\\Roaming\\KTV "
    "Debugger\\KTVDebug.cfg: Path not found: c:\\users\\me\\AppData\\Roaming\\KTV Debugger";

const Lines kIntermediate{"c:\\work\\lcc.err", "c:\\work\\ktv.err", "c:\\work\\prog.obj",
                          "c:\\work\\prog.res"};

// What a path holds afterwards: its content, or nothing when it must be gone.
using Expected = std::map<std::string, std::optional<std::string>>;

struct Row {
    Rewrite rewrite;
    std::optional<FsStep> fault;  // nothing: the clean run the faults are set against
    Lines boxes;                  // every box prompt of the run, in order
    Expected files;
};

Expected IntermediateLeft(const std::string& kept) {
    Expected expected;
    for (const std::string& path : kIntermediate) {
        expected[path] = path == kept ? std::optional<std::string>("from the tools") : std::nullopt;
    }
    return expected;
}

const std::vector<Row>& Table() {
    static const std::vector<Row> rows{
        {Rewrite::BasicMarker, std::nullopt, {kModifiedPrompt}, {{kBasic, kBasicAfter}}},
        {Rewrite::BasicMarker,
         FsStep{FsOp::CreateTemporary, kBasicKey},
         {kModifiedPrompt, "Error: Bad Basic Filename"},
         {{kBasic, kBasicBefore}}},
        {Rewrite::BasicMarker,
         FsStep{FsOp::WriteTemporary, kBasicKey},
         {kModifiedPrompt, "Error: Bad Basic Filename"},
         {{kBasic, kBasicBefore}}},
        {Rewrite::BasicMarker,
         FsStep{FsOp::Replace, kBasicKey},
         {kModifiedPrompt, "Error: Bad Basic Filename"},
         {{kBasic, kBasicBefore}}},

        {Rewrite::WeditProjects,
         std::nullopt,
         {kSuccess, kWeditPrompt},
         {{kProjects, kProjectsAfter}, {kLcc8File, std::nullopt}}},
        {Rewrite::WeditProjects,
         FsStep{FsOp::DeleteFolder, kLcc8Key},
         {kSuccess, kLcc8Failure},
         {{kProjects, kProjectsBefore}, {kLcc8File, "old build"}}},
        {Rewrite::WeditProjects,
         FsStep{FsOp::CreateTemporary, kProjectsKey},
         {kSuccess, kProjectsFailure},
         {{kProjects, kProjectsBefore}, {kLcc8File, std::nullopt}}},
        {Rewrite::WeditProjects,
         FsStep{FsOp::WriteTemporary, kProjectsKey},
         {kSuccess, kProjectsFailure},
         {{kProjects, kProjectsBefore}, {kLcc8File, std::nullopt}}},
        {Rewrite::WeditProjects,
         FsStep{FsOp::Replace, kProjectsKey},
         {kSuccess, kProjectsFailure},
         {{kProjects, kProjectsBefore}, {kLcc8File, std::nullopt}}},

        {Rewrite::SettingsFile, std::nullopt, {}, {{kSettings, kSettingsAfter}}},
        {Rewrite::SettingsFile,
         FsStep{FsOp::CreateTemporary, kSettingsKey},
         {kSettingsFailure},
         {{kSettings, kSettingsBefore}}},
        {Rewrite::SettingsFile,
         FsStep{FsOp::WriteTemporary, kSettingsKey},
         {kSettingsFailure},
         {{kSettings, kSettingsBefore}}},
        {Rewrite::SettingsFile,
         FsStep{FsOp::Replace, kSettingsKey},
         {kSettingsFailure},
         {{kSettings, kSettingsBefore}}},

        // A file that cannot be deleted now is left for the next run, silently;
        // the ones after it still go.
        {Rewrite::IntermediateFiles, std::nullopt, {}, IntermediateLeft("")},
        {Rewrite::IntermediateFiles,
         FsStep{FsOp::Delete, "c:\\work\\lcc.err"},
         {},
         IntermediateLeft("c:\\work\\lcc.err")},
        {Rewrite::IntermediateFiles,
         FsStep{FsOp::Delete, "c:\\work\\ktv.err"},
         {},
         IntermediateLeft("c:\\work\\ktv.err")},
        {Rewrite::IntermediateFiles,
         FsStep{FsOp::Delete, "c:\\work\\prog.obj"},
         {},
         IntermediateLeft("c:\\work\\prog.obj")},
        {Rewrite::IntermediateFiles,
         FsStep{FsOp::Delete, "c:\\work\\prog.res"},
         {},
         IntermediateLeft("c:\\work\\prog.res")},
    };
    return rows;
}

// Copies the disk steps taken while it lives into `out`, however the code it
// watches ends.
class StepRecorder {
public:
    StepRecorder(const fakes::FakeFileSystem& files, std::vector<FsStep>& out)
        : files_(files), out_(out), mark_(files.StepsTaken().size()) {}
    StepRecorder(const StepRecorder&) = delete;
    StepRecorder& operator=(const StepRecorder&) = delete;
    ~StepRecorder() {
        const auto& steps = files_.StepsTaken();
        out_.assign(steps.begin() + static_cast<std::ptrdiff_t>(mark_), steps.end());
    }

private:
    const fakes::FakeFileSystem& files_;
    std::vector<FsStep>& out_;
    std::size_t mark_;
};

// One machine per case. The Basic file and Wedit cases press Debug, so that
// the box the user sees is the one the build driver gives; the settings and
// intermediate-file cases call their routine as the program's exit and the
// driver's finish step do. `stepsOfRewrite` holds the disk steps the rewrite
// itself took, not those of the fake tools around it.
class Machine {
public:
    explicit Machine(Rewrite rewrite) : rewrite_(rewrite) {
        auto& files = world_.fake.files;
        switch (rewrite) {
            case Rewrite::BasicMarker:
                files.AddFile(kBasic, kBasicBefore);
                world_.routines.insertSourceMarkers = [this](DebugContext& context,
                                                             const std::string& path) {
                    const StepRecorder recorder(world_.fake.files, stepsOfRewrite_);
                    return InsertSourceMarkers(context, path);
                };
                break;
            case Rewrite::WeditProjects:
                files.AddFile(kProjects, kProjectsBefore);
                files.AddFile(kLcc8File, "old build");
                world_.form.Chk_debug.SetState(CheckState::Checked);
                world_.routines.openInWedit = [this](DebugContext& context) {
                    const StepRecorder recorder(world_.fake.files, stepsOfRewrite_);
                    OpenInWedit(context);
                };
                break;
            case Rewrite::SettingsFile:
                files.AddFile(kSettings, kSettingsBefore);
                world_.form.Chk_Jen.SetState(CheckState::Checked);
                break;
            case Rewrite::IntermediateFiles:
                for (const std::string& path : kIntermediate) {
                    files.AddFile(path, "from the tools");
                }
                world_.run = BuildRun{"c:\\work", "prog", "prog.bas"};
                break;
        }
    }

    void Run() {
        before_ = world_.fake.files.AllFiles();
        switch (rewrite_) {
            case Rewrite::BasicMarker:
            case Rewrite::WeditProjects:
                world_.PressDebug();
                break;
            case Rewrite::SettingsFile: {
                const StepRecorder recorder(world_.fake.files, stepsOfRewrite_);
                SaveConfig(world_.form, world_.platform, fixtures::DebugRunWorld::kOwner);
                break;
            }
            case Rewrite::IntermediateFiles: {
                const StepRecorder recorder(world_.fake.files, stepsOfRewrite_);
                DebugContext context{world_.form, world_.run, world_.platform,
                                     fixtures::DebugRunWorld::kOwner};
                RemoveIntermediateFiles(context);
                break;
            }
        }
    }

    // Files there now that were there neither before the run nor written by
    // the fake tools: what a failed rewrite would leave behind.
    Lines NewFiles() const {
        const Lines toolOutput{"c:\\work\\prog.c", "c:\\work\\prog.obj", "c:\\work\\prog.exe"};
        Lines found;
        for (const std::string& path : world_.fake.files.AllFiles()) {
            const bool known =
                std::find(before_.begin(), before_.end(), path) != before_.end() ||
                std::find(toolOutput.begin(), toolOutput.end(), path) != toolOutput.end();
            if (!known) {
                found.push_back(path);
            }
        }
        return found;
    }

    fixtures::DebugRunWorld& World() { return world_; }
    const std::vector<FsStep>& StepsOfRewrite() const { return stepsOfRewrite_; }

private:
    Rewrite rewrite_;
    fixtures::DebugRunWorld world_;
    Lines before_;
    std::vector<FsStep> stepsOfRewrite_;
};

std::string Describe(const Row& row) {
    std::string text = NameOf(row.rewrite);
    text += row.fault ? std::string(", ") + fakes::FsOpName(row.fault->op) + " " + row.fault->path
                      : std::string(", no fault");
    return text;
}

TEST(FaultInjection, EveryStepOfEveryRewriteFailsSafely) {
    for (const Row& row : Table()) {
        SCOPED_TRACE(Describe(row));
        Machine machine(row.rewrite);
        auto& files = machine.World().fake.files;
        if (row.fault) {
            files.FailOn(row.fault->op, row.fault->path);
        }
        machine.Run();

        EXPECT_EQ(files.PendingFailures(), 0u) << "the step never came";
        EXPECT_EQ(machine.World().BoxPrompts(), row.boxes);
        for (const auto& [path, content] : row.files) {
            EXPECT_EQ(files.Content(path), content) << path;
        }
        EXPECT_EQ(machine.NewFiles(), Lines{});
    }
}

// The table leaves no step out: its faults for a rewrite are exactly the
// steps that rewrite takes when nothing fails.
TEST(FaultInjection, TheTableCoversEveryStepOfEveryRewrite) {
    for (const Rewrite rewrite : {Rewrite::BasicMarker, Rewrite::WeditProjects,
                                  Rewrite::SettingsFile, Rewrite::IntermediateFiles}) {
        SCOPED_TRACE(NameOf(rewrite));
        Machine machine(rewrite);
        machine.Run();
        std::vector<FsStep> faults;
        for (const Row& row : Table()) {
            if (row.rewrite == rewrite && row.fault) {
                faults.push_back(*row.fault);
            }
        }
        ASSERT_FALSE(machine.StepsOfRewrite().empty());
        EXPECT_EQ(machine.StepsOfRewrite(), faults);
    }
}

}  // namespace
}  // namespace ktv
