// The capture window's core: captured bytes turned into edit-box text, the
// session that reads them on its own thread and wakes the window, and the
// line index the window's box draws from.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <tuple>

#include "console/CaptureSession.h"
#include "console/CaptureText.h"
#include "console/OutputLines.h"
#include "text/CodePage.h"

namespace ktv {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

// A double-byte ANSI code page by its published lead-byte ranges (on Windows
// the view asks the system); any other has one byte per character.
CodePage AnsiCodePage(unsigned number) {
    std::array<bool, 256> lead{};
    const auto mark = [&](std::size_t first, std::size_t last) {
        std::fill(lead.begin() + static_cast<std::ptrdiff_t>(first),
                  lead.begin() + static_cast<std::ptrdiff_t>(last) + 1, true);
    };
    if (number == 932) {
        mark(0x81, 0x9F);
        mark(0xE0, 0xFC);
    } else if (number == 936 || number == 949 || number == 950) {
        mark(0x81, 0xFE);
    }
    return CodePage(lead);
}

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

// A captured program whose reads a test scripts; after the last one it stays
// open until Stop.
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
            fake.stopped.wait(lock, [&] { return fake.stops > 0; });
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

    std::unique_ptr<CapturedProcess> StartCaptured(const std::string&) override {
        return std::make_unique<Program>(*this);
    }

    std::vector<std::string> reads;
    int stops = 0;
    std::mutex mutex;
    std::condition_variable stopped;
};

TEST(CaptureSession, OneWakeWaitsForItsAnswerAndClosingStopsTheProgramPromptly) {
    FakeCapture capture;
    capture.reads = {"a", "b", "c"};
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

std::vector<std::string> RowsOf(const OutputLines& lines) {
    std::vector<std::string> texts;
    for (std::size_t row = 0; row < lines.RowCount(); ++row) {
        texts.push_back(
            lines.Text().substr(lines.RowStart(row), lines.RowEnd(row) - lines.RowStart(row)));
    }
    return texts;
}

TEST(OutputLines, ColumnsCountTabsToTheNextStopAndPositionsSkipLineEnds) {
    OutputLines lines;
    lines.Append("ab\tc\r\n\r\nxy z");  // lines 0: "ab<tab>c", 1: "", 2: "xy z"
    const std::pair<std::size_t, std::size_t> columnIn[] = {{0, 0}, {2, 2}, {3, 8}, {4, 9}};
    for (const auto& [position, column] : columnIn) {
        EXPECT_EQ(lines.ColumnIn(0, position), column) << position;
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
    // A line end is one step, for characters and words; the text's ends stay put.
    using Steps = std::vector<std::size_t>;
    const auto walk = [&](auto step, std::size_t from) {
        Steps reached{from};
        for (std::size_t next = step(from); next != reached.back(); next = step(next)) {
            reached.push_back(next);
        }
        return reached;
    };
    EXPECT_EQ(walk([&](std::size_t p) { return lines.Next(p); }, 2),
              (Steps{2, 3, 4, 6, 8, 9, 10, 11, 12}));
    EXPECT_EQ(walk([&](std::size_t p) { return lines.Previous(p); }, 8),
              (Steps{8, 6, 4, 3, 2, 1, 0}));
    EXPECT_EQ(walk([&](std::size_t p) { return lines.NextWord(p); }, 0),
              (Steps{0, 3, 4, 6, 8, 11, 12}));
    EXPECT_EQ(walk([&](std::size_t p) { return lines.PreviousWord(p); }, 12),
              (Steps{12, 11, 8, 6, 4, 3, 0}));
    EXPECT_EQ(lines.Valid(5), 4u);  // between CR and LF
    EXPECT_EQ(lines.Valid(99), lines.Size());
    EXPECT_EQ(lines.WordAround(9), std::make_pair(std::size_t{8}, std::size_t{10}));
    EXPECT_EQ(lines.WordAround(10), std::make_pair(std::size_t{10}, std::size_t{11}));
    EXPECT_EQ(lines.WordAround(12), std::make_pair(std::size_t{11}, std::size_t{12}));
    EXPECT_EQ(lines.WidestLine(), 9u);  // tab to column 8, then c
    lines.Clear();
    EXPECT_EQ(RowsOf(lines), std::vector<std::string>{""});
    EXPECT_EQ(lines.WidestLine(), 0u);
}

// Rows wrapped at a width (0: one row per line), from the text in one append
// and byte by byte; an append reports the first row it changed.
struct WrapCase {
    unsigned codePage;
    std::string text;
    std::size_t width;
    std::vector<std::string> rows;
};

TEST(OutputLines, LinesEndAtCrLfAndWrapAfterABlankElseAnywhereButNeverInsideACharacter) {
    // ソ (83 5C) ends in a backslash and 中 (D6 D0) in a lead byte's value.
    const WrapCase cases[] = {
        {1252, "", 0, {""}},
        {1252, "a\r\nbc\r\n", 0, {"a", "bc", ""}},
        {1252, "a\r\r\n", 0, {"a\r", ""}},  // only CR LF ends a line
        {1252, "a\nb\rc", 0, {"a\nb\rc"}},
        {1252, "one two three\r\nfour", 8, {"one two ", "three", "four"}},
        {1252, "abcdefghij\r\n\r\nabcd\r\nx", 4, {"abcd", "efgh", "ij", "", "abcd", "x"}},
        {1252, "abc   def", 4, {"abc  ", " def"}},  // one blank hangs past the edge
        {1252, "\tx\r\n", 4, {"\t", "x", ""}},
        {1252, "\nx", 1, {"\n", "x"}},  // a lone LF is a character of its line
        {932, "x\x83\x5C\x93\xFA \x96\x7B", 3, {"x\x83\x5C", "\x93\xFA ", "\x96\x7B"}},
        {936, "\xD6\xD0\xD6\xD0\xD6\xD0z", 3, {"\xD6\xD0", "\xD6\xD0", "\xD6\xD0z"}},
        {936, "\xD6\xD0", 1, {"\xD6\xD0"}},  // wider than the row: a row of its own
    };
    for (const WrapCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text));
        OutputLines whole(AnsiCodePage(c.codePage));
        whole.WrapAt(c.width);
        whole.Append(c.text);
        EXPECT_EQ(RowsOf(whole), c.rows);
        OutputLines pieces(AnsiCodePage(c.codePage));
        pieces.WrapAt(c.width);
        for (const char byte : c.text) {
            const std::vector<std::string> before = RowsOf(pieces);
            const std::size_t changed = pieces.Append(std::string(1, byte));
            const std::vector<std::string> after = RowsOf(pieces);
            ASSERT_LE(changed, before.size());
            EXPECT_TRUE(std::equal(before.begin(), before.begin() + changed, after.begin()));
        }
        EXPECT_EQ(RowsOf(pieces), c.rows);
        pieces.WrapAt(0);
        EXPECT_EQ(pieces.RowCount(), pieces.LineCount());
    }
    // A caret stays in its row: past a wrapped row's end it stands before its last character.
    OutputLines lines;
    lines.WrapAt(8);
    lines.Append("one two three");
    EXPECT_EQ(lines.RowOf(8), 1u);
    EXPECT_EQ(lines.ColumnIn(1, 10), 2u);
    EXPECT_EQ(lines.PositionAt(0, 40), 7u);
    EXPECT_EQ(lines.PositionAt(1, 40), 13u);
}

TEST(OutputLines, DoubleByteCharactersAreSteppedShownAndSelectedWhole) {
    // A lead byte before a blank, or at the end, is a broken character of its own.
    const std::tuple<unsigned, std::string, std::vector<std::size_t>> cases[] = {
        {932, "x\x83\x5C\x93\xFA \x96\x7B", {0, 1, 3, 5, 6, 8}},
        {936, "\xD6\xD0\xCE\xC4\xD6 a\xD6", {0, 2, 4, 5, 6, 7, 8}}};
    for (const auto& [codePage, text, starts] : cases) {
        SCOPED_TRACE(codePage);
        OutputLines lines(AnsiCodePage(codePage));
        lines.Append(text);
        std::vector<std::size_t> forward{0};
        std::vector<std::size_t> backward{lines.Size()};
        while (forward.back() < lines.Size()) {
            forward.push_back(lines.Next(forward.back()));
            backward.insert(backward.begin(), lines.Previous(backward.front()));
        }
        EXPECT_EQ(forward, starts);
        EXPECT_EQ(backward, starts);
        for (std::size_t position = 0; position <= lines.Size(); ++position) {
            // Inside a character: to its start, whether given or pointed at.
            const std::size_t start =
                *(std::upper_bound(starts.begin(), starts.end(), position) - 1);
            EXPECT_EQ(lines.Valid(position), start) << position;
            EXPECT_EQ(lines.PositionAt(0, position), start) << position;
        }
    }
    OutputLines lines(AnsiCodePage(932));
    lines.Append("x\x83\x5C\x93\xFA \x96\x7B");
    EXPECT_EQ(lines.Columns(0, 2, 4), " \x93\xFA ");  // the cut halves show blank
    EXPECT_EQ(lines.Columns(0, 0, 2), "x ");
    EXPECT_EQ(lines.WordAround(4), std::make_pair(std::size_t{0}, std::size_t{5}));
    EXPECT_EQ(lines.NextWord(0), 6u);
}

}  // namespace
}  // namespace ktv
