// Looks at the running Windows program from outside, as a screen reader or
// another program on the same desktop would, for the end-to-end tests:
//
//   windows_probe focus               the control that has the keyboard focus
//                                     ("box" while a message box has it)
//   windows_probe field               the focused field: its text, then the
//                                     start and the end of its selection
//   windows_probe box [TITLE]         the text of the message box that shows,
//                                     titled RUROR unless told
//   windows_probe hot TOOLBAR         the toolbar's marked button (1, 2, ...), or 0
//   windows_probe where TITLE TEXT    the screen point at the middle of what
//                                     shows TEXT in the window titled TITLE: a
//                                     control, a toolbar button or a tree item
//   windows_probe hold FILE SHARING SECONDS
//                                     holds FILE open for reading and writing,
//                                     sharing "none" or "readwrite", then lets go
//
// Prints UTF-8. Exits 1 when the program's window is not there, or the file
// cannot be held.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/window_ops.h"
#include "ui/win32/resource_ids.h"

namespace {

std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    return result;
}

HWND mainWindow() { return FindWindowW(L"RurorPrincipal", nullptr); }

// The box the program shows, titled as every box of it is.
HWND messageBox(const wchar_t* title = L"RUROR") {
    HWND box = FindWindowW(L"#32770", title);
    return box != nullptr && IsWindowVisible(box) ? box : nullptr;
}

// Without the invisible marks where a long box text may break, which are
// the box's layout and not its words.
// Asked of the control itself: GetWindowText does not ask a control of
// another process.
std::string shownText(HWND control) {
    const auto length = static_cast<std::size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    std::erase(text, L'\u200B');
    return utf8(text.c_str());
}

// The control names the tests use, by control identifier.
std::string nameOf(HWND window, HWND control) {
    if (control == nullptr) return "nothing";
    if (control == window) return "frame";
    if (!IsChild(window, control)) return messageBox() == GetAncestor(control, GA_ROOT) ? "box" : "outside";
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

HWND focusedControl(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

int printFocus(HWND window) {
    std::printf("%s\n", nameOf(window, focusedControl(window)).c_str());
    return 0;
}

int printField(HWND window) {
    HWND field = focusedControl(window);
    if (field == nullptr) return 1;
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    std::printf("%s\n%lu\n%lu\n", shownText(field).c_str(), start, end);
    return 0;
}

int printBox(const wchar_t* title) {
    HWND box = messageBox(title);
    if (box == nullptr) return 1;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[16] = {};
        GetClassNameW(child, kind, 16);
        if (std::wstring(kind) == L"Static" && GetWindowTextLengthW(child) > 0)
            std::printf("%s\n", shownText(child).c_str());
    }
    return 0;
}

int printHot(HWND window, const std::wstring& toolbar) {
    HWND bar = GetDlgItem(window, toolbar == L"Toolbar1" ? IDC_TOOLBAR1 : IDC_TOOLBAR2);
    if (bar == nullptr) return 1;
    const auto hot = static_cast<int>(SendMessageW(bar, TB_GETHOTITEM, 0, 0));
    std::printf("%d\n", hot + 1);
    return 0;
}

// Memory in the program's own process, where its controls can write what a
// message asks of them (a tree item's text, a button's place).
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, std::size_t size) : size_(size) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
        if (process_ != nullptr)
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_ != nullptr) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    void* at(std::size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
    void write(const void* data, std::size_t size, std::size_t offset = 0) const {
        WriteProcessMemory(process_, at(offset), data, size, nullptr);
    }
    void read(void* data, std::size_t size, std::size_t offset = 0) const {
        ReadProcessMemory(process_, at(offset), data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    std::size_t size_;
};

POINT middleOf(HWND control, RECT rect) {
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::optional<POINT> treeItem(HWND tree, const std::wstring& text) {
    constexpr std::size_t kTextOffset = 256;
    RemoteBuffer remote(tree, 4096);
    for (auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
         item != nullptr; item = reinterpret_cast<HTREEITEM>(
                              SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)))) {
        TVITEMW query{};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = static_cast<wchar_t*>(remote.at(kTextOffset));
        query.cchTextMax = 512;
        remote.write(&query, sizeof query);
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.at()));
        wchar_t found[512] = {};
        remote.read(found, sizeof found - sizeof(wchar_t), kTextOffset);
        if (text != found) continue;
        // The item goes in where its rectangle comes back.
        remote.write(&item, sizeof item);
        SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(remote.at()));
        RECT rect{};
        remote.read(&rect, sizeof rect);
        return middleOf(tree, rect);
    }
    return std::nullopt;
}

std::optional<POINT> toolbarButton(HWND toolbar, const std::wstring& text) {
    RemoteBuffer remote(toolbar, 4096);
    const auto count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        TBBUTTON button{};
        SendMessageW(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(remote.at()));
        remote.read(&button, sizeof button);
        SendMessageW(toolbar, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(remote.at()));
        wchar_t found[512] = {};
        remote.read(found, sizeof found - sizeof(wchar_t));
        if (text != found) continue;
        SendMessageW(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote.at()));
        RECT rect{};
        remote.read(&rect, sizeof rect);
        return middleOf(toolbar, rect);
    }
    return std::nullopt;
}

BOOL CALLBACK addChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> childrenOf(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, addChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

int printWhere(const std::wstring& title, const std::wstring& text) {
    HWND window = FindWindowW(nullptr, title.c_str());
    if (window == nullptr) return 1;
    for (HWND child : childrenOf(window)) {
        wchar_t kind[64] = {}, caption[512] = {};
        GetClassNameW(child, kind, 64);
        GetWindowTextW(child, caption, 512);
        std::optional<POINT> point;
        if (text == caption && IsWindowVisible(child)) {
            RECT rect{};
            GetClientRect(child, &rect);
            point = middleOf(child, rect);
        } else if (std::wstring(kind) == WC_TREEVIEWW) {
            point = treeItem(child, text);
        } else if (std::wstring(kind) == TOOLBARCLASSNAMEW) {
            point = toolbarButton(child, text);
        }
        if (point) {
            std::printf("%ld %ld\n", point->x, point->y);
            return 0;
        }
    }
    std::fprintf(stderr, "nothing shows that text there\n");
    return 1;
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
    if (command == L"where" && argc == 4) return printWhere(argv[2], argv[3]);
    HWND window = mainWindow();
    if (window == nullptr) {
        std::fprintf(stderr, "the program's window is not there\n");
        return 1;
    }
    if (command == L"focus") return printFocus(window);
    if (command == L"hot" && argc == 3) return printHot(window, argv[2]);
    if (command == L"field") return printField(window);
    if (command == L"box") return printBox(argc > 2 ? argv[2] : L"RUROR");
    std::fprintf(
        stderr,
        "usage: windows_probe focus | field | box [TITLE] | hot TOOLBAR | where TITLE TEXT | hold FILE none|readwrite "
        "SECONDS\n");
    return 2;
}
