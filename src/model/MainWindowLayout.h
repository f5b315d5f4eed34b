#pragma once

#include <optional>
#include <vector>

#include "platform/Dpi.h"

namespace ktv {

struct LayoutRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

// What the layout needs to know about the fonts at the window's DPI, all in
// device pixels: the height of a line of text and the width of each text as it
// will be drawn. The window measures these; the layout only places controls.
struct MainWindowMetrics {
    int dpi = 96;
    int textHeight = 0;       // one line in the message font
    int titleHeight = 0;      // one line in the title font
    int checkGlyphWidth = 0;  // the box or circle of a check box or option button
    int captionWidth = 0;     // the widest bold caption label
    int hintWidth = 0;        // "Seperate with ;"
    int titleWidth = 0;
    int subtitleWidth = 0;
    int buttonTextWidth = 0;  // the widest bold text of the bottom buttons, "Stop" too
    // Texts of the check boxes and option buttons, by row.
    int guiWidth = 0;
    int consoleWidth = 0;
    int dllWidth = 0;
    int warningsWidth = 0;
    int notepadWidth = 0;
    int myEditorWidth = 0;
    int jfeWidth = 0;
    int conTextWidth = 0;
    int runProgramWidth = 0;
    int weditWidth = 0;
};

struct PlacedControl {
    int id = 0;
    LayoutRect rect;
};

// Where everything of the main window goes, in client coordinates.
struct MainWindowLayout {
    int clientWidth = 0;
    int clientHeight = 0;
    LayoutRect banner;  // painted by the window, under the title labels
    int footerTop = 0;  // the button band below the rule
    std::vector<PlacedControl> controls;

    std::optional<LayoutRect> Find(int id) const;
};

// Lays the rows out top to bottom. Sizes are chosen in 96-DPI units and
// scaled to `metrics.dpi`; text-bound sizes come from the measured widths, so
// nothing is clipped whatever font the system uses.
MainWindowLayout LayOutMainWindow(const MainWindowMetrics& metrics);

}  // namespace ktv
