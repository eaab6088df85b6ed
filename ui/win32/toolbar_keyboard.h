#pragma once

#include <windows.h>

#include <commctrl.h>

#include "core/window_ops.h"

namespace ruror::win32 {

// The keyboard of a toolbar, after the handlers' rules for toolbars
// (main_window/toolbar_marks.h): tabbing into it marks its first button
// that can be pressed, Left and Right move the mark, and Space presses the
// marked button (Enter is the handlers' own). The mark is the toolbar's hot
// button while the keyboard is in it, with a focus rectangle drawn around
// it, so that the mouse passing over another button neither hides it nor
// moves it.
class ToolbarKeyboard {
public:
    // Watches the toolbar's focus through a subclass of it.
    ToolbarKeyboard(HWND toolbar, Toolbar which);
    ~ToolbarKeyboard();
    ToolbarKeyboard(const ToolbarKeyboard&) = delete;
    ToolbarKeyboard& operator=(const ToolbarKeyboard&) = delete;

    HWND toolbar() const { return toolbar_; }
    // The marked button's number while the toolbar has the focus; 0 for none.
    int marked() const { return focused_ ? marked_ + 1 : 0; }
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
    bool enabled(int number) const;
    void press() const;

    HWND toolbar_;
    Toolbar which_;
    // The marked button's index in the toolbar, which counts from 0.
    int marked_ = -1;
    bool focused_ = false;
};

}  // namespace ruror::win32
