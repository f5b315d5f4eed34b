#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/CaptureText.h"
#include "console/CommandArguments.h"

namespace ktv {
namespace {

using namespace std::string_literals;

std::string ConvertAll(const std::vector<std::string>& pieces) {
    CaptureText converter;
    std::string text;
    for (const std::string& piece : pieces) {
        text += converter.Convert(piece);
    }
    return text + converter.Finish();
}

TEST(CaptureText, TurnsEveryLineEndIntoCrLfAndDropsZeroBytes) {
    const struct {
        std::vector<std::string> pieces;
        std::string shown;
    } cases[] = {
        {{}, ""},
        {{"plain"}, "plain"},
        {{"a\r\nb\r\n"}, "a\r\nb\r\n"},
        {{"a\nb\n"}, "a\r\nb\r\n"},
        {{"a\rb\r"}, "a\r\nb\r\n"},
        {{"\n\n"}, "\r\n\r\n"},
        // CR CR LF, what a text-mode stream makes of CR LF, is one line end;
        // CR CR followed by text is two.
        {{"a\r\r\nb"}, "a\r\nb"},
        {{"a\r", "\r", "\nb"}, "a\r\nb"},
        {{"a\r\rb"}, "a\r\n\r\nb"},
        {{"a\r\r\r\nb"}, "a\r\n\r\nb"},
        {{"a\r\r"}, "a\r\n\r\n"},
        {{"\n\r"}, "\r\n\r\n"},
        // A zero byte is dropped; the rest of the piece and the next piece stay.
        {{"ab\0cd"s, "ef"}, "abcdef"},
        {{"\0\0"s, "x"}, "x"},
        {{"\0"s}, ""},
        // CR LF split between pieces is one line end, also with a zero between.
        {{"a\r", "\nb"}, "a\r\nb"},
        {{"a\r", "\0\nb"s}, "a\r\nb"},
        {{"a\r", "", "\nb"}, "a\r\nb"},
        // An LF at the start of a piece after a piece that did not end in CR.
        {{"a", "\nb"}, "a\r\nb"},
        {{"a\r\n", "\nb"}, "a\r\n\r\nb"},
    };
    for (const auto& [pieces, shown] : cases) {
        EXPECT_EQ(ConvertAll(pieces), shown) << testing::PrintToString(pieces);
    }
}

TEST(CaptureText, EachPieceIsShownWhollyWithoutWaitingForTheNext) {
    CaptureText converter;
    EXPECT_EQ(converter.Convert("progress 50%\r"), "progress 50%\r\n");
    EXPECT_EQ(converter.Convert("progress 100%\r"), "progress 100%\r\n");
    EXPECT_EQ(converter.Convert("\ndone"), "done");
}

TEST(CommandArguments, AreTheTextAfterTheProgramNameAsWritten) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"KTVCapture.exe", ""},
        {"KTVCapture.exe   ", ""},
        {"KTVCapture.exe cmd /c dir", "cmd /c dir"},
        {"KTVCapture.exe \t prog.exe  a   \"b c\"  ", "prog.exe  a   \"b c\"  "},
        {"\"c:\\my tools\\KTVCapture.exe\" x.exe", "x.exe"},
        {"\"c:\\my tools\\KTVCapture.exe\"x.exe y", "y"},
        {"c:\\a\" b\"\\KTVCapture.exe run", "run"},
        {"\"unclosed quote x.exe", ""},
    };
    for (const auto& [commandLine, arguments] : cases) {
        EXPECT_EQ(ArgumentsAfterProgramName(commandLine), arguments) << commandLine;
    }
}

}  // namespace
}  // namespace ktv
