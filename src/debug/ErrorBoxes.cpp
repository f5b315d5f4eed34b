#include "debug/ErrorBoxes.h"

#include <string>

#include "platform/Desktop.h"

namespace ktv {
namespace {

constexpr const char* kErrorTitle = "Error!";

void Show(Desktop& desktop, WindowRef owner, std::string_view prefix, std::string_view text,
          int buttons) {
    std::string prompt(prefix);
    prompt += text;
    desktop.MessageBox(owner, prompt, buttons, kErrorTitle);
}

}  // namespace

void ErrorBox(Desktop& desktop, WindowRef owner, std::string_view text) {
    Show(desktop, owner, "Error: ", text, BoxStyle::Exclamation);
}

void BasicErrorBox(Desktop& desktop, WindowRef owner, std::string_view text) {
    Show(desktop, owner, "Basic Error: ", text, BoxStyle::Information);
}

void CWarningBox(Desktop& desktop, WindowRef owner, std::string_view text) {
    Show(desktop, owner, "C Warning: ", text, BoxStyle::Information);
}

void CErrorBox(Desktop& desktop, WindowRef owner, std::string_view text) {
    Show(desktop, owner, "C Error: ", text, BoxStyle::Information);
}

}  // namespace ktv
