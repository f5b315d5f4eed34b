#include <gtest/gtest.h>

#include "DiagnosticsFixture.h"
#include "diagnostics/SourceMarkers.h"
#include "platform/Errors.h"

namespace ktv {
namespace {

using testing_support::Concat;
using testing_support::DiagnosticsFixture;
using testing_support::JfeTitlesNotFound;
using Calls = std::vector<std::string>;

const std::string kBasicPath = "c:\\work\\prog.bas";
const std::string kMarker = "$SOURCE     '  Inserted by KTV Debugger";
const std::string kPromptBox =
    "box[64|Modified Basic File]: KTV Debugger is about to modify your basic file\r\n"
    "so it will output debug information. \r\n\r\n"
    "Please run Debug again, after JFE activates\r\n\r\n"
    "If JFE asks you to reload the file, click yes";

TEST(SourceMarkers, AFileWithAMarkerLineIsLeftAlone) {
    const std::string files[] = {
        "$SOURCE\r\nprint 1\r\n",       "print 1\r\n$source\r\n",
        "print 1\r\nend\r\n   $source", "print 1\r\n$SOURCES\r\n",
        "$Source  all the rest\r\n",    "print 1\r\n  $SOURCE  \r\n\t$SOURCE\r\n",
        "print 1\r$sOuRcE\r",
    };
    for (const std::string& bytes : files) {
        DiagnosticsFixture fixture;
        fixture.fake.files.AddFile(kBasicPath, bytes);
        EXPECT_FALSE(InsertSourceMarkers(fixture.context, kBasicPath)) << bytes;
        EXPECT_TRUE(fixture.Calls().empty()) << bytes;
        EXPECT_EQ(fixture.fake.files.Content(kBasicPath), bytes);
    }
}

TEST(SourceMarkers, AFileWithoutAMarkerGetsOneOnTopAndJfeShowsIt) {
    DiagnosticsFixture fixture;
    fixture.fake.files.AddFile(kBasicPath, "print 1\r\nend\r\n");
    // The box is up before the file is touched.
    fixture.fake.desktop.onMessageBox = [&](const std::string&) {
        EXPECT_EQ(fixture.fake.files.Content(kBasicPath), "print 1\r\nend\r\n");
    };
    EXPECT_TRUE(InsertSourceMarkers(fixture.context, kBasicPath));
    EXPECT_EQ(fixture.Calls(),
              Concat({{kPromptBox, "write-file: c:\\work\\prog.bas"},
                      JfeTitlesNotFound(),
                      {"do-events x2", "start[2]: c:\\ktv\\bin\\jfe.exe c:\\work\\prog.bas",
                       "do-events x5"}}));
    EXPECT_EQ(fixture.fake.files.Content(kBasicPath), kMarker + "\r\nprint 1\r\nend\r\n");
}

TEST(SourceMarkers, TheRewriteKeepsEveryLineAndEndsEachWithCrLf) {
    const std::pair<std::string, std::string> cases[] = {
        {"", kMarker + "\r\n"},
        {"print 1", kMarker + "\r\nprint 1\r\n"},
        {"  a  \rb\r\n\r\n", kMarker + "\r\n  a  \r\nb\r\n\r\n"},
        {"\t$SOURCE\r\nx\r\n", kMarker + "\r\n\t$SOURCE\r\nx\r\n"},
        {"$SOURC\r\n", kMarker + "\r\n$SOURC\r\n"},
        {"a\nb", kMarker + "\r\na\nb\r\n"},
    };
    for (const auto& [before, after] : cases) {
        DiagnosticsFixture fixture;
        fixture.fake.files.AddFile(kBasicPath, before);
        EXPECT_TRUE(InsertSourceMarkers(fixture.context, kBasicPath));
        EXPECT_EQ(fixture.fake.files.Content(kBasicPath), after);
    }
}

TEST(SourceMarkers, AnOpenJfeWindowIsActivatedByTheFirstTitleThatFits) {
    const Calls notFound = JfeTitlesNotFound();
    for (std::size_t open = 0; open < notFound.size(); ++open) {
        DiagnosticsFixture fixture;
        const std::string found = notFound[open].substr(0, notFound[open].size() - 12);
        fixture.fake.desktop.windowTitles.insert(found.substr(16));
        ActivateJfeWindow(fixture.context);
        Calls expected(notFound.begin(), notFound.begin() + static_cast<long>(open));
        expected.push_back(found);
        EXPECT_EQ(fixture.Calls(), expected);
    }
}

TEST(SourceMarkers, NoJfeLeavesTheResultTrueAndNothingShown) {
    DiagnosticsFixture fixture;
    fixture.fake.files.AddFile(kBasicPath, "print 1\r\n");
    fixture.fake.processes.FailStartsContaining("jfe.exe");
    EXPECT_TRUE(InsertSourceMarkers(fixture.context, kBasicPath));
    EXPECT_EQ(fixture.fake.transcript.Only({"box"}).size(), 1u);
    EXPECT_EQ(fixture.Calls().back(), "do-events x5");
}

TEST(SourceMarkers, JfeIsStartedWithQuotesAroundPathsWithSpaces) {
    DiagnosticsFixture fixture;
    fixture.form.Txt_KtvPath.SetText("c:\\program files\\ktv");
    fixture.form.Txt_BasFile.SetText("c:\\my work\\prog.bas");
    fixture.fake.files.AddFile("c:\\my work\\prog.bas", "print 1\r\n");
    EXPECT_TRUE(InsertSourceMarkers(fixture.context, "c:\\my work\\prog.bas"));
    EXPECT_EQ(
        fixture.fake.transcript.Only({"start"}),
        Calls{"start[2]: \"c:\\program files\\ktv\\bin\\jfe.exe\" \"c:\\my work\\prog.bas\""});
    EXPECT_EQ(fixture.fake.transcript.Only({"activate-title"})[2],
              "activate-title: Jens' File Editor - [c:\\my work\\prog.bas] (not found)");
}

TEST(SourceMarkers, AFailedRewriteLeavesTheFileWholeAndReachesTheCaller) {
    DiagnosticsFixture fixture;
    fixture.fake.files.AddFile(kBasicPath, "print 1\r\nend");
    fixture.fake.files.FailOn(fakes::FsOp::Write, kBasicPath);
    EXPECT_THROW(InsertSourceMarkers(fixture.context, kBasicPath), FileError);
    EXPECT_EQ(fixture.fake.files.Content(kBasicPath), "print 1\r\nend");
    EXPECT_EQ(fixture.fake.files.AllFiles(), Calls{kBasicPath});
    EXPECT_EQ(fixture.fake.transcript.Only({"start", "activate"}), Calls{});
}

TEST(SourceMarkers, AMissingFileReachesTheCaller) {
    DiagnosticsFixture fixture;
    EXPECT_THROW(InsertSourceMarkers(fixture.context, kBasicPath), FileError);
    EXPECT_TRUE(fixture.Calls().empty());
}

}  // namespace
}  // namespace ktv
