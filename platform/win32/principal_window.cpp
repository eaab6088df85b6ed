#include "platform/win32/principal_window.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "main_window/control_table.h"
#include "main_window/messages.h"
#include "main_window/principal.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/windows_failure.h"

namespace ruror::win32 {
namespace {

using namespace window_layout;

constexpr wchar_t kClassName[] = L"RurorPrincipal";
// Toolbar buttons send their number plus their toolbar's base as command.
constexpr int kToolbar1Commands = 1000;
constexpr int kToolbar2Commands = 2000;
constexpr DWORD kPaintEveryMs = 33;
constexpr DWORD kAnswerEveryMs = 10;

Toolbar toolbarOf(const char* name) { return std::string(name) == "Toolbar1" ? Toolbar::Toolbar1 : Toolbar::Toolbar2; }

int commandOf(Toolbar toolbar, int number) {
    return (toolbar == Toolbar::Toolbar1 ? kToolbar1Commands : kToolbar2Commands) + number;
}

const ControlSpec& itemOf(Control control) {
    for (const ControlSpec& item : kControls)
        if (item.control == control) return item;
    return kControls.front();
}

// The controls in tab order, which is the order of creation: a caption's
// access key then moves the focus to the control created after it.
std::vector<const ControlSpec*> inTabOrder() {
    std::vector<const ControlSpec*> ordered;
    for (const ControlSpec& item : kControls)
        if (item.kind != Kind::Shape && item.kind != Kind::Line) ordered.push_back(&item);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
    return ordered;
}

HFONT windowFont(int dpi, bool bold) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(825, dpi, 7200);  // 8.25 point
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    wcscpy(font.lfFaceName, L"Tahoma");
    return CreateFontIndirectW(&font);
}

std::wstring windowText(HWND control) {
    std::wstring value(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    value.resize(static_cast<std::size_t>(GetWindowTextW(control, value.data(), static_cast<int>(value.size()))));
    return value;
}

// Counts characters as the handlers do; Windows' fields count UTF-16 units.
int utf16Units(const std::wstring& text, int characters) {
    int unit = 0;
    for (int i = 0; i < characters && unit < static_cast<int>(text.size()); ++i)
        unit += IS_HIGH_SURROGATE(text[unit]) ? 2 : 1;
    return std::min(unit, static_cast<int>(text.size()));
}

}  // namespace

PrincipalWindow::PrincipalWindow(HINSTANCE instance) : instance_(instance) {
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    font_ = windowFont(dpi_, false);
    boldFont_ = windowFont(dpi_, true);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_RUROR), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_RUROR), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);

    // A fixed dialog frame: a caption and a close box, no minimise or maximise.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD extended = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, scaled(kClientWidth), scaled(kClientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, extended);
    window_ = CreateWindowExW(extended, kClassName, wide(messages::kWindowCaption).c_str(), style, CW_USEDEFAULT,
                              CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              instance, this);
    tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
    createControls();
}

PrincipalWindow::~PrincipalWindow() {
    if (IsWindow(window_)) DestroyWindow(window_);
    DeleteObject(font_);
    DeleteObject(boldFont_);
}

void PrincipalWindow::createControls() {
    for (const ControlSpec* item : inTabOrder()) {
        HWND made = item->kind == Kind::Toolbar ? createToolbar(*item) : createControl(*item);
        if (item->control) controls_[*item->control] = made;
    }
    for (const auto& [control, made] : controls_)
        if (itemOf(control).kind == Kind::Label) sizeLabel(control);
    // A slim bar under the status line, left of Toolbar1, hidden until a copy runs.
    const ControlSpec& status = itemOf(Control::Label3);
    RECT toolbar{};
    GetWindowRect(toolbars_.at(Toolbar::Toolbar1), &toolbar);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&toolbar), 2);
    const int left = scaled(status.left);
    progress_ = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD, left, scaled(status.top + status.height) + 2,
                                toolbar.left - 8 - left, MulDiv(5, dpi_, 96), window_, nullptr, instance_, nullptr);
    SendMessageW(progress_, PBM_SETRANGE32, 0, 1000);
}

HWND PrincipalWindow::createControl(const ControlSpec& item) {
    const int x = scaled(item.left), y = scaled(item.top), width = scaled(item.width), height = scaled(item.height);
    // Child windows take their identifier where a menu would go.
    const auto id = reinterpret_cast<HMENU>(
        static_cast<INT_PTR>(item.control ? IDC_CONTROL_BASE + static_cast<int>(*item.control) : 0));
    const std::wstring caption = wide(item.caption ? item.caption : "");
    HWND control = nullptr;
    switch (item.kind) {
        case Kind::Image: {
            control = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON | SS_REALSIZEIMAGE, x, y,
                                      width, height, window_, id, instance_, nullptr);
            const int size = MulDiv(32, dpi_, 96);
            SendMessageW(control, STM_SETICON,
                         reinterpret_cast<WPARAM>(
                             LoadImageW(instance_, MAKEINTRESOURCEW(IDI_BANNER), IMAGE_ICON, size, size, 0)),
                         0);
            banner_ = control;
            return control;
        }
        case Kind::Label:
            control = CreateWindowExW(0, L"STATIC", caption.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, x, y, width,
                                      height, window_, id, instance_, nullptr);
            break;
        case Kind::TextBox:
            control =
                CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, x,
                                y, width, height, window_, id, instance_, nullptr);
            SendMessageW(control, EM_SETLIMITTEXT, 0, 0);  // no limit
            break;
        case Kind::CheckBox:
            control =
                CreateWindowExW(0, L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, x,
                                y, width, height, window_, id, instance_, nullptr);
            SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
            addTooltip(control, item.tooltip);
            break;
        default: break;
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(item.bold ? boldFont_ : font_), FALSE);
    return control;
}

HWND PrincipalWindow::createToolbar(const ControlSpec& item) {
    const Toolbar which = toolbarOf(item.name);
    HWND toolbar = CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NORESIZE | CCS_NODIVIDER |
            CCS_NOPARENTALIGN,
        scaled(item.left), scaled(item.top), scaled(item.width), scaled(item.height), window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(which == Toolbar::Toolbar1 ? IDC_TOOLBAR1 : IDC_TOOLBAR2)),
        instance_, nullptr);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    const int imageSize = MulDiv(16, dpi_, 96);
    HIMAGELIST images = ImageList_Create(imageSize, imageSize, ILC_COLOR32 | ILC_MASK, 3, 0);
    for (int image = 0; image < static_cast<int>(kImageList.size()); ++image) {
        ImageList_AddIcon(images, static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_ACEPTAR + image),
                                                                IMAGE_ICON, imageSize, imageSize, 0)));
    }
    SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    std::vector<std::wstring> captions;
    captions.reserve(kToolbarButtons.size());
    std::vector<TBBUTTON> buttons;
    for (const ToolbarButtonSpec& entry : kToolbarButtons) {
        if (toolbarOf(entry.toolbar) != which) continue;
        captions.push_back(wide(entry.caption ? entry.caption : ""));
        TBBUTTON button{};
        button.idCommand = commandOf(which, entry.number);
        button.fsState = TBSTATE_ENABLED;
        if (entry.separator) {
            button.fsStyle = BTNS_SEP;
            button.iBitmap = MulDiv(entry.width, dpi_, 96);
        } else {
            button.fsStyle = BTNS_BUTTON;
            button.iBitmap = entry.image - 1;
            button.iString = entry.caption ? reinterpret_cast<INT_PTR>(captions.back().c_str()) : -1;
        }
        buttons.push_back(button);
        if (entry.tooltip) addTooltip(toolbar, entry.tooltip);
    }
    const ToolbarButtonSpec& first =
        *std::find_if(kToolbarButtons.begin(), kToolbarButtons.end(),
                      [&](const ToolbarButtonSpec& b) { return toolbarOf(b.toolbar) == which; });
    SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, MAKELONG(MulDiv(first.width, dpi_, 96), MulDiv(first.height, dpi_, 96)));
    SendMessageW(toolbar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    toolbars_[which] = toolbar;
    return toolbar;
}

void PrincipalWindow::addTooltip(HWND control, const std::string& text) {
    std::wstring tip = wide(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = tip.data();
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void PrincipalWindow::sizeLabel(Control label) {
    HWND control = controls_.at(label);
    const ControlSpec& item = itemOf(label);
    const std::wstring caption = windowText(control);
    if (caption.empty()) {
        SetWindowPos(control, nullptr, 0, 0, scaled(item.width), scaled(item.height), SWP_NOMOVE | SWP_NOZORDER);
        return;
    }
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, item.bold ? boldFont_ : font_);
    RECT extent{};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    SetWindowPos(control, nullptr, 0, 0, extent.right, extent.bottom, SWP_NOMOVE | SWP_NOZORDER);
}

void PrincipalWindow::paintBandAndLines(HDC dc) {
    for (const ControlSpec& item : kControls) {
        if (item.kind == Kind::Shape) {
            const RECT band{scaled(item.left), scaled(item.top), scaled(item.left + item.width),
                            scaled(item.top + item.height)};
            FillRect(dc, &band, GetSysColorBrush(COLOR_WINDOW));
        } else if (item.kind == Kind::Line) {
            HPEN pen =
                CreatePen(PS_SOLID, 1,
                          GetSysColor(item.colour == SystemColour::ButtonShadow ? COLOR_BTNSHADOW : COLOR_3DHILIGHT));
            HGDIOBJ old = SelectObject(dc, pen);
            MoveToEx(dc, scaled(item.left), scaled(item.top), nullptr);
            LineTo(dc, scaled(item.width), scaled(item.top));
            SelectObject(dc, old);
            DeleteObject(pen);
        }
    }
}

void PrincipalWindow::showCentred() {
    RECT frame{};
    GetWindowRect(window_, &frame);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    SetForegroundWindow(window_);
    setFocus(Control::Text1);
}

int PrincipalWindow::run() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) dispatch(message);
    return static_cast<int>(message.wParam);
}

void PrincipalWindow::dispatch(MSG& message) {
    if (previewKey(message)) return;
    if (!IsDialogMessageW(window_, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PrincipalWindow::previewKey(const MSG& message) {
    if (!handlers_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) return false;
    if (message.message == WM_KEYDOWN && (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
        handlers_->keyPress(message.wParam == VK_RETURN ? 13 : 27);
        // Escape closed the window; Enter goes on to the control as well.
        return message.wParam == VK_ESCAPE;
    }
    for (const auto& [which, toolbar] : toolbars_) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_SPACE && message.hwnd == toolbar) {
            const auto hot = static_cast<int>(SendMessageW(toolbar, TB_GETHOTITEM, 0, 0));
            pressToolbarButton(toolbar, hot < 0 ? 0 : hot);
            return true;
        }
    }
    if (message.message == WM_SYSCHAR) return useAccessKey(static_cast<wchar_t>(message.wParam));
    if (message.message != WM_CHAR || message.wParam == 13 || message.wParam == 27) return false;
    const int code = static_cast<int>(message.wParam);
    handlers_->keyPress(code);
    if (message.hwnd != controls_.at(Control::Text2)) return false;
    int nameKey = code;
    handlers_->text2KeyPress(nameKey);
    return nameKey == 0;
}

// A caption's access key moves the focus to the control that follows it in
// tab order; the check box's own toggles it.
bool PrincipalWindow::useAccessKey(wchar_t key) {
    const wchar_t letter = static_cast<wchar_t>(towlower(key));
    for (const ControlSpec& item : kControls) {
        if (!item.caption || !item.control) continue;
        const std::wstring caption = wide(item.caption);
        const auto mark = caption.find(L'&');
        if (mark == std::wstring::npos || mark + 1 >= caption.size() || towlower(caption[mark + 1]) != letter) continue;
        if (item.kind == Kind::CheckBox) {
            HWND check = controls_.at(*item.control);
            if (!IsWindowVisible(check) || !IsWindowEnabled(check)) return false;
            SetFocus(check);
            SendMessageW(check, BM_CLICK, 0, 0);
            return true;
        }
        for (const ControlSpec& next : kControls) {
            if (next.tabIndex != item.tabIndex + 1 || !next.control) continue;
            HWND target = controls_.at(*next.control);
            if (!IsWindowEnabled(target)) return false;
            SetFocus(target);
            return true;
        }
    }
    return false;
}

void PrincipalWindow::pressToolbarButton(HWND toolbar, int index) {
    TBBUTTON button{};
    if (!SendMessageW(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button))) return;
    if ((button.fsStyle & BTNS_SEP) || !(button.fsState & TBSTATE_ENABLED)) return;
    SendMessageW(window_, WM_COMMAND, MAKEWPARAM(button.idCommand, BN_CLICKED), reinterpret_cast<LPARAM>(toolbar));
}

LRESULT CALLBACK PrincipalWindow::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<PrincipalWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    }
    auto* self = reinterpret_cast<PrincipalWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT PrincipalWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORSTATIC: {
            // Captions are drawn on what lies under them: the band or the window.
            const auto control = reinterpret_cast<HWND>(lParam);
            const bool onBand = control == controls_[Control::Label2] || control == banner_;
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetSysColorBrush(onBand ? COLOR_WINDOW : COLOR_BTNFACE));
        }
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            HDC dc = BeginPaint(window_, &paint);
            paintBandAndLines(dc);
            EndPaint(window_, &paint);
            return 0;
        }
        case WM_COMMAND: {
            const int command = LOWORD(wParam);
            if (handlers_ && HIWORD(wParam) == EN_SETFOCUS && !restoringFocus_) {
                const auto field = reinterpret_cast<HWND>(lParam);
                if (field == controls_[Control::Text1]) handlers_->text1GotFocus();
                if (field == controls_[Control::Text2]) handlers_->text2GotFocus();
                return 0;
            }
            if (!handlers_ || command <= kToolbar1Commands) break;
            if (command > kToolbar2Commands) {
                handlers_->toolbar2ButtonClick();
            } else {
                for (const ToolbarButtonSpec& entry : kToolbarButtons) {
                    if (commandOf(toolbarOf(entry.toolbar), entry.number) == command)
                        handlers_->toolbar1ButtonClick(entry.caption ? entry.caption : "");
                }
            }
            return 0;
        }
        // As a dialog manager does: the focused control is kept while another
        // window (a box, the folder browser) is active, and given back when
        // this one is active again. Left to the frame, the focus would make
        // plain letters work as access keys.
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                rememberFocus();
                break;
            }
            restoreFocus();
            return 0;
        case WM_SETFOCUS: restoreFocus(); return 0;
        case WM_SETCURSOR:
            if (!busy_) break;
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        case WM_CLOSE: {
            bool cancel = false;
            if (handlers_) handlers_->unload(cancel);
            if (!cancel) DestroyWindow(window_);
            return 0;
        }
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void PrincipalWindow::rememberFocus() {
    HWND focused = GetFocus();
    if (focused != nullptr && IsChild(window_, focused)) lastFocus_ = focused;
}

// The control that had the focus, where it can still take it; otherwise the
// first one in tab order that can. The focus coming back is no new focus for
// the handlers, so a field keeps its selection and its caret.
void PrincipalWindow::restoreFocus() {
    HWND target = lastFocus_;
    if (target == nullptr || !IsWindow(target) || !IsWindowEnabled(target) || !IsWindowVisible(target))
        target = GetNextDlgTabItem(window_, nullptr, FALSE);
    if (target == nullptr) return;
    restoringFocus_ = true;
    SetFocus(target);
    restoringFocus_ = false;
}

std::string PrincipalWindow::text(Control field) const { return utf8(windowText(controls_.at(field))); }

void PrincipalWindow::setText(Control field, const std::string& value) {
    SetWindowTextW(controls_.at(field), wide(value).c_str());
}

void PrincipalWindow::setSelection(Control field, int start, int length) {
    HWND control = controls_.at(field);
    const std::wstring value = windowText(control);
    SendMessageW(control, EM_SETSEL, utf16Units(value, start), utf16Units(value, start + length));
}

void PrincipalWindow::setFocus(Control control) { SetFocus(controls_.at(control)); }

void PrincipalWindow::setEnabled(Control control, bool enabled) { EnableWindow(controls_.at(control), enabled); }

void PrincipalWindow::setButtonEnabled(Toolbar toolbar, int button, bool enabled) {
    SendMessageW(toolbars_.at(toolbar), TB_ENABLEBUTTON, commandOf(toolbar, button), MAKELONG(enabled, 0));
}

void PrincipalWindow::setVisible(Control control, bool visible) {
    ShowWindow(controls_.at(control), visible ? SW_SHOW : SW_HIDE);
}

// Whether the control is meant to be seen, also before the window is shown.
bool PrincipalWindow::isVisible(Control control) const {
    return (GetWindowLongW(controls_.at(control), GWL_STYLE) & WS_VISIBLE) != 0;
}

int PrincipalWindow::checkState(Control checkBox) const {
    return SendMessageW(controls_.at(checkBox), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void PrincipalWindow::setCaptionAndRepaint(Control label, const std::string& caption) {
    setCaption(label, caption);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void PrincipalWindow::setCaption(Control label, const std::string& caption) {
    HWND control = controls_.at(label);
    // The old caption's place is repainted too, as the label draws on what lies under it.
    RECT old{};
    GetWindowRect(control, &old);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&old), 2);
    SetWindowTextW(control, wide(caption).c_str());
    sizeLabel(label);
    InvalidateRect(window_, &old, TRUE);
}

void PrincipalWindow::setBusyPointer(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void PrincipalWindow::setProgress(long long done, long long total) {
    if (total <= 0) {
        ShowWindow(progress_, SW_HIDE);
        return;
    }
    // Painted at most about 30 times a second, whatever the pieces' size.
    const DWORD now = GetTickCount();
    if (IsWindowVisible(progress_) && done < total && now - progressPaintedAt_ < kPaintEveryMs) return;
    SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(done * 1000 / total), 0);
    ShowWindow(progress_, SW_SHOW);
    progressPaintedAt_ = now;
}

void PrincipalWindow::processEvents() {
    const DWORD now = GetTickCount();
    if (now - eventsProcessedAt_ < kAnswerEveryMs) return;
    eventsProcessedAt_ = now;
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        dispatch(message);
    }
}

void PrincipalWindow::postTabToFocusedControl() {
    if (HWND focused = GetFocus()) PostMessageW(focused, WM_KEYDOWN, VK_TAB, 0);
}

void PrincipalWindow::close() { SendMessageW(window_, WM_CLOSE, 0, 0); }

}  // namespace ruror::win32
