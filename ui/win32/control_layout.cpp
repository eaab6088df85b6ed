#include "ui/win32/control_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "main_window/control_table.h"
#include "os/win32/wide_text.h"
#include "ui/win32/resource_ids.h"

namespace ruror::win32 {
namespace {

using namespace window_layout;

Toolbar toolbarOf(const char* name) { return std::string(name) == "Toolbar1" ? Toolbar::Toolbar1 : Toolbar::Toolbar2; }

const ControlRow& itemOf(Control control) {
    for (const ControlRow& item : kControls)
        if (item.control == control) return item;
    return kControls.front();
}

// The controls in tab order, which is the order of creation: a caption's
// access key then moves the focus to the control created after it.
std::vector<const ControlRow*> inTabOrder() {
    std::vector<const ControlRow*> ordered;
    for (const ControlRow& item : kControls)
        if (item.kind != Kind::Shape && item.kind != Kind::Line) ordered.push_back(&item);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const ControlRow* a, const ControlRow* b) { return a->tabIndex < b->tabIndex; });
    return ordered;
}

// A field's caption: it keeps the right edge it has in the reference
// layout, next to its field, however wide its text is at this DPI.
bool isFieldCaption(const ControlRow& item) {
    return item.kind == Kind::Label && item.caption != nullptr &&
           std::string(item.caption).find('&') != std::string::npos;
}

HMENU identifierOf(const ControlRow& item) {
    int id = 0;
    if (item.control) id = IDC_CONTROL_BASE + static_cast<int>(*item.control);
    if (item.kind == Kind::Toolbar) id = toolbarOf(item.name) == Toolbar::Toolbar1 ? IDC_TOOLBAR1 : IDC_TOOLBAR2;
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

RECT rectIn(HWND window, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

ControlLayout::ControlLayout(HWND window, HINSTANCE instance, int dpi, HFONT font, HFONT boldFont)
    : window_(window), instance_(instance), dpi_(dpi), font_(font), boldFont_(boldFont) {}

ChildControls ControlLayout::build() {
    made_.tooltips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
    for (const ControlRow* item : inTabOrder()) {
        HWND control = item->kind == Kind::Toolbar ? createToolbar(*item) : createControl(*item);
        if (item->control) made_.byControl[*item->control] = control;
    }
    for (const auto& [control, handle] : made_.byControl)
        if (itemOf(control).kind == Kind::Label) sizeLabel(control, handle);
    createProgressBar();
    return made_;
}

HWND ControlLayout::createControl(const ControlRow& item) {
    // Edges are scaled, not sizes, so that edges that meet in the reference
    // layout meet at every DPI.
    const int x = scaled(item.left), y = scaled(item.top);
    const int width = scaled(item.left + item.width) - x, height = scaled(item.top + item.height) - y;
    const std::wstring caption = wide(item.caption ? item.caption : "");
    auto create = [&](DWORD extended, const wchar_t* type, const wchar_t* text, DWORD style) {
        return CreateWindowExW(extended, type, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, window_,
                               identifierOf(item), instance_, nullptr);
    };
    HWND control = nullptr;
    switch (item.kind) {
        case Kind::Image: {
            control = create(0, L"STATIC", nullptr, SS_ICON | SS_REALSIZEIMAGE);
            const int size = pixels(32);
            SendMessageW(control, STM_SETICON,
                         reinterpret_cast<WPARAM>(
                             LoadImageW(instance_, MAKEINTRESOURCEW(IDI_BANNER), IMAGE_ICON, size, size, 0)),
                         0);
            made_.banner = control;
            return control;
        }
        case Kind::Label: control = create(0, L"STATIC", caption.c_str(), SS_LEFTNOWORDWRAP); break;
        case Kind::TextBox:
            control = create(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL);
            SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // no limit
            break;
        case Kind::CheckBox:
            control = create(0, L"BUTTON", caption.c_str(), WS_TABSTOP | BS_AUTOCHECKBOX);
            SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
            addTooltip(control, item.tooltip);
            break;
        default: break;
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(item.bold ? boldFont_ : font_), FALSE);
    if (item.kind == Kind::CheckBox) fitCheckBox(control, item);
    return control;
}

SIZE ControlLayout::textSize(HWND control, const std::wstring& text, bool bold) const {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, bold ? boldFont_ : font_);
    RECT extent{};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return SIZE{extent.right - extent.left, extent.bottom - extent.top};
}

void ControlLayout::sizeLabel(Control label, HWND control) const {
    const ControlRow& item = itemOf(label);
    std::wstring caption(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    caption.resize(static_cast<std::size_t>(GetWindowTextW(control, caption.data(), static_cast<int>(caption.size()))));
    SIZE size{scaled(item.width), scaled(item.height)};
    if (!caption.empty()) {
        size = textSize(control, caption, item.bold);
        // A static control drops the last word of a text that fills it to
        // the last pixel (Wine's does): one pixel more keeps it whole.
        size.cx += pixels(1);
    }
    const RECT now = rectIn(window_, control);
    const int left =
        isFieldCaption(item) ? std::max(0, scaled(item.left + item.width) - static_cast<int>(size.cx)) : now.left;
    SetWindowPos(control, nullptr, left, now.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The box, a gap and the caption; the right edge stays where the reference
// puts it, under the location field's.
void ControlLayout::fitCheckBox(HWND check, const ControlRow& item) const {
    std::wstring caption = wide(item.caption);
    const SIZE text = textSize(check, caption, false);
    const int box = std::max(GetSystemMetrics(SM_CXMENUCHECK), pixels(13));
    const int width = std::max(scaled(item.width), box + pixels(6) + static_cast<int>(text.cx));
    const int height = std::max({scaled(item.height), static_cast<int>(text.cy), box});
    const int right = scaled(item.left + item.width);
    const int top = scaled(item.top) - (height - scaled(item.height)) / 2;
    SetWindowPos(check, nullptr, right - width, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlLayout::addTooltip(HWND control, const std::string& text) const {
    std::wstring tip = wide(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = tip.data();
    SendMessageW(made_.tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// A slim bar under the status line, left of Toolbar1, hidden until a copy runs.
void ControlLayout::createProgressBar() {
    const ControlRow& status = itemOf(Control::Label3);
    const RECT toolbar = rectIn(window_, made_.toolbars.at(Toolbar::Toolbar1));
    const int left = scaled(status.left);
    made_.progress =
        CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD, left, scaled(status.top + status.height) + 2,
                        toolbar.left - pixels(8) - left, pixels(5), window_, nullptr, instance_, nullptr);
    SendMessageW(made_.progress, PBM_SETRANGE32, 0, 1000);
    // Its figures on the row under it, as far as the bar reaches.
    const int top = scaled(status.top + status.height) + 2 + pixels(5) + 2;
    made_.figures =
        CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | SS_LEFT | SS_NOPREFIX, left, top,
                        toolbar.left - pixels(8) - left, scaled(status.height), window_, nullptr, instance_, nullptr);
    SendMessageW(made_.figures, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

HWND ControlLayout::createToolbar(const ControlRow& item) {
    const Toolbar which = toolbarOf(item.name);
    HWND toolbar = CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NORESIZE |
            CCS_NODIVIDER | CCS_NOPARENTALIGN,
        scaled(item.left), scaled(item.top), scaled(item.left + item.width) - scaled(item.left),
        scaled(item.top + item.height) - scaled(item.top), window_, identifierOf(item), instance_, nullptr);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // A button without shown text shows it as its tooltip instead, and
    // screen readers read it as the button's name.
    SendMessageW(toolbar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    SendMessageW(toolbar, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    const int imageSize = pixels(16);
    HIMAGELIST images = ImageList_Create(imageSize, imageSize, ILC_COLOR32 | ILC_MASK, 3, 0);
    for (int image = 0; image < static_cast<int>(kImageList.size()); ++image) {
        ImageList_AddIcon(images, static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_ACEPTAR + image),
                                                                IMAGE_ICON, imageSize, imageSize, 0)));
    }
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    std::vector<std::wstring> texts;
    texts.reserve(kToolbarButtons.size());
    std::vector<TBBUTTON> buttons;
    for (const ToolbarButtonRow& entry : kToolbarButtons) {
        if (toolbarOf(entry.toolbar) != which) continue;
        TBBUTTON button{};
        button.idCommand = toolbarCommand(which, entry.number);
        button.fsState = TBSTATE_ENABLED;
        if (entry.separator) {
            button.fsStyle = BTNS_SEP;
            button.iBitmap = pixels(entry.width);
        } else {
            texts.push_back(wide(entry.caption ? entry.caption : entry.tooltip));
            button.fsStyle = static_cast<BYTE>(BTNS_BUTTON | (entry.caption ? BTNS_SHOWTEXT : 0));
            button.iBitmap = entry.image - 1;
            button.iString = reinterpret_cast<INT_PTR>(texts.back().c_str());
        }
        buttons.push_back(button);
        // The image-only toolbar is named by its button too.
        if (!entry.caption && entry.tooltip) SetWindowTextW(toolbar, texts.back().c_str());
    }
    SendMessageW(toolbar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    made_.toolbars[which] = toolbar;
    fitToolbar(toolbar, item);
    return toolbar;
}

// Each button as wide as its image and text need at this DPI, never less
// than the reference; the toolbar keeps its right edge and grows leftwards.
void ControlLayout::fitToolbar(HWND toolbar, const ControlRow& item) const {
    int width = 0, height = 0;
    for (const ToolbarButtonRow& entry : kToolbarButtons) {
        if (toolbarOf(entry.toolbar) != toolbarOf(item.name) || entry.separator) continue;
        const int text = entry.caption ? static_cast<int>(textSize(toolbar, wide(entry.caption), false).cx) : 0;
        const int needed = pixels(16) + (text > 0 ? text + pixels(4) : 0) + pixels(10);
        width = std::max({width, pixels(entry.width), needed});
        height = std::max(height, pixels(entry.height));
    }
    SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, MAKELONG(width, height));
    SendMessageW(toolbar, TB_SETBUTTONWIDTH, 0, MAKELONG(width, width));
    SIZE total{};
    SendMessageW(toolbar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&total));
    const int fullWidth = std::max(scaled(item.width), static_cast<int>(total.cx));
    const int fullHeight = std::max(scaled(item.height), static_cast<int>(total.cy));
    SetWindowPos(toolbar, nullptr, scaled(item.left + item.width) - fullWidth, scaled(item.top), fullWidth, fullHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ruror::win32
