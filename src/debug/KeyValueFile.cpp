#include "debug/KeyValueFile.h"

#include <optional>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "text/Errors.h"
#include "text/Lines.h"
#include "text/Strings.h"

namespace ktv {
namespace {

// One line with the line end it had in the file. Files written by other
// tools may end their lines in a lone LF or CR; keeping each line's own end
// lets such a file be edited line by line and written back in its own style,
// instead of being seen as one long line that a matching key would replace
// whole.
struct Line {
    std::string text;
    std::string_view end;
};

std::vector<Line> SplitKeepingEnds(std::string_view text) {
    std::vector<Line> lines;
    LineCursor cursor(text, LineEnds::Any);
    while (const std::optional<LineView> line = cursor.Next()) {
        lines.push_back(Line{std::string(line->text), line->end});
    }
    return lines;
}

// Sets or empties every line whose key matches. The key is the text before
// the first "=" less its leading spaces; trailing spaces belong to it.
void ApplySetting(std::vector<Line>& lines, std::string_view key, const std::string& value) {
    for (Line& line : lines) {
        const std::size_t equals = line.text.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const std::string_view lineKey =
            TrimLeadingSpaces(std::string_view(line.text).substr(0, equals));
        if (!EqualsIgnoringCase(lineKey, key)) {
            continue;
        }
        // The marker counts only as written; "*DELETE*" is an ordinary value.
        line.text = value == kDeleteMarker ? std::string() : std::string(lineKey) + "=" + value;
    }
}

// One pass of collapsing: a line end followed by an empty line with the same
// kind of end loses that empty line, scanning forward without overlap. For a
// file of CR LF lines this is replacing every CR LF CR LF by CR LF.
void CollapseOnce(std::vector<Line>& lines) {
    std::vector<Line> kept;
    kept.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        kept.push_back(std::move(lines[i]));
        const Line& line = kept.back();
        if (i + 1 < lines.size() && !line.end.empty() && lines[i + 1].text.empty() &&
            lines[i + 1].end == line.end) {
            ++i;  // the empty line goes; the scan goes on after this line's end
        }
    }
    lines = std::move(kept);
}

std::string Join(const std::vector<Line>& lines) {
    std::string text;
    for (const Line& line : lines) {
        text += line.text;
        text += line.end;
    }
    return text;
}

}  // namespace

void ModifyConfigFile(FileSystem& files, const std::string& configFile, const std::string& setting,
                      const std::string& value) {
    if (!files.FileExists(configFile)) {
        throw FileError("The file " + configFile + " does not exist.");
    }
    std::string text;
    try {
        text = files.ReadFile(configFile);
    } catch (const std::exception& e) {
        throw FileError("Could not read " + configFile + ": " + e.what());
    }
    if (text.empty()) {
        throw FileError("The file " + configFile + " is empty.");
    }

    std::vector<Line> lines = SplitKeepingEnds(text);
    ApplySetting(lines, setting.empty() ? std::string_view("default") : std::string_view(setting),
                 value);
    // Four passes: a run of up to 16 line ends becomes one.
    for (int pass = 0; pass < 4; ++pass) {
        CollapseOnce(lines);
    }

    try {
        files.WriteFile(configFile, Join(lines));
    } catch (const std::exception& e) {
        throw FileError("Could not write " + configFile + ": " + e.what());
    }
}

}  // namespace ktv
