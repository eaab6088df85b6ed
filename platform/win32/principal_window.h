#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "platform/window_ops.h"

namespace ruror {
class Principal;
namespace window_layout {
struct ControlSpec;
}
}  // namespace ruror

namespace ruror::win32 {

// The main window on Windows: a fixed dialog frame with the platform's
// standard controls and common-controls toolbars, rendered from the control
// table at the screen's DPI. It hands every event to the handlers (keys
// first, before the focused control) and carries out what they ask through
// WindowOps.
class PrincipalWindow final : public WindowOps {
public:
    explicit PrincipalWindow(HINSTANCE instance);
    ~PrincipalWindow() override;
    PrincipalWindow(const PrincipalWindow&) = delete;
    PrincipalWindow& operator=(const PrincipalWindow&) = delete;

    void attach(Principal& handlers) { handlers_ = &handlers; }
    // Shows the window centred on the screen with the focus in the first field.
    void showCentred();
    // Runs the window's messages until it is closed; returns the exit code.
    int run();
    HWND handle() const { return window_; }

    // WindowOps
    std::string text(Control field) const override;
    void setText(Control field, const std::string& text) override;
    void setSelection(Control field, int start, int length) override;
    void setFocus(Control control) override;
    void setEnabled(Control control, bool enabled) override;
    void setButtonEnabled(Toolbar toolbar, int button, bool enabled) override;
    void setVisible(Control control, bool visible) override;
    bool isVisible(Control control) const override;
    int checkState(Control checkBox) const override;
    void setCaptionAndRepaint(Control label, const std::string& caption) override;
    void setCaption(Control label, const std::string& caption) override;
    void setBusyPointer(bool busy) override;
    void setProgress(long long done, long long total) override;
    void processEvents() override;
    void postTabToFocusedControl() override;
    void close() override;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Gives the handlers the keys before the focused control; true when a
    // key was used up there.
    bool previewKey(const MSG& message);
    void dispatch(MSG& message);
    void createControls();
    HWND createControl(const window_layout::ControlSpec& item);
    HWND createToolbar(const window_layout::ControlSpec& item);
    void addTooltip(HWND control, const std::string& text);
    void paintBandAndLines(HDC dc);
    void sizeLabel(Control label);
    void pressToolbarButton(HWND toolbar, int index);
    bool useAccessKey(wchar_t key);
    void rememberFocus();
    void restoreFocus();
    int scaled(int twips) const { return MulDiv(twips, dpi_, 1440); }

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND tooltips_ = nullptr;
    HWND progress_ = nullptr;
    HWND banner_ = nullptr;
    // The control that had the focus when another window became active.
    HWND lastFocus_ = nullptr;
    bool restoringFocus_ = false;
    HFONT font_ = nullptr;
    HFONT boldFont_ = nullptr;
    int dpi_ = 96;
    Principal* handlers_ = nullptr;
    std::map<Control, HWND> controls_;
    std::map<Toolbar, HWND> toolbars_;
    bool busy_ = false;
    DWORD progressPaintedAt_ = 0;
    DWORD eventsProcessedAt_ = 0;
};

}  // namespace ruror::win32
