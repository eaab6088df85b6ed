// The Windows window itself, made in this process with its real controls
// (under Wine in the test command, which needs no display for it), driven
// through its own message handling.

#include "ui/win32/principal_window.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include "main_window/control_table.h"
#include "main_window/principal.h"
#include "os/win32/wide_text.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/native_file_system.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/temp_folder.h"
#include "ui/win32/resource_ids.h"

namespace ruror::test {
namespace {

using win32::PrincipalWindow;

RECT rectOf(HWND window, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The width a text needs in the control's own font.
int textWidth(HWND control, const std::wstring& text) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT extent{};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return extent.right;
}

std::wstring textOf(HWND control) {
    wchar_t text[256] = {};
    GetWindowTextW(control, text, 256);
    return text;
}

class Win32LayoutTest : public ::testing::TestWithParam<int> {};

// Every text has room to be read whole at every usual DPI, and the layout
// keeps its relations: captions end before their fields, the check box ends
// where the location field ends, everything lies inside the window.
TEST_P(Win32LayoutTest, NothingIsClippedAndTheRelationsHold) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    PrincipalWindow window(GetModuleHandleW(nullptr), GetParam());
    RECT client{};
    GetClientRect(window.handle(), &client);
    for (const auto& [caption, field] :
         {std::pair{Control::Label1_0, Control::Text1}, {Control::Label1_1, Control::Text2}}) {
        HWND label = window.control(caption);
        const RECT place = rectOf(window.handle(), label);
        // A static control needs a pixel more than its text, or drops its last word.
        EXPECT_GT(place.right - place.left, textWidth(label, textOf(label))) << GetParam();
        EXPECT_LE(place.right, rectOf(window.handle(), window.control(field)).left) << GetParam();
        EXPECT_GE(place.left, 0);
    }
    HWND check = window.control(Control::Check1);
    const RECT checkPlace = rectOf(window.handle(), check);
    EXPECT_GE(checkPlace.right - checkPlace.left, MulDiv(13, GetParam(), 96) + textWidth(check, textOf(check)));
    EXPECT_EQ(checkPlace.right, rectOf(window.handle(), window.control(Control::Text1)).right);
    EXPECT_GE(checkPlace.left, rectOf(window.handle(), window.control(Control::Text2)).right);

    HWND toolbar = window.toolbar(Toolbar::Toolbar1);
    for (int index : {0, 2}) {
        RECT button{};
        SendMessageW(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button));
        const std::wstring caption = index == 0 ? L"Aceptar" : L"Cancelar";
        EXPECT_GE(button.right - button.left, MulDiv(16, GetParam(), 96) + textWidth(toolbar, caption)) << GetParam();
    }
    for (HWND control : {toolbar, window.toolbar(Toolbar::Toolbar2), check}) {
        const RECT place = rectOf(window.handle(), control);
        EXPECT_LE(place.right, client.right) << GetParam();
        EXPECT_LE(place.bottom, client.bottom) << GetParam();
    }
}

INSTANTIATE_TEST_SUITE_P(AtEveryDpi, Win32LayoutTest, ::testing::Values(96, 120, 144, 192));

// The window with its handlers, as the program wires them.
class Win32WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
    }
    Win32WindowTest() : files(folder.path()), principal(window, dialogs, files, clock) {
        window.attach(principal);
        principal.load();
        window.showCentred();
    }

    void key(HWND target, WPARAM key) {
        MSG message{target, WM_KEYDOWN, key, 0, 0, {}};
        window.dispatch(message);
        window.processEvents();
    }
    int hot(Toolbar toolbar) const {
        return static_cast<int>(SendMessageW(window.toolbar(toolbar), TB_GETHOTITEM, 0, 0));
    }

    TempFolder folder;
    PrincipalWindow window{GetModuleHandleW(nullptr)};
    ScriptedDialogs dialogs;
    NativeFileSystem files;
    FixedClock clock{Date{2026, 12, 7}};
    Principal principal;
};

// A toolbar is one tab stop whose buttons the arrows walk and Space or
// Enter press, so "Cancelar" is reached without a mouse.
TEST_F(Win32WindowTest, TheToolbarsWorkFromTheKeyboard) {
    HWND toolbar = window.toolbar(Toolbar::Toolbar1);
    SetFocus(toolbar);
    EXPECT_EQ(hot(Toolbar::Toolbar1), 0) << "tabbing in marks Aceptar";
    key(toolbar, VK_RIGHT);
    EXPECT_EQ(hot(Toolbar::Toolbar1), 2) << "Right passes over the separator to Cancelar";
    key(toolbar, VK_RIGHT);
    EXPECT_EQ(hot(Toolbar::Toolbar1), 2) << "and stops at the last button";
    key(toolbar, VK_LEFT);
    EXPECT_EQ(hot(Toolbar::Toolbar1), 0);

    key(toolbar, VK_SPACE);  // "Aceptar" with both fields empty
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].text.starts_with("Hace falta suministrar la información de 'Ubicación'"));

    SetFocus(toolbar);
    key(toolbar, VK_RIGHT);
    key(toolbar, VK_RETURN);  // "Cancelar"
    EXPECT_FALSE(IsWindow(window.handle())) << "Cancelar closes the window";
}

TEST_F(Win32WindowTest, LeavingTheToolbarTakesItsMarkAway) {
    SetFocus(window.toolbar(Toolbar::Toolbar1));
    SetFocus(window.control(Control::Text1));
    EXPECT_EQ(hot(Toolbar::Toolbar1), -1);
    SetFocus(window.toolbar(Toolbar::Toolbar2));
    EXPECT_EQ(hot(Toolbar::Toolbar2), 0);
}

// A screen reader names every control, the image-only browse button too.
TEST_F(Win32WindowTest, EveryControlHasAnAccessibleName) {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    auto nameOf = [](HWND control, long child) {
        IAccessible* accessible = nullptr;
        if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&accessible)))) {
            return std::string("(none)");
        }
        VARIANT which;
        VariantInit(&which);
        which.vt = VT_I4;
        which.lVal = child;
        BSTR name = nullptr;
        std::string text = "(none)";
        if (SUCCEEDED(accessible->get_accName(which, &name)) && name != nullptr) {
            text = win32::utf8(name);
            SysFreeString(name);
        }
        accessible->Release();
        return text;
    };
    EXPECT_EQ(nameOf(window.toolbar(Toolbar::Toolbar2), CHILDID_SELF), "Seleccione el destino de la información");
    EXPECT_EQ(nameOf(window.control(Control::Check1), CHILDID_SELF), "Centro de datos QVT Datos");
    CoUninitialize();
}

// The busy pointer shows over the window and every control in it, fields
// included, while a backup runs; and only then.
TEST_F(Win32WindowTest, TheBusyPointerCoversTheWholeWindow) {
    HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    window.setBusyPointer(true);
    for (HWND over : {window.handle(), window.control(Control::Text1), window.toolbar(Toolbar::Toolbar1)}) {
        SetCursor(nullptr);
        SendMessageW(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), wait);
    }
    window.setBusyPointer(false);
    SetCursor(nullptr);
    SendMessageW(window.handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), wait);
}

}  // namespace
}  // namespace ruror::test
