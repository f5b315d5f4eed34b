// The capture window's core: captured bytes turned into edit-box text, the
// session that reads them on its own thread and wakes the window, and the
// line index the window's box draws from.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <tuple>

#include "console/CaptureSession.h"
#include "console/CaptureText.h"
#include "console/OutputLines.h"
#include "text/Errors.h"

namespace ktv {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

TEST(CaptureText, EveryLineEndBecomesOneCrLfAndZeroBytesGo) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"a\r\nb\r\n"}, "a\r\nb\r\n"},
        {{"a\nb\n"}, "a\r\nb\r\n"},
        {{"a\rb\r"}, "a\r\nb\r\n"},
        {{"\n\r"}, "\r\n\r\n"},
        // CR CR LF, what a text-mode stream makes of CR LF, is one line end;
        // CR CR followed by text is two.
        {{"a\r\r\nb"}, "a\r\nb"},
        {{"a\r", "\r", "\nb"}, "a\r\nb"},
        {{"a\r\rb"}, "a\r\n\r\nb"},
        {{"a\r\r\r\nb"}, "a\r\n\r\nb"},
        {{"a\r\r"}, "a\r\n\r\n"},
        {{"ab\0cd"s, "ef"}, "abcdef"},
        {{"a\r", "\0\nb"s}, "a\r\nb"},
        {{"a", "\nb"}, "a\r\nb"},
        {{"a\r\n", "\nb"}, "a\r\n\r\nb"}};
    for (const auto& [pieces, shown] : cases) {
        CaptureText converter;
        std::string text;
        for (const std::string& piece : pieces) {
            text += converter.Convert(piece);
        }
        EXPECT_EQ(text + converter.Finish(), shown) << ::testing::PrintToString(pieces);
    }
    CaptureText progress;  // a line ended by CR shows at once
    EXPECT_EQ(progress.Convert("50%\r"), "50%\r\n");
    EXPECT_EQ(progress.Convert("\ndone"), "done");
}

// A captured program whose reads a test scripts; after the last one its
// output ends, or with holdOpen stays open until Stop.
class FakeCapture : public ProcessCapture {
public:
    struct Program : CapturedProcess {
        explicit Program(FakeCapture& f) : fake(f) {}
        bool ReadChunk(std::string& chunk) override {
            if (next < fake.reads.size()) {
                chunk = fake.reads[next++];
                return true;
            }
            std::unique_lock lock(fake.mutex);
            fake.stopped.wait(lock, [&] { return !fake.holdOpen || fake.stops > 0; });
            return false;
        }
        void Stop() override {
            std::lock_guard lock(fake.mutex);
            ++fake.stops;
            fake.stopped.notify_all();
        }
        FakeCapture& fake;
        std::size_t next = 0;
    };

    std::unique_ptr<CapturedProcess> StartCaptured(const std::string& commandLine) override {
        if (failStart) {
            throw StartFailed("Cannot start " + commandLine);
        }
        return std::make_unique<Program>(*this);
    }

    std::vector<std::string> reads;
    bool holdOpen = false;
    bool failStart = false;
    int stops = 0;
    std::mutex mutex;
    std::condition_variable stopped;
};

TEST(CaptureSession, ShowsEveryReadConvertedInOrderUntilTheEnd) {
    FakeCapture capture;
    capture.reads = {"first\n", "se\0cond\r"s, "\nthird\r\r\n", std::string(1023, 'x'),
                     "\0"s,     "\r\r"};
    std::atomic<int> wakes = 0;
    CaptureSession session(capture, "prog.exe", [&] { ++wakes; });
    std::string shown;
    for (auto deadline = std::chrono::steady_clock::now() + 5s;
         std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(1ms)) {
        const CaptureUpdate update = session.TakeUpdate();
        shown += update.text;
        if (update.ended) {
            break;
        }
    }
    EXPECT_EQ(shown, "first\r\nsecond\r\nthird\r\n" + std::string(1023, 'x') + "\r\n\r\n");
    EXPECT_GE(wakes, 1);
    EXPECT_EQ(capture.stops, 0);  // an ended program is not stopped

    FakeCapture failing;
    failing.failStart = true;
    EXPECT_THROW(CaptureSession(failing, "missing.exe", [&] { ++wakes; }), StartFailed);
}

TEST(CaptureSession, OneWakeWaitsForItsAnswerAndClosingStopsTheProgramPromptly) {
    FakeCapture capture;
    capture.reads = {"a", "b", "c"};
    capture.holdOpen = true;
    std::atomic<int> wakes = 0;
    const auto start = std::chrono::steady_clock::now();
    {
        CaptureSession session(capture, "server.exe", [&] { ++wakes; });
        // The reads arrive while the first wake is unanswered: one wake, one
        // update that carries them all.
        std::this_thread::sleep_for(200ms);
        EXPECT_EQ(wakes, 1);
        const CaptureUpdate update = session.TakeUpdate();
        EXPECT_EQ(update.text, "abc");
        EXPECT_FALSE(update.ended);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 200ms + CaptureSession::kStopWait);
    EXPECT_EQ(capture.stops, 1);
}

std::vector<std::string> LinesOf(const OutputLines& lines) {
    std::vector<std::string> texts;
    for (std::size_t line = 0; line < lines.LineCount(); ++line) {
        texts.push_back(lines.Text().substr(lines.LineStart(line),
                                            lines.LineEnd(line) - lines.LineStart(line)));
    }
    return texts;
}

TEST(OutputLines, LinesEndAtCrLfWhereverTheAppendsSplitThem) {
    using Lines = std::vector<std::string>;
    const std::pair<std::vector<std::string>, Lines> cases[] = {
        {{}, {""}},
        {{"ab"}, {"ab"}},
        {{"ab\r\n"}, {"ab", ""}},
        {{"a\r\nb", "c\r", "\nd"}, {"a", "bc", "d"}},
        {{"a\r", "\r\n"}, {"a\r", ""}},  // only CR LF ends a line
        {{"a\nb\rc"}, {"a\nb\rc"}},
    };
    for (const auto& [appends, expected] : cases) {
        OutputLines lines;
        for (const std::string& text : appends) {
            lines.Append(text);
        }
        EXPECT_EQ(LinesOf(lines), expected) << ::testing::PrintToString(appends);
    }
    OutputLines lines;
    lines.Append("one\r\ntwo\r\n\tx\r\n");
    EXPECT_EQ(lines.LineOf(0), 0u);
    EXPECT_EQ(lines.LineOf(5), 1u);
    EXPECT_EQ(lines.LineOf(lines.Size()), 3u);
    EXPECT_EQ(lines.WidestLine(), 9u);  // tab to column 8, then x
    lines.Clear();
    EXPECT_EQ(LinesOf(lines), Lines{""});
    EXPECT_EQ(lines.WidestLine(), 0u);
}

TEST(OutputLines, ColumnsCountTabsToTheNextStopAndPositionsSkipLineEnds) {
    OutputLines lines;
    lines.Append("ab\tc\r\n\r\nxy z");  // lines 0: "ab<tab>c", 1: "", 2: "xy z"
    const std::pair<std::size_t, std::size_t> columnOf[] = {{0, 0}, {2, 2}, {3, 8}, {4, 9}};
    for (const auto& [position, column] : columnOf) {
        EXPECT_EQ(lines.ColumnOf(position), column) << position;
    }
    // Line, column -> position: inside a tab to its nearer side, past the end to the end.
    const std::tuple<std::size_t, std::size_t, std::size_t> positionAt[] = {
        {0, 4, 2}, {0, 6, 3}, {0, 8, 3}, {0, 40, 4}, {1, 3, 6}, {2, 1, 9}};
    for (const auto& [line, column, position] : positionAt) {
        EXPECT_EQ(lines.PositionAt(line, column), position) << line << "," << column;
    }
    EXPECT_EQ(lines.Columns(0, 1, 4), "b   ");
    EXPECT_EQ(lines.Columns(0, 7, 10), " c");
    EXPECT_EQ(lines.Columns(2, 1, 2), "y ");
    EXPECT_EQ(lines.Columns(2, 9, 2), "");
    // A line end is one step; the text's ends stay put.
    EXPECT_EQ(lines.Next(4), 6u);
    EXPECT_EQ(lines.Previous(6), 4u);
    EXPECT_EQ(lines.Previous(0), 0u);
    EXPECT_EQ(lines.Next(lines.Size()), lines.Size());
    EXPECT_EQ(lines.Valid(5), 4u);  // between CR and LF
    EXPECT_EQ(lines.Valid(99), lines.Size());
    EXPECT_EQ(lines.WordAround(9), std::make_pair(std::size_t{8}, std::size_t{10}));
    EXPECT_EQ(lines.WordAround(10), std::make_pair(std::size_t{10}, std::size_t{11}));
    EXPECT_EQ(lines.WordAround(12), std::make_pair(std::size_t{11}, std::size_t{12}));
}

}  // namespace
}  // namespace ktv
