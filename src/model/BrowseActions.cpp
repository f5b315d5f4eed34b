#include "model/BrowseActions.h"

#include <exception>
#include <optional>
#include <string>

#include "debug/EditorCommands.h"
#include "text/Paths.h"
#include "text/Strings.h"

namespace ktv {
namespace {

// The field is written in every case; after a cancel, or a choice that has no
// file-system path, it gets its own former text back.
void BrowseFolderInto(TextField& field, Desktop& desktop, WindowRef owner, const char* title) {
    const std::string current = field.Text();
    const std::optional<std::string> chosen = desktop.BrowseForFolder(owner, title);
    field.SetText(chosen && !chosen->empty() ? *chosen : current);
}

// A failure of the dialog ends the action quietly, like a cancel: the field
// is written only after a file was chosen.
std::optional<std::string> ChooseFile(Desktop& desktop, const FileOpenRequest& request) {
    try {
        std::optional<std::string> chosen = desktop.OpenFileDialog(request);
        if (chosen && !chosen->empty()) {
            return chosen;
        }
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

}  // namespace

void BrowseLccDirectory(MainWindowModel& model, Desktop& desktop, WindowRef owner) {
    BrowseFolderInto(model.lccDirectoryField, desktop, owner, "Select LCC Directory");
}

void BrowseKtvDirectory(MainWindowModel& model, Desktop& desktop, WindowRef owner) {
    BrowseFolderInto(model.ktvDirectoryField, desktop, owner, "Select KTV Directory");
}

void BrowseBasicFile(MainWindowModel& model, Desktop& desktop, WindowRef owner) {
    FileOpenRequest request;
    request.owner = owner;
    request.initialName = "*.bas";
    request.title = "Select KTV Basic File";
    request.initialFolder = GetFolder(model.basicFileField.Text());
    request.filters = {{"KTV Basic File (*.bas)", "*.bas"}};
    if (const auto chosen = ChooseFile(desktop, request)) {
        model.basicFileField.SetText(*chosen);
    }
}

void BrowseLibraries(MainWindowModel& model, Desktop& desktop, WindowRef owner) {
    FileOpenRequest request;
    request.owner = owner;
    request.initialName = "*.lib";
    request.title = "Select Libraries";
    // As typed: a field ending in "\" gives a doubled separator, which the
    // dialog copes with.
    request.initialFolder = model.lccDirectoryField.Text() + "\\lib";
    request.filters = {{"Library Files (*.lib;*.obj)", "*.lib;*.obj"}};
    const auto chosen = ChooseFile(desktop, request);
    if (!chosen) {
        return;
    }
    const std::string& libraries = model.librariesField.Text();
    // A plain, case-sensitive substring test: a path already in the list, even
    // as part of a longer one, is not added twice.
    if (libraries.find(*chosen) != std::string::npos) {
        return;
    }
    if (TrimSpaces(libraries).empty()) {
        model.librariesField.SetText(*chosen);
    } else {
        model.librariesField.SetText(libraries + ";" + *chosen);
    }
}

void BrowseEditor(MainWindowModel& model, Desktop& desktop, WindowRef owner,
                  const std::string& programFolder) {
    FileOpenRequest request;
    request.owner = owner;
    request.initialName = "*.exe";
    request.title = "Select Your Editor";
    request.initialFolder = programFolder;
    request.filters = {{"Programs (*.exe)", "*.exe"}};
    if (const auto chosen = ChooseFile(desktop, request)) {
        model.editorCommandField.SetText(EditorCommandFor(*chosen));
    }
}

}  // namespace ktv
