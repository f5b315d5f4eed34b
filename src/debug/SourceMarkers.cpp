#include "debug/SourceMarkers.h"

#include <optional>
#include <string_view>

#include "debug/Editors.h"
#include "text/Errors.h"
#include "text/Lines.h"
#include "text/Strings.h"

namespace ktv {
namespace {

constexpr const char* kMarkerLine = "$SOURCE     '  Inserted by KTV Debugger";

constexpr const char* kModifiedTitle = "Modified Basic File";
constexpr const char* kModifiedPrompt =
    "KTV Debugger is about to modify your basic file\r\n"
    "so it will output debug information. \r\n"
    "\r\n"
    "Please run Debug again, after JFE activates\r\n"
    "\r\n"
    "If JFE asks you to reload the file, click yes";

// A line that, without its surrounding spaces and in any letter case, begins
// with "$SOURCE". A tab in front hides it.
bool IsMarkerLine(std::string_view line) {
    return StartsWithIgnoringCase(TrimSpaces(line), "$SOURCE");
}

}  // namespace

bool HasMarkerLine(std::string_view text) {
    LineCursor lines(text);
    while (const std::optional<LineView> line = lines.Next()) {
        if (IsMarkerLine(line->text)) {
            return true;
        }
    }
    return false;
}

std::string WithMarkerLine(std::string_view text) {
    std::vector<std::string> lines = SplitLines(text);
    lines.insert(lines.begin(), kMarkerLine);
    return JoinLines(lines);
}

bool InsertSourceMarkers(DebugContext& context, const std::string& basicPath) {
    Platform& platform = context.platform;
    const std::string text = platform.files.ReadFile(basicPath);
    if (HasMarkerLine(text)) {
        return false;
    }

    platform.desktop.MessageBox(context.owner, kModifiedPrompt, BoxStyle::Information,
                                kModifiedTitle);
    // The write replaces the file in one step: a failure leaves it as it was.
    platform.files.WriteFile(basicPath, WithMarkerLine(text));

    // The file carries the marker now; showing it in JFE is a courtesy.
    IgnoringFailure([&] { ActivateJfeWindow(context); });
    IgnoringFailure([&] { DoEvents(platform.desktop, 2); });
    IgnoringFailure([&] {
        platform.processes.Start(JfeCommandLine(context.options), WindowStyle::MinimizedFocus);
    });
    IgnoringFailure([&] { DoEvents(platform.desktop, 5); });
    return true;
}

void ActivateJfeWindow(DebugContext& context) {
    for (const std::string& title :
         JfeWindowTitles(context.names.fileName, context.options.basicFile)) {
        try {
            context.platform.desktop.ActivateByTitle(title);
            return;
        } catch (const WindowNotFound&) {
            // Not this one: try the next title.
        }
    }
}

}  // namespace ktv
