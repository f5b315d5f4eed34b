#include <gtest/gtest.h>

#include "main/ControlIds.h"
#include "main/MainWindowLayout.h"

namespace ktv {
namespace {

// Text sizes as a 9-point system font measures them at 96 DPI, scaled.
MainWindowMetrics MetricsAt(int dpi, int textScalePercent = 100) {
    const auto px = [&](int length) { return ScaleForDpi(length * textScalePercent / 100, dpi); };
    MainWindowMetrics m;
    m.dpi = dpi;
    m.textHeight = px(15);
    m.titleHeight = px(25);
    m.checkGlyphWidth = ScaleForDpi(13, dpi);
    m.captionWidth = px(214);
    m.hintWidth = px(84);
    m.titleWidth = px(150);
    m.subtitleWidth = px(196);
    m.buttonTextWidth = px(38);
    m.guiWidth = px(20);
    m.consoleWidth = px(44);
    m.dllWidth = px(20);
    m.warnWidth = px(128);
    m.noteWidth = px(230);
    m.jenWidth = px(206);
    m.conWidth = px(220);
    m.runWidth = px(112);
    m.debugWidth = px(124);
    return m;
}

bool Overlap(const LayoutRect& a, const LayoutRect& b) {
    return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

LayoutRect At(const MainWindowLayout& layout, int id) {
    const auto rect = layout.Find(id);
    EXPECT_TRUE(rect.has_value()) << "control " << id;
    return rect.value_or(LayoutRect{});
}

class MainWindowLayoutAt : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(MainWindowLayoutAt, EverythingFitsWithoutOverlap) {
    const auto [dpi, textScale] = GetParam();
    const MainWindowLayout layout = LayOutMainWindow(MetricsAt(dpi, textScale));
    for (const PlacedControl& placed : layout.controls) {
        SCOPED_TRACE(placed.id);
        EXPECT_GE(placed.rect.x, 0);
        EXPECT_GE(placed.rect.y, 0);
        EXPECT_GT(placed.rect.width, 0);
        EXPECT_GT(placed.rect.height, 0);
        EXPECT_LE(placed.rect.Right(), layout.clientWidth);
        EXPECT_LE(placed.rect.Bottom(), layout.clientHeight);
    }
    for (size_t i = 0; i < layout.controls.size(); ++i) {
        for (size_t j = i + 1; j < layout.controls.size(); ++j) {
            EXPECT_FALSE(Overlap(layout.controls[i].rect, layout.controls[j].rect))
                << layout.controls[i].id << " and " << layout.controls[j].id;
        }
    }
    // Every measured text fits its control.
    const MainWindowMetrics m = MetricsAt(dpi, textScale);
    EXPECT_GE(At(layout, ids::kChkNote).width, m.checkGlyphWidth + m.noteWidth);
    EXPECT_GE(At(layout, ids::kChkCon).width, m.checkGlyphWidth + m.conWidth);
    EXPECT_GE(At(layout, ids::kCaptionOnSuccess).width, m.captionWidth);
    EXPECT_GE(At(layout, ids::kLabelHint).width, m.hintWidth);
}

TEST_P(MainWindowLayoutAt, RowsStandAsTheUserReadsThem) {
    const auto [dpi, textScale] = GetParam();
    const MainWindowLayout layout = LayOutMainWindow(MetricsAt(dpi, textScale));
    // Title over the banner, then the rows top to bottom.
    EXPECT_LE(At(layout, ids::kLabelSubtitle).Bottom(), layout.banner.Bottom());
    const int rows[] = {ids::kTxtLccPath, ids::kTxtKtvPath, ids::kTxtBasFile, ids::kTxtLibs,
                        ids::kLabelHint,  ids::kTxtCmd,     ids::kOptGui,     ids::kChkNote,
                        ids::kChkCon,     ids::kChkRun,     ids::kRule,       ids::kCmdExit};
    for (size_t i = 1; i < std::size(rows); ++i) {
        EXPECT_LE(At(layout, rows[i - 1]).Bottom(), At(layout, rows[i]).y) << rows[i];
    }
    // The hint stands under the right end of the libraries field.
    EXPECT_EQ(At(layout, ids::kLabelHint).Right(), At(layout, ids::kTxtLibs).Right());
    // The command line field is the shorter one.
    EXPECT_LT(At(layout, ids::kTxtCmd).width, At(layout, ids::kTxtLibs).width);
    // ConTEXT under JFE; the warnings box at the right of the link modes.
    EXPECT_EQ(At(layout, ids::kChkCon).x, At(layout, ids::kChkJen).x);
    EXPECT_GT(At(layout, ids::kChkWarn).x, At(layout, ids::kOptDll).Right());
    // Exit, About beside it, Debug at the right edge.
    EXPECT_LT(At(layout, ids::kCmdExit).Right(), At(layout, ids::kCommand6About).x);
    EXPECT_LT(At(layout, ids::kCommand6About).Right(), At(layout, ids::kCommand1Debug).x);
    EXPECT_EQ(layout.clientWidth - At(layout, ids::kCommand1Debug).Right(),
              At(layout, ids::kCmdExit).x);
    // The rule spans the window and the footer starts under it.
    EXPECT_EQ(At(layout, ids::kRule).width, layout.clientWidth);
    EXPECT_EQ(layout.footerTop, At(layout, ids::kRule).Bottom());
}

INSTANTIATE_TEST_SUITE_P(DpiAndFont, MainWindowLayoutAt,
                         ::testing::Values(std::pair{96, 100}, std::pair{120, 100},
                                           std::pair{144, 100}, std::pair{192, 100},
                                           std::pair{96, 130}, std::pair{144, 85}));

TEST(MainWindowLayout, ScalesWithTheDpi) {
    const MainWindowLayout at96 = LayOutMainWindow(MetricsAt(96));
    const MainWindowLayout at144 = LayOutMainWindow(MetricsAt(144));
    // 150 % within the rounding of each length: the window keeps its proportions.
    EXPECT_NEAR(static_cast<double>(at144.clientWidth) / at96.clientWidth, 1.5, 0.02);
    EXPECT_NEAR(static_cast<double>(at144.clientHeight) / at96.clientHeight, 1.5, 0.02);
    EXPECT_EQ(ScaleForDpi(12, 144), 18);
    EXPECT_EQ(ScaleForDpi(1, 120), 1);
}

TEST(MainWindowLayout, LargerSystemFontWidensTheWindow) {
    const MainWindowLayout normal = LayOutMainWindow(MetricsAt(96, 100));
    const MainWindowLayout large = LayOutMainWindow(MetricsAt(96, 130));
    EXPECT_GT(large.clientWidth, normal.clientWidth);
    EXPECT_GT(large.clientHeight, normal.clientHeight);
}

}  // namespace
}  // namespace ktv
