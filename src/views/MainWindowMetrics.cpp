#include "views/MainWindowMetrics.h"

#include <algorithm>

#include "model/ControlIds.h"
#include "model/MainWindowModel.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/Handles.h"
#include "views/MainWindowControls.h"

namespace ktv::win32 {

MainWindowMetrics MeasureMainWindow(const WindowFonts& fonts, UINT dpi) {
    WindowDc dc(nullptr);  // the screen's: the window need not exist yet
    const auto width = [&](const UniqueFont& font, int id) {
        return static_cast<int>(MeasureText(dc.Get(), font.Get(), CaptionOf(id)).cx);
    };

    MainWindowMetrics metrics;
    metrics.dpi = static_cast<int>(dpi);
    metrics.textHeight = static_cast<int>(MeasureText(dc.Get(), fonts.message.Get(), "Ag").cy);
    metrics.titleHeight = static_cast<int>(MeasureText(dc.Get(), fonts.title.Get(), "Ag").cy);
    metrics.checkGlyphWidth = SystemMetricForDpi(SM_CXMENUCHECK, dpi);
    for (int id : {ids::kLccDirectoryLabel, ids::kKtvDirectoryLabel, ids::kBasicFileLabel,
                   ids::kLibrariesLabel, ids::kCommandLineLabel, ids::kCompileAsLabel,
                   ids::kOnErrorLabel, ids::kOnSuccessLabel, ids::kEditorCommandLabel}) {
        metrics.captionWidth = std::max(metrics.captionWidth, width(fonts.bold, id));
    }
    for (int id : {ids::kExitButton, ids::kAboutButton, ids::kDebugButton}) {
        metrics.buttonTextWidth = std::max(metrics.buttonTextWidth, width(fonts.bold, id));
    }
    metrics.buttonTextWidth =
        std::max(metrics.buttonTextWidth,
                 static_cast<int>(
                     MeasureText(dc.Get(), fonts.bold.Get(), MainWindowModel::kStopCaption).cx));
    metrics.hintWidth = width(fonts.message, ids::kLibrariesHint);
    metrics.titleWidth = width(fonts.title, ids::kTitleLabel);
    metrics.subtitleWidth = width(fonts.message, ids::kSubtitleLabel);
    metrics.guiWidth = width(fonts.message, ids::kGuiOption);
    metrics.consoleWidth = width(fonts.message, ids::kConsoleOption);
    metrics.dllWidth = width(fonts.message, ids::kDllOption);
    metrics.warningsWidth = width(fonts.message, ids::kCheckWarningsBox);
    metrics.notepadWidth = width(fonts.message, ids::kLaunchNotepadBox);
    metrics.myEditorWidth = width(fonts.message, ids::kLaunchMyEditorBox);
    metrics.jfeWidth = width(fonts.message, ids::kLaunchJfeBox);
    metrics.conTextWidth = width(fonts.message, ids::kLaunchConTextBox);
    metrics.runProgramWidth = width(fonts.message, ids::kRunProgramBox);
    metrics.weditWidth = width(fonts.message, ids::kDebugInWeditBox);
    return metrics;
}

}  // namespace ktv::win32
