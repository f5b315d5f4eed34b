#pragma once

#include <functional>
#include <memory>
#include <string>

#include "model/MainWindowLayout.h"
#include "model/MainWindowModel.h"
#include "model/MainWindowView.h"
#include "platform/win32/Handles.h"
#include "views/Banner.h"
#include "views/ControlMirror.h"
#include "views/ProblemsWindow.h"
#include "views/Window.h"
#include "views/WindowFonts.h"

namespace ktv::win32 {

// Resources of the executable that the window shows.
struct MainWindowResources {
    int iconId = 0;
    int bannerBitmapId = 0;
    // The banner at the one height it most often has, which then needs no
    // scaling; 0 for none.
    int bannerAtOneHeightId = 0;
};

// The main window: the model's controls as real ones (ControlMirror keeps
// them in step), laid out for the window's DPI, under the banner; and what
// the controller asks of the window (MainWindowView). It decides nothing.
class MainWindow : public Window, public MainWindowView {
public:
    // `isBusy` tells whether the program-wide pointer is the hourglass.
    MainWindow(HINSTANCE instance, MainWindowModel& model, MainWindowResources resources,
               std::function<bool()> isBusy);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow() override;

    // Creates the window, still hidden, with every control showing the model.
    // Throws ktv::Error when the window cannot be created.
    void Create();

    void Show(int showCommand);

    // Lets the dialog manager handle Tab, the arrow keys in the option group
    // and Enter (the default button), here and in the Problems window. True
    // when the message was used up.
    bool PreTranslateMessage(MSG& message);

    // MainWindowView
    WindowRef Handle() const override;
    WindowSize OuterSize() const override;
    void MoveTo(int left, int top) override;
    void ShowAboutBox() override;
    void ShowProblems(std::unique_ptr<ProblemsWindowModel> list) override;
    void CloseProblems() override;
    void EndProgram() override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDpiChanged(const RECT& suggested) override;
    void ReportFailure(const char* what) override;

    // Fonts and layout at a DPI, and the window's outer size for them.
    void LayOutFor(UINT dpi);
    SIZE OuterSizeFor(UINT dpi) const;
    // Fonts, layout, banner and size for the window's DPI; the top left
    // stays, or goes where the system suggests.
    void ApplyDpi(const RECT* suggested);

    // The banner and the colours of the window's own texts, for the system's
    // colours now (high contrast or not).
    void ApplyColours();
    void OnPaint();
    void PaintLabels(HDC dc);
    // The model's status line in the status bar; while a step is under way,
    // with an ellipsis and its seconds so far, kept up by a timer.
    void ShowStatus();
    LRESULT OnControlColor(HDC dc, HWND child);

    HINSTANCE instance_;
    MainWindowModel& model_;
    MainWindowResources resources_;
    std::function<bool()> isBusy_;

    WindowFonts fonts_;
    MainWindowLayout layout_;
    Banner banner_;
    UniqueBrush ruleBrush_;  // none with high contrast: the system's colour
    bool highContrast_ = false;
    std::unique_ptr<ControlMirror> mirror_;
    std::unique_ptr<ProblemsWindow> problems_;
    std::wstring shownStatus_;
};

}  // namespace ktv::win32
