#include "ui/win32/toolbar_keyboard.h"

#include "main_window/toolbar_marks.h"

namespace ruror::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 1;

bool isPressable(const TBBUTTON& button) { return !(button.fsStyle & BTNS_SEP) && (button.fsState & TBSTATE_ENABLED); }

}  // namespace

ToolbarKeyboard::ToolbarKeyboard(HWND toolbar, Toolbar which) : toolbar_(toolbar), which_(which) {
    SetWindowSubclass(toolbar_, subclassProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

ToolbarKeyboard::~ToolbarKeyboard() {
    if (IsWindow(toolbar_)) RemoveWindowSubclass(toolbar_, subclassProcedure, kSubclassId);
}

LRESULT CALLBACK ToolbarKeyboard::subclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                    DWORD_PTR self) {
    auto* keyboard = reinterpret_cast<ToolbarKeyboard*>(self);
    if (message == WM_SETFOCUS) keyboard->focusIn();
    if (message == WM_KILLFOCUS) keyboard->focusOut();
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    // The mouse leaving takes the toolbar's hot button away; the keyboard's
    // mark stays while the toolbar has the focus.
    if (message == WM_MOUSELEAVE && keyboard->focused_) keyboard->mark(keyboard->marked_);
    return result;
}

void ToolbarKeyboard::focusIn() {
    focused_ = true;
    mark(firstMark(which_, [this](int number) { return enabled(number); }) - 1);
}

void ToolbarKeyboard::focusOut() {
    focused_ = false;
    SendMessageW(toolbar_, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
    InvalidateRect(toolbar_, nullptr, TRUE);
}

void ToolbarKeyboard::mark(int index) {
    marked_ = index;
    SendMessageW(toolbar_, TB_SETHOTITEM, static_cast<WPARAM>(index), 0);
    InvalidateRect(toolbar_, nullptr, TRUE);
}

bool ToolbarKeyboard::enabled(int number) const {
    TBBUTTON button{};
    return SendMessageW(toolbar_, TB_GETBUTTON, number - 1, reinterpret_cast<LPARAM>(&button)) && isPressable(button);
}

bool ToolbarKeyboard::keyDown(WPARAM key) {
    switch (key) {
        case VK_LEFT:
        case VK_RIGHT:
            mark(
                nextMark(which_, marked_ + 1, key == VK_LEFT ? -1 : 1, [this](int number) { return enabled(number); }) -
                1);
            return true;
        case VK_SPACE: press(); return true;
        default: return false;
    }
}

// As a click: the toolbar's owner gets the button's command.
void ToolbarKeyboard::press() const {
    TBBUTTON button{};
    if (!SendMessageW(toolbar_, TB_GETBUTTON, marked_, reinterpret_cast<LPARAM>(&button)) || !isPressable(button))
        return;
    SendMessageW(GetParent(toolbar_), WM_COMMAND, MAKEWPARAM(button.idCommand, BN_CLICKED),
                 reinterpret_cast<LPARAM>(toolbar_));
}

LRESULT ToolbarKeyboard::customDraw(const NMTBCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: return CDRF_NOTIFYPOSTPAINT;
        case CDDS_ITEMPOSTPAINT: {
            const auto index = static_cast<int>(
                SendMessageW(toolbar_, TB_COMMANDTOINDEX, static_cast<WPARAM>(draw.nmcd.dwItemSpec), 0));
            if (focused_ && index == marked_) {
                RECT inside = draw.nmcd.rc;
                InflateRect(&inside, -2, -2);
                DrawFocusRect(draw.nmcd.hdc, &inside);
            }
            return CDRF_DODEFAULT;
        }
        default: return CDRF_DODEFAULT;
    }
}

}  // namespace ruror::win32
