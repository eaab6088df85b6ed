// Looks at the running Windows program from outside, as a screen reader or
// another program on the same desktop would, for the end-to-end tests:
//
//   windows_probe focus               the control that has the keyboard focus
//   windows_probe hot TOOLBAR         the toolbar's marked button (1, 2, ...), or 0
//   windows_probe names               each control's accessible name (MSAA)
//   windows_probe hold FILE SHARING SECONDS
//                                     holds FILE open for reading and writing,
//                                     sharing "none" or "readwrite", then lets go
//
// Prints UTF-8. Exits 1 when the program's window is not there, or the file
// cannot be held.

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/resource_ids.h"
#include "platform/window_ops.h"

namespace {

std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    return result;
}

HWND mainWindow() { return FindWindowW(L"RurorPrincipal", nullptr); }

// The control names the tests use, by control identifier.
std::string nameOf(HWND window, HWND control) {
    if (control == nullptr) return "nothing";
    if (control == window) return "frame";
    if (!IsChild(window, control)) return "outside";
    const int id = GetDlgCtrlID(control);
    switch (id) {
        case IDC_TOOLBAR1: return "Toolbar1";
        case IDC_TOOLBAR2: return "Toolbar2";
        default: break;
    }
    switch (static_cast<ruror::Control>(id - IDC_CONTROL_BASE)) {
        case ruror::Control::Text1: return "Text1";
        case ruror::Control::Text2: return "Text2";
        case ruror::Control::Check1: return "Check1";
        default: return "control " + std::to_string(id);
    }
}

int printFocus(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return 1;
    std::printf("%s\n", nameOf(window, info.hwndFocus).c_str());
    return 0;
}

int printHot(HWND window, const std::wstring& toolbar) {
    HWND bar = GetDlgItem(window, toolbar == L"Toolbar1" ? IDC_TOOLBAR1 : IDC_TOOLBAR2);
    if (bar == nullptr) return 1;
    const auto hot = static_cast<int>(SendMessageW(bar, TB_GETHOTITEM, 0, 0));
    std::printf("%d\n", hot + 1);
    return 0;
}

std::string accessibleName(HWND control, long child) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible)))) {
        return "(no accessible object)";
    }
    VARIANT which;
    VariantInit(&which);
    which.vt = VT_I4;
    which.lVal = child;
    BSTR name = nullptr;
    const HRESULT result = accessible->get_accName(which, &name);
    accessible->Release();
    if (FAILED(result) || name == nullptr) return "(no name)";
    std::string text = utf8(name);
    SysFreeString(name);
    return text;
}

int printNames(HWND window) {
    CoInitialize(nullptr);
    struct Named {
        const char* name;
        int id;
        long child;
    };
    const int base = IDC_CONTROL_BASE;
    const Named controls[] = {
        {"Text1", base + static_cast<int>(ruror::Control::Text1), CHILDID_SELF},
        {"Text2", base + static_cast<int>(ruror::Control::Text2), CHILDID_SELF},
        {"Check1", base + static_cast<int>(ruror::Control::Check1), CHILDID_SELF},
        {"Toolbar1", IDC_TOOLBAR1, CHILDID_SELF},
        {"Toolbar1.1", IDC_TOOLBAR1, 1},
        {"Toolbar1.3", IDC_TOOLBAR1, 3},
        {"Toolbar2", IDC_TOOLBAR2, CHILDID_SELF},
        {"Toolbar2.1", IDC_TOOLBAR2, 1},
    };
    for (const Named& control : controls)
        std::printf("%s: %s\n", control.name, accessibleName(GetDlgItem(window, control.id), control.child).c_str());
    CoUninitialize();
    return 0;
}

int hold(const wchar_t* file, const std::wstring& sharing, int seconds) {
    const DWORD share = sharing == L"none" ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE held = CreateFileW(file, GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open %s: %lu\n", utf8(file).c_str(), GetLastError());
        return 1;
    }
    std::printf("holding\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    CloseHandle(held);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"hold" && argc == 5) return hold(argv[2], argv[3], _wtoi(argv[4]));
    HWND window = mainWindow();
    if (window == nullptr) {
        std::fprintf(stderr, "the program's window is not there\n");
        return 1;
    }
    if (command == L"focus") return printFocus(window);
    if (command == L"hot" && argc == 3) return printHot(window, argv[2]);
    if (command == L"names") return printNames(window);
    std::fprintf(stderr, "usage: windows_probe focus | hot TOOLBAR | names | hold FILE none|readwrite SECONDS\n");
    return 2;
}
