#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "core/window_ops.h"

namespace ruror::window_layout {
struct ControlRow;
}

namespace ruror::win32 {

// The window's child controls, made from the control table.
struct ChildControls {
    std::map<Control, HWND> byControl;
    std::map<Toolbar, HWND> toolbars;
    HWND banner = nullptr;
    HWND progress = nullptr;
    HWND figures = nullptr;
    HWND tooltips = nullptr;
};

// Lays the control table out at one DPI: positions scaled from twips, and
// every control with a text sized from its text as measured in its font at
// that DPI, so that nothing is clipped whatever the screen. The relations
// of the reference layout are kept: the field captions end at the same
// edge, the check box ends where the location field ends, and Toolbar1 ends
// where it ends.
class ControlLayout {
public:
    ControlLayout(HWND window, HINSTANCE instance, int dpi, HFONT font, HFONT boldFont);

    ChildControls build();
    // Sizes a label to its caption, as a label that sizes itself does.
    void sizeLabel(Control label, HWND control) const;

    int scaled(int twips) const { return MulDiv(twips, dpi_, 1440); }
    // Logical pixels of the 96-DPI reference at this DPI.
    int pixels(int logical) const { return MulDiv(logical, dpi_, 96); }

private:
    HWND createControl(const window_layout::ControlRow& item);
    HWND createToolbar(const window_layout::ControlRow& item);
    void fitCheckBox(HWND check, const window_layout::ControlRow& item) const;
    void fitToolbar(HWND toolbar, const window_layout::ControlRow& item) const;
    void createProgressBar();
    void addTooltip(HWND control, const std::string& text) const;
    SIZE textSize(HWND control, const std::wstring& text, bool bold) const;

    HWND window_;
    HINSTANCE instance_;
    int dpi_;
    HFONT font_;
    HFONT boldFont_;
    ChildControls made_;
};

}  // namespace ruror::win32
