#pragma once

#include <windows.h>

#include <commctrl.h>

namespace ruror::win32 {

// The keyboard of a toolbar, which is one stop in the tab order: tabbing
// into it marks its first button that can be pressed, Left and Right move
// the mark between its buttons (separators and disabled buttons passed
// over), and Space or Enter press the marked button. The mark is the
// toolbar's hot button while the keyboard is in it, with a focus rectangle
// drawn around it, so that the mouse passing over another button neither
// hides it nor moves it.
class ToolbarKeyboard {
public:
    // Watches the toolbar's focus through a subclass of it.
    explicit ToolbarKeyboard(HWND toolbar);
    ~ToolbarKeyboard();
    ToolbarKeyboard(const ToolbarKeyboard&) = delete;
    ToolbarKeyboard& operator=(const ToolbarKeyboard&) = delete;

    HWND toolbar() const { return toolbar_; }
    // A key pressed while the toolbar has the focus; true when it was used.
    bool keyDown(WPARAM key);
    // The toolbar's custom drawing, to mark the button; the result for it.
    LRESULT customDraw(const NMTBCUSTOMDRAW& draw) const;

private:
    static LRESULT CALLBACK subclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                              DWORD_PTR self);
    void focusIn();
    void focusOut();
    void mark(int index);
    // The next button from `from` in the direction that can be pressed, or -1.
    int pressable(int from, int step) const;
    void press() const;

    HWND toolbar_;
    int marked_ = -1;
    bool focused_ = false;
};

}  // namespace ruror::win32
