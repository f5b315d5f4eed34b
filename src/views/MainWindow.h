#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "main/MainForm.h"
#include "main/MainView.h"
#include "main/MainWindowLayout.h"
#include "platform/win32/Handles.h"
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

// The main window: a humble view over MainForm. It shows the model's state in
// real controls, mirrors every change the program makes, and forwards the
// user's clicks and typing to the model. It decides nothing itself.
class MainWindow : public Window, public MainView {
public:
    // `isBusy` tells whether the program-wide pointer is the hourglass.
    MainWindow(HINSTANCE instance, MainForm& form, MainWindowResources resources,
               std::function<bool()> isBusy);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow() override;

    // Creates the window, still hidden, with every control showing the model.
    // Throws ktv::Error when the window cannot be created.
    void Create();

    void Show(int showCommand);

    // Lets the dialog manager handle Tab, the arrow keys in the option group
    // and Enter (the default button). True when the message was used up.
    bool PreTranslateMessage(MSG& message);

    // MainView
    WindowRef Handle() const override;
    WindowSize OuterSize() const override;
    void MoveTo(int left, int top) override;
    void ShowAboutBox() override;
    void ShowProblems(std::unique_ptr<ProblemsList> list) override;
    void CloseProblems() override;
    void EndProgram() override;

private:
    struct Binding {
        Control* control;
        HWND child;
    };

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDpiChanged(const RECT& suggested) override;
    void ReportFailure(const char* what) override;

    void CreateChildren();
    void BindModel();
    // Fonts, layout and size for the window's DPI; the top left stays, or
    // goes where the system suggests.
    void ApplyDpi(const RECT* suggested);
    // The window's size for the layout; the top left stays, or goes where
    // the system suggests.
    void FitWindowToLayout(const RECT* suggested);
    MainWindowMetrics Measure(UINT dpi) const;
    SIZE OuterSize(UINT dpi) const;
    void LoadBannerFor(int height);
    void RenderBanner(const LayoutRect& banner);

    void Mirror(const Binding& binding);
    void MirrorWindowEnabled();
    void OnCommand(int id, int code);
    void OnPaint();
    void PaintLabels(HDC dc);
    LRESULT OnControlColor(HDC dc, HWND child);
    void OnActivate(bool active);

    const Binding* FindBinding(int id) const;

    HINSTANCE instance_;
    MainForm& form_;
    MainWindowResources resources_;
    std::function<bool()> isBusy_;

    WindowFonts fonts_;
    MainWindowLayout layout_;
    std::vector<Binding> bindings_;

    UniqueBitmap bannerSource_;    // the resource, as designed
    UniqueBitmap bannerRendered_;  // scaled to the banner's size at this DPI
    UniqueBrush ruleBrush_;

    std::unique_ptr<ProblemsWindow> problems_;

    bool settingText_ = false;  // the program is writing an edit control
    HWND focusToRestore_ = nullptr;
};

}  // namespace ktv::win32
