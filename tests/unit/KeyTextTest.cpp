#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "platform/KeyText.h"

namespace ktv {
namespace {

std::string Describe(std::string_view text) {
    std::string out;
    for (const KeyStroke& stroke : ParseKeyText(text)) {
        out += (out.empty() ? "" : ",") + DescribeKeyStroke(stroke);
    }
    return out;
}

TEST(KeyText, ParsesTheKeysTheProgramSends) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"^g", "Ctrl+G"},
        {" 12", "Space,1,2"},
        {"{ENTER}", "Enter"},
        {"{HOME}", "Home"},
        {"+{END}", "Shift+End"},
        {"{F5}", "F5"},
        {"{F9}", "F9"},
        {"~", "Enter"},
        {"%{F4}", "Alt+F4"},
        {"^+a", "Ctrl+Shift+A"},
        {"+(ab)c", "Shift+A,Shift+B,c"},
        {"{enter}", "Enter"},
        {"{LEFT 3}", "Left,Left,Left"},
        {"{+}{^}{%}{~}{(}{)}{{}{}}", "+,^,%,~,(,),{,}"},
        {"", ""},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Describe(text), expected) << text;
    }
}

TEST(KeyText, RejectsMalformedText) {
    for (std::string_view text : {"^", "{ENTER", "ENTER}", "{NOPE}", "(ab", "a)", "()", "{LEFT x}",
                                  "{LEFT -1}", "{LEFT 100000}", "{}"}) {
        EXPECT_THROW(ParseKeyText(text), InvalidArgument) << text;
    }
}

}  // namespace
}  // namespace ktv
