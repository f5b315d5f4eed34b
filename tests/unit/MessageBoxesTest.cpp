#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "diagnostics/MessageBoxes.h"

namespace ktv {
namespace {

TEST(MessageBoxes, EachBoxShowsItsPrefixIconAndTheErrorTitle) {
    fakes::FakePlatform fake;
    ErrorBox(fake.desktop, 0, "Bad Basic Filename");
    BasicErrorBox(fake.desktop, 0, "Syntax error 12");
    CWarningBox(fake.desktop, 0, " unused x");
    CErrorBox(fake.desktop, 0, "");
    ErrorBox(fake.desktop, 0, "Error: Could not Compile with LCC");
    ErrorBox(fake.desktop, 0, "a\r\nb");
    EXPECT_EQ(fake.transcript.Entries(),
              (std::vector<std::string>{
                  "box[48|Error!]: Error: Bad Basic Filename",
                  "box[64|Error!]: Basic Error: Syntax error 12",
                  "box[64|Error!]: C Warning:  unused x",
                  "box[64|Error!]: C Error: ",
                  "box[48|Error!]: Error: Error: Could not Compile with LCC",
                  "box[48|Error!]: Error: a\r\nb",
              }));
}

TEST(MessageBoxes, ABoxWithoutATitleShowsTheProgramTitle) {
    fakes::FakePlatform fake;
    fake.desktop.MessageBox(0, "EOF", BoxStyle::OkOnly, "");
    EXPECT_EQ(fake.transcript.Entries(), std::vector<std::string>{"box[0|KTVDebugger]: EOF"});
}

}  // namespace
}  // namespace ktv
