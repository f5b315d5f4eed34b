#include "model/MainWindowLayout.h"

#include <algorithm>

#include "model/ControlIds.h"

namespace ktv {

std::optional<LayoutRect> MainWindowLayout::Find(int id) const {
    for (const PlacedControl& placed : controls) {
        if (placed.id == id) {
            return placed.rect;
        }
    }
    return std::nullopt;
}

namespace {

// Places controls row by row; every length passed in is already in pixels.
class RowBuilder {
public:
    explicit RowBuilder(std::vector<PlacedControl>& controls) : controls_(controls) {}

    void Place(int id, int x, int y, int width, int height) {
        controls_.push_back({id, LayoutRect{x, y, width, height}});
    }

private:
    std::vector<PlacedControl>& controls_;
};

}  // namespace

MainWindowLayout LayOutMainWindow(const MainWindowMetrics& m) {
    const auto s = [&](int length) { return ScaleForDpi(length, m.dpi); };

    const int margin = s(14);
    const int columnGap = s(12);
    const int editHeight = std::max(s(23), m.textHeight + s(9));
    const int browseWidth = std::max(s(32), editHeight + s(6));
    const int choiceHeight = std::max(s(20), m.textHeight + s(4));
    const int rowGap = s(8);
    // A check box or option button: glyph, the gap Windows draws before its
    // text, the text, and room for the focus rectangle.
    const auto choiceWidth = [&](int textWidth) {
        return m.checkGlyphWidth + s(6) + textWidth + s(6);
    };

    // Columns: captions, then two columns of choices; the fields span both.
    const int fieldsX = margin + m.captionWidth + columnGap;
    const int optionsWidth = choiceWidth(m.guiWidth) + s(10) + choiceWidth(m.consoleWidth) + s(10) +
                             choiceWidth(m.dllWidth);
    const int firstColumnWidth =
        std::max({choiceWidth(m.notepadWidth), choiceWidth(m.myEditorWidth),
                  choiceWidth(m.runProgramWidth), optionsWidth, s(200)});
    const int secondColumnX = fieldsX + firstColumnWidth + s(18);
    const int secondColumnWidth =
        std::max({choiceWidth(m.jfeWidth), choiceWidth(m.conTextWidth),
                  choiceWidth(m.warningsWidth), choiceWidth(m.weditWidth)});

    const int titleBlockWidth = std::max(m.titleWidth, m.subtitleWidth);
    const int clientWidth = std::max({secondColumnX + secondColumnWidth + margin, s(560),
                                      margin * 2 + titleBlockWidth + s(200)});

    MainWindowLayout layout;
    layout.clientWidth = clientWidth;
    RowBuilder rows(layout.controls);

    // Row 1: the banner with the two title lines over its left part.
    const int bannerHeight = std::max(s(72), m.titleHeight + m.textHeight + s(30));
    layout.banner = {0, 0, clientWidth, bannerHeight};
    const int titleTop = (bannerHeight - (m.titleHeight + s(2) + m.textHeight)) / 2;
    rows.Place(ids::kTitleLabel, margin + s(2), titleTop, m.titleWidth + s(4), m.titleHeight);
    rows.Place(ids::kSubtitleLabel, margin + s(3), titleTop + m.titleHeight + s(2),
               m.subtitleWidth + s(4), m.textHeight);

    int y = bannerHeight + s(16);
    const int fieldRight = clientWidth - margin - browseWidth - s(6);
    const auto captionAt = [&](int id, int rowTop, int rowHeight) {
        rows.Place(id, margin, rowTop + (rowHeight - m.textHeight) / 2, m.captionWidth,
                   m.textHeight);
    };
    const auto fieldRow = [&](int captionId, int fieldId, int browseId) {
        captionAt(captionId, y, editHeight);
        rows.Place(fieldId, fieldsX, y, fieldRight - fieldsX, editHeight);
        rows.Place(browseId, clientWidth - margin - browseWidth, y, browseWidth, editHeight);
        y += editHeight;
    };

    // Rows 2 to 5: the paths, each with its browse button.
    fieldRow(ids::kLccDirectoryLabel, ids::kLccDirectoryField, ids::kBrowseLccButton);
    y += rowGap;
    fieldRow(ids::kKtvDirectoryLabel, ids::kKtvDirectoryField, ids::kBrowseKtvButton);
    y += rowGap;
    fieldRow(ids::kBasicFileLabel, ids::kBasicFileField, ids::kBrowseBasicFileButton);
    y += rowGap;
    fieldRow(ids::kLibrariesLabel, ids::kLibrariesField, ids::kBrowseLibrariesButton);
    // The hint sits under the right end of the libraries field.
    const int hintWidth = m.hintWidth + s(2);
    rows.Place(ids::kLibrariesHint, fieldRight - hintWidth, y + s(1), hintWidth, m.textHeight);
    y += s(1) + m.textHeight + s(2);

    // Row 6: the command line, as wide as the first column of choices.
    captionAt(ids::kCommandLineLabel, y, editHeight);
    rows.Place(ids::kCommandLineField, fieldsX, y, firstColumnWidth, editHeight);
    y += editHeight + s(12);

    // Row 7: link mode, and the warnings box at the right.
    captionAt(ids::kCompileAsLabel, y, choiceHeight);
    int x = fieldsX;
    for (const auto& [id, width] :
         {std::pair{ids::kGuiOption, m.guiWidth}, std::pair{ids::kConsoleOption, m.consoleWidth},
          std::pair{ids::kDllOption, m.dllWidth}}) {
        rows.Place(id, x, y, choiceWidth(width), choiceHeight);
        x += choiceWidth(width) + s(10);
    }
    rows.Place(ids::kCheckWarningsBox, secondColumnX, y, choiceWidth(m.warningsWidth),
               choiceHeight);
    y += choiceHeight + s(10);

    // Row 8: the editors; my editor goes under Notepad and ConTEXT under JFE,
    // then my editor's command with its browse button.
    captionAt(ids::kOnErrorLabel, y, choiceHeight);
    rows.Place(ids::kLaunchNotepadBox, fieldsX, y, choiceWidth(m.notepadWidth), choiceHeight);
    rows.Place(ids::kLaunchJfeBox, secondColumnX, y, choiceWidth(m.jfeWidth), choiceHeight);
    y += choiceHeight + s(2);
    rows.Place(ids::kLaunchMyEditorBox, fieldsX, y, choiceWidth(m.myEditorWidth), choiceHeight);
    rows.Place(ids::kLaunchConTextBox, secondColumnX, y, choiceWidth(m.conTextWidth), choiceHeight);
    y += choiceHeight + s(6);
    fieldRow(ids::kEditorCommandLabel, ids::kEditorCommandField, ids::kBrowseEditorButton);
    y += s(12);

    // Row 9: after a clean build.
    captionAt(ids::kOnSuccessLabel, y, choiceHeight);
    rows.Place(ids::kRunProgramBox, fieldsX, y, choiceWidth(m.runProgramWidth), choiceHeight);
    rows.Place(ids::kDebugInWeditBox, secondColumnX, y, choiceWidth(m.weditWidth), choiceHeight);
    y += choiceHeight + s(16);

    // Row 10: the rule across the window; below it the button band.
    rows.Place(ids::kRule, 0, y, clientWidth, std::max(1, s(1)));
    layout.footerTop = y + std::max(1, s(1));

    // Row 11: Exit and About at the left, Debug (or Stop) at the right.
    const int buttonWidth = std::max(s(88), m.buttonTextWidth + s(30));
    const int buttonHeight = std::max(s(27), m.textHeight + s(12));
    const int buttonTop = layout.footerTop + s(12);
    rows.Place(ids::kExitButton, margin, buttonTop, buttonWidth, buttonHeight);
    rows.Place(ids::kAboutButton, margin + buttonWidth + s(8), buttonTop, buttonWidth,
               buttonHeight);
    rows.Place(ids::kDebugButton, clientWidth - margin - buttonWidth, buttonTop, buttonWidth,
               buttonHeight);

    // Row 12: the status bar along the bottom edge.
    const int statusTop = buttonTop + buttonHeight + s(12);
    const int statusHeight = std::max(s(22), m.textHeight + s(8));
    rows.Place(ids::kStatusBar, 0, statusTop, clientWidth, statusHeight);
    layout.clientHeight = statusTop + statusHeight;
    return layout;
}

}  // namespace ktv
