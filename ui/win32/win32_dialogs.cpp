#include "ui/win32/win32_dialogs.h"

#include <shlobj.h>

#include "core/box_text.h"
#include "main_window/messages.h"
#include "os/win32/wide_text.h"

namespace ruror::win32 {
namespace {

// The flags of the browse request: don't go below domain, status text,
// file-system ancestors, edit box, validate, new dialog style, URLs.
constexpr UINT kBrowseFlags = 0x00FE;

}  // namespace

// The style codes are the platform's own, and so are the answers. The box
// breaks lines only at spaces: a long path or name gets breaks of its own,
// or the box would run off the screen.
int Win32Dialogs::messageBox(const std::string& text, int style, const std::string& title) {
    const std::string shownTitle = title.empty() ? messages::kApplicationTitle : title;
    const std::string shown = withLongRunsBroken(text, kLongestBoxRun, "\r\n");
    return MessageBoxW(owner_.handle(), wide(shown).c_str(), wide(shownTitle).c_str(), static_cast<UINT>(style));
}

// The wide-character shell functions: the 8-bit ones cannot return a folder
// whose name falls outside the system's code page.
std::string Win32Dialogs::chooseFolder(const std::string& prompt) {
    const std::wstring title = wide(prompt);
    BROWSEINFOW request{};
    request.hwndOwner = owner_.handle();
    request.lpszTitle = title.c_str();
    request.ulFlags = kBrowseFlags;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&request);
    if (chosen == nullptr) return {};
    std::wstring path(32768, L'\0');
    const bool hasPath = SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
    CoTaskMemFree(chosen);
    if (!hasPath) return {};
    path.resize(wcslen(path.c_str()));
    return utf8(path);
}

}  // namespace ruror::win32
