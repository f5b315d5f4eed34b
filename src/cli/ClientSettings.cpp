#include "cli/ClientSettings.h"

#include <optional>

namespace ktv {
namespace {

std::optional<LinkMode> LinkModeNamed(const std::string& name) {
    if (name == "gui") {
        return LinkMode::Gui;
    }
    if (name == "console") {
        return LinkMode::Console;
    }
    if (name == "dll") {
        return LinkMode::Dll;
    }
    return std::nullopt;
}

}  // namespace

std::vector<std::string> ApplyClientSettings(const Json& given, BuildArguments& overrides,
                                             const TextConversions& text) {
    const Json& settings = given.is_object() && given.contains("ktv") ? given["ktv"] : given;
    if (!settings.is_object()) {
        return settings.is_null() ? std::vector<std::string>()
                                  : std::vector<std::string>{"The ktv settings are no object"};
    }
    std::vector<std::string> problems;
    const auto wrong = [&](const std::string& name, const std::string& kind) {
        problems.push_back("The setting " + name + " must be " + kind);
    };
    for (const auto& [name, value] : settings.items()) {
        std::optional<std::string>* path = name == "lccPath"     ? &overrides.lccPath
                                           : name == "ktvPath"   ? &overrides.ktvPath
                                           : name == "libraries" ? &overrides.libraries
                                                                 : nullptr;
        if (path != nullptr) {
            if (value.is_null()) {
                path->reset();
            } else if (!value.is_string()) {
                wrong(name, "text");
            } else if (std::optional<std::string> ansi =
                           text.ansiFromUtf8(value.get<std::string>())) {
                *path = std::move(ansi);
            } else {
                problems.push_back(
                    UnwritablePathMessage(value.get<std::string>(), text.ansiCodePage));
            }
        } else if (name == "linkMode") {
            const std::optional<LinkMode> mode =
                value.is_string() ? LinkModeNamed(value.get<std::string>()) : std::nullopt;
            if (value.is_null() || mode) {
                overrides.linkMode = mode;
            } else {
                wrong(name, "\"gui\", \"console\" or \"dll\"");
            }
        } else if (name == "warnings" || name == "insertMarker") {
            if (!value.is_null() && !value.is_boolean()) {
                wrong(name, "true or false");
            } else if (name == "warnings") {
                overrides.checkWarnings =
                    value.is_null() ? std::nullopt : std::optional<bool>(value.get<bool>());
            } else {
                overrides.insertMarker = value.is_boolean() && value.get<bool>();
            }
        }
    }
    return problems;
}

}  // namespace ktv
