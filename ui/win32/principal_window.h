#pragma once

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <memory>
#include <string>

#include "core/window_ops.h"
#include "ui/win32/control_layout.h"
#include "ui/win32/toolbar_keyboard.h"

namespace ruror {
class Principal;
}

namespace ruror::win32 {

// The main window on Windows: a fixed dialog frame with the platform's
// standard controls and common-controls toolbars, laid out from the control
// table at the screen's DPI. It hands every event to the handlers (keys
// first, before the focused control) and carries out what they ask through
// WindowOps.
class PrincipalWindow final : public WindowOps {
public:
    // At the screen's DPI, or at the one given.
    explicit PrincipalWindow(HINSTANCE instance, int dpi = 0);
    ~PrincipalWindow() override;
    PrincipalWindow(const PrincipalWindow&) = delete;
    PrincipalWindow& operator=(const PrincipalWindow&) = delete;

    void attach(Principal& handlers) { handlers_ = &handlers; }
    // Shows the window centred on the screen with the focus in the first field.
    void showCentred();
    // Runs the window's messages until it is closed; returns the exit code.
    int run();
    HWND handle() const { return window_; }
    // The native control behind a control of the table, or a toolbar.
    HWND control(Control control) const { return controls_.byControl.at(control); }
    HWND toolbar(Toolbar toolbar) const { return controls_.toolbars.at(toolbar); }
    // Handles one message as the window's own loop does: keys first.
    void dispatch(MSG& message);

    // WindowOps
    std::string text(Control field) const override;
    void setText(Control field, const std::string& text) override;
    void setSelection(Control field, int start, int length) override;
    void setFocus(Control control) override;
    std::optional<ToolbarButton> markedButton() const override;
    void setEnabled(Control control, bool enabled) override;
    void setButtonEnabled(Toolbar toolbar, int button, bool enabled) override;
    void setVisible(Control control, bool visible) override;
    bool isVisible(Control control) const override;
    int checkState(Control checkBox) const override;
    void setCaptionAndRepaint(Control label, const std::string& caption) override;
    void setCaption(Control label, const std::string& caption) override;
    void setBusyPointer(bool busy) override;
    void setProgress(long long done, long long total) override;
    void setProgressFigures(const std::string& figures) override;
    void processEvents() override;
    void postTabToFocusedControl() override;
    void close() override;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void command(WPARAM wParam, LPARAM lParam);
    // Gives the handlers the keys before the focused control; true when a
    // key was used up there.
    bool previewKey(const MSG& message);
    bool useAccessKey(wchar_t key);
    ToolbarKeyboard* keyboardOf(HWND toolbar) const;
    bool giveActivationToBox();
    void rememberFocus();
    void restoreFocus();

    HINSTANCE instance_;
    int dpi_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    HFONT boldFont_ = nullptr;
    std::unique_ptr<ControlLayout> layout_;
    ChildControls controls_;
    std::map<Toolbar, std::unique_ptr<ToolbarKeyboard>> keyboards_;
    Principal* handlers_ = nullptr;
    bool busy_ = false;
    // The control that had the focus when another window became active.
    HWND lastFocus_ = nullptr;
    bool restoringFocus_ = false;
    DWORD progressPaintedAt_ = 0;
    DWORD eventsProcessedAt_ = 0;
};

}  // namespace ruror::win32
