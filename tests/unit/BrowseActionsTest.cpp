#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "main/BrowseActions.h"
#include "platform/Errors.h"

namespace ktv {
namespace {

using Lines = std::vector<std::string>;

TEST(BrowseActions, FolderPickersWriteTheChoiceOrKeepTheText) {
    struct Case {
        std::optional<std::string> answer;
        std::string expected;
    };
    const Case cases[] = {
        {"d:\\tools\\lcc", "d:\\tools\\lcc"},
        {"d:\\", "d:\\"},           // a drive root keeps the shell's backslash
        {std::nullopt, "c:\\old"},  // cancel
        {"", "c:\\old"},            // a choice without a file-system path
    };
    for (const Case& c : cases) {
        fakes::FakePlatform fake;
        MainForm form;
        form.Txt_LccPath.SetText("c:\\old");
        form.Txt_KtvPath.SetText("c:\\old");
        fake.desktop.folderAnswers = {c.answer, c.answer};
        BrowseLccDirectory(form, fake.desktop, 0);
        BrowseKtvDirectory(form, fake.desktop, 0);
        EXPECT_EQ(form.Txt_LccPath.Text(), c.expected);
        EXPECT_EQ(form.Txt_KtvPath.Text(), c.expected);
        EXPECT_EQ(fake.transcript.Entries(), (Lines{"folder-picker: Select LCC Directory",
                                                    "folder-picker: Select KTV Directory"}));
    }
}

TEST(BrowseActions, TheBasicFilePickerStartsInTheFilesFolder) {
    fakes::FakePlatform fake;
    MainForm form;
    form.Txt_BasFile.SetText("c:\\work\\old.bas");
    fake.desktop.fileAnswers = {std::nullopt, "c:\\work\\new.bas"};
    BrowseBasicFile(form, fake.desktop, 0);
    EXPECT_EQ(form.Txt_BasFile.Text(), "c:\\work\\old.bas");  // cancel
    BrowseBasicFile(form, fake.desktop, 0);
    EXPECT_EQ(form.Txt_BasFile.Text(), "c:\\work\\new.bas");
    form.Txt_BasFile.SetText("");
    BrowseBasicFile(form, fake.desktop, 0);
    const std::string request =
        "open-file: Select KTV Basic File name=*.bas folder=c:\\work filters=KTV Basic File "
        "(*.bas)|*.bas";
    EXPECT_EQ(fake.transcript.Entries(),
              (Lines{request, request,
                     "open-file: Select KTV Basic File name=*.bas folder= filters=KTV Basic File "
                     "(*.bas)|*.bas"}));
    EXPECT_EQ(form.Txt_BasFile.Text(), "");
}

TEST(BrowseActions, TheLibraryPickerAddsOnePathToTheList) {
    struct Case {
        const char* name;
        std::string before;
        std::optional<std::string> chosen;
        std::string after;
    };
    const Case cases[] = {
        {"an empty list takes the path", "", "c:\\lcc\\lib\\a.lib", "c:\\lcc\\lib\\a.lib"},
        {"a list of spaces is replaced", "   ", "c:\\lcc\\lib\\a.lib", "c:\\lcc\\lib\\a.lib"},
        {"a list gets ; and the path", "a.lib", "c:\\lcc\\lib\\b.lib", "a.lib;c:\\lcc\\lib\\b.lib"},
        {"the untrimmed list is kept", " a.lib ", "c:\\b.obj", " a.lib ;c:\\b.obj"},
        {"a path already there is not added", "a.lib;c:\\lcc\\lib\\b.lib", "c:\\lcc\\lib\\b.lib",
         "a.lib;c:\\lcc\\lib\\b.lib"},
        {"part of a longer path counts as there", "c:\\lcc\\lib\\b.lib.old", "c:\\lcc\\lib\\b.lib",
         "c:\\lcc\\lib\\b.lib.old"},
        {"another letter case is another path", "C:\\LCC\\LIB\\B.LIB", "c:\\lcc\\lib\\b.lib",
         "C:\\LCC\\LIB\\B.LIB;c:\\lcc\\lib\\b.lib"},
        {"cancel leaves the list", "a.lib", std::nullopt, "a.lib"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::FakePlatform fake;
        MainForm form;
        form.Txt_Libs.SetText(c.before);
        fake.desktop.fileAnswers = {c.chosen};
        BrowseLibraries(form, fake.desktop, 0);
        EXPECT_EQ(form.Txt_Libs.Text(), c.after);
    }
}

TEST(BrowseActions, TheLibraryPickerStartsUnderTheLccFolderAsTyped) {
    fakes::FakePlatform fake;
    MainForm form;
    BrowseLibraries(form, fake.desktop, 0);
    form.Txt_LccPath.SetText("c:\\lcc\\");
    BrowseLibraries(form, fake.desktop, 0);
    const std::string filters = " filters=Library Files (*.lib;*.obj)|*.lib;*.obj";
    EXPECT_EQ(fake.transcript.Entries(),
              (Lines{"open-file: Select Libraries name=*.lib folder=c:\\lcc\\lib" + filters,
                     "open-file: Select Libraries name=*.lib folder=c:\\lcc\\\\lib" + filters}));
}

// A dialog that fails to open.
class BrokenDialogDesktop : public fakes::FakeDesktop {
public:
    using FakeDesktop::FakeDesktop;
    std::optional<std::string> OpenFileDialog(const FileOpenRequest&) override {
        throw Error("the dialog could not be created");
    }
};

TEST(BrowseActions, AFailingFileDialogLeavesTheFieldsQuietly) {
    fakes::Transcript transcript;
    BrokenDialogDesktop desktop(transcript);
    MainForm form;
    form.Txt_BasFile.SetText("c:\\a.bas");
    form.Txt_Libs.SetText("x.lib");
    EXPECT_NO_THROW(BrowseBasicFile(form, desktop, 0));
    EXPECT_NO_THROW(BrowseLibraries(form, desktop, 0));
    EXPECT_EQ(form.Txt_BasFile.Text(), "c:\\a.bas");
    EXPECT_EQ(form.Txt_Libs.Text(), "x.lib");
    EXPECT_TRUE(transcript.Entries().empty());
}

}  // namespace
}  // namespace ktv
