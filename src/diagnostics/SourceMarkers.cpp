#include "diagnostics/SourceMarkers.h"

#include <algorithm>
#include <exception>
#include <string_view>

#include "diagnostics/EditorCommandLines.h"
#include "diagnostics/LineViews.h"
#include "platform/Errors.h"
#include "platform/TextLines.h"

namespace ktv {
namespace {

constexpr const char* kMarkerLine = "$SOURCE     '  Inserted by KTV Debugger";
constexpr std::string_view kMarkerWord = "$SOURCE";

constexpr const char* kModifiedTitle = "Modified Basic File";
constexpr const char* kModifiedPrompt =
    "KTV Debugger is about to modify your basic file\r\n"
    "so it will output debug information. \r\n"
    "\r\n"
    "Please run Debug again, after JFE activates\r\n"
    "\r\n"
    "If JFE asks you to reload the file, click yes";

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// A line that, without its surrounding spaces and in upper case, begins with
// "$SOURCE". A tab in front hides it.
bool IsMarkerLine(std::string_view line) {
    const std::string_view text = TrimSpaces(line);
    return text.size() >= kMarkerWord.size() &&
           std::equal(kMarkerWord.begin(), kMarkerWord.end(), text.begin(),
                      [](char marker, char c) { return marker == Upper(c); });
}

template <typename Step>
void IgnoringFailure(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
        // The file already carries the marker; showing it in JFE is a courtesy.
    }
}

}  // namespace

bool InsertSourceMarkers(DebugContext& context, const std::string& basicPath) {
    Platform& platform = context.platform;
    std::vector<std::string> lines = ReadLines(platform.files, basicPath);
    if (std::any_of(lines.begin(), lines.end(),
                    [](const std::string& line) { return IsMarkerLine(line); })) {
        return false;
    }

    platform.desktop.MessageBox(context.owner, kModifiedPrompt, BoxStyle::Information,
                                kModifiedTitle);
    // WriteLines replaces the file in one step: a failure leaves it as it was.
    lines.insert(lines.begin(), kMarkerLine);
    WriteLines(platform.files, basicPath, lines);

    IgnoringFailure([&] { ActivateJfeWindow(context); });
    for (int i = 0; i < 2; ++i) {
        IgnoringFailure([&] { platform.desktop.DoEvents(); });
    }
    IgnoringFailure([&] {
        platform.processes.Start(JfeCommandLine(context.form), WindowStyle::MinimizedFocus);
    });
    for (int i = 0; i < 5; ++i) {
        IgnoringFailure([&] { platform.desktop.DoEvents(); });
    }
    return true;
}

void ActivateJfeWindow(DebugContext& context) {
    for (const std::string& title :
         JfeWindowTitles(context.run.fileName, context.form.Txt_BasFile.Text())) {
        try {
            context.platform.desktop.ActivateByTitle(title);
            return;
        } catch (const WindowNotFound&) {
            // Not this one: try the next title.
        }
    }
}

}  // namespace ktv
