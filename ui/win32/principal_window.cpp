#include "ui/win32/principal_window.h"

#include <algorithm>
#include <vector>

#include "main_window/control_table.h"
#include "main_window/messages.h"
#include "main_window/principal.h"
#include "os/win32/wide_text.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/window_painting.h"

namespace ruror::win32 {
namespace {

using namespace window_layout;

constexpr wchar_t kClassName[] = L"RurorPrincipal";
constexpr DWORD kPaintEveryMs = 33;
constexpr DWORD kAnswerEveryMs = 10;
// Posted to make a box shown over the window active again.
constexpr UINT kBoxActivation = WM_APP + 1;

HFONT windowFont(int dpi, bool bold) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(825, dpi, 7200);  // 8.25 point
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    wcscpy(font.lfFaceName, L"Tahoma");
    return CreateFontIndirectW(&font);
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
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

void registerWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
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
}

}  // namespace

PrincipalWindow::PrincipalWindow(HINSTANCE instance, int dpi) : instance_(instance), dpi_(dpi > 0 ? dpi : screenDpi()) {
    font_ = windowFont(dpi_, false);
    boldFont_ = windowFont(dpi_, true);
    registerWindowClass(instance);

    // A fixed dialog frame: a caption and a close box, no minimise or maximise.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD extended = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, MulDiv(kClientWidth, dpi_, 1440), MulDiv(kClientHeight, dpi_, 1440)};
    AdjustWindowRectEx(&frame, style, FALSE, extended);
    window_ = CreateWindowExW(extended, kClassName, wide(messages::kWindowCaption).c_str(), style, CW_USEDEFAULT,
                              CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              instance, nullptr);
    layout_ = std::make_unique<ControlLayout>(window_, instance_, dpi_, font_, boldFont_);
    controls_ = layout_->build();
    for (const auto& [which, toolbar] : controls_.toolbars)
        keyboards_[which] = std::make_unique<ToolbarKeyboard>(toolbar, which);
    // Messages come here from now on, with every control in place.
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProcedure));
}

PrincipalWindow::~PrincipalWindow() {
    keyboards_.clear();
    if (IsWindow(window_)) DestroyWindow(window_);
    DeleteObject(font_);
    DeleteObject(boldFont_);
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

ToolbarKeyboard* PrincipalWindow::keyboardOf(HWND toolbar) const {
    for (const auto& [which, keyboard] : keyboards_)
        if (keyboard->toolbar() == toolbar) return keyboard.get();
    return nullptr;
}

bool PrincipalWindow::previewKey(const MSG& message) {
    if (!handlers_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) return false;
    ToolbarKeyboard* toolbar = keyboardOf(message.hwnd);
    if (message.message == WM_KEYDOWN && (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
        return handlers_->keyPress(message.wParam == VK_RETURN ? 13 : 27);
    }
    if (message.message == WM_KEYDOWN && toolbar != nullptr && toolbar->keyDown(message.wParam)) return true;
    if (message.message == WM_SYSCHAR) return useAccessKey(static_cast<wchar_t>(message.wParam));
    if (message.message != WM_CHAR || message.wParam == 13 || message.wParam == 27) return false;
    const int code = static_cast<int>(message.wParam);
    handlers_->keyPress(code);
    if (message.hwnd != control(Control::Text2)) return false;
    int nameKey = code;
    handlers_->text2KeyPress(nameKey);
    return nameKey == 0;
}

// A caption's access key moves the focus to the control that follows it in
// tab order; the check box's own toggles it.
bool PrincipalWindow::useAccessKey(wchar_t key) {
    const auto letter = static_cast<wchar_t>(towlower(key));
    for (const ControlRow& item : kControls) {
        if (!item.caption || !item.control) continue;
        const std::wstring caption = wide(item.caption);
        const auto mark = caption.find(L'&');
        if (mark == std::wstring::npos || mark + 1 >= caption.size() || towlower(caption[mark + 1]) != letter) continue;
        if (item.kind == Kind::CheckBox) {
            HWND check = control(*item.control);
            if (!IsWindowVisible(check) || !IsWindowEnabled(check)) return false;
            SetFocus(check);
            SendMessageW(check, BM_CLICK, 0, 0);
            return true;
        }
        for (const ControlRow& next : kControls) {
            if (next.tabIndex != item.tabIndex + 1 || !next.control) continue;
            HWND target = control(*next.control);
            if (!IsWindowEnabled(target)) return false;
            SetFocus(target);
            return true;
        }
    }
    return false;
}

LRESULT CALLBACK PrincipalWindow::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PrincipalWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT PrincipalWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORSTATIC: {
            // Captions are drawn on what lies under them: the band or the window.
            const auto control = reinterpret_cast<HWND>(lParam);
            const bool onBand = control == controls_.byControl[Control::Label2] || control == controls_.banner;
            return reinterpret_cast<LRESULT>(captionBackground(reinterpret_cast<HDC>(wParam), onBand));
        }
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            HDC dc = BeginPaint(window_, &paint);
            paintBandAndLines(dc, *layout_);
            EndPaint(window_, &paint);
            return 0;
        }
        case WM_NOTIFY: {
            const auto* notice = reinterpret_cast<const NMHDR*>(lParam);
            ToolbarKeyboard* keyboard = keyboardOf(notice->hwndFrom);
            if (notice->code == static_cast<UINT>(NM_CUSTOMDRAW) && keyboard != nullptr)
                return keyboard->customDraw(*reinterpret_cast<const NMTBCUSTOMDRAW*>(lParam));
            break;
        }
        case WM_COMMAND: command(wParam, lParam); return 0;
        // As a dialog manager does: the focused control is kept while another
        // window (a box, the folder browser) is active, and given back when
        // this one is active again. Left to the frame, the focus would make
        // plain letters work as access keys.
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                rememberFocus();
                break;
            }
            if (giveActivationToBox()) return 0;
            restoreFocus();
            return 0;
        case WM_SETFOCUS:
            if (!giveActivationToBox()) restoreFocus();
            return 0;
        case kBoxActivation:
            if (HWND box = GetWindow(window_, GW_ENABLEDPOPUP)) SetForegroundWindow(box);
            return 0;
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
        // The session ends (logout, shutdown): a running backup stops where
        // it is, with no question and no box, and Windows is told why it
        // waits the moment that takes; the program then ends by itself.
        case WM_QUERYENDSESSION:
            if (!handlers_ || !handlers_->copying()) return TRUE;
            handlers_->sessionEnding();
            ShutdownBlockReasonCreate(window_, L"Deteniendo el respaldo y quitando sus archivos a medio copiar.");
            return FALSE;
        case WM_ENDSESSION:
            if (wParam && handlers_) handlers_->sessionEnding();
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void PrincipalWindow::command(WPARAM wParam, LPARAM lParam) {
    if (!handlers_) return;
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) == EN_SETFOCUS) {
        const auto field = reinterpret_cast<HWND>(lParam);
        const FocusArrival arrival = restoringFocus_ ? FocusArrival::Returned : FocusArrival::Moved;
        if (field == control(Control::Text1)) handlers_->text1GotFocus(arrival);
        if (field == control(Control::Text2)) handlers_->text2GotFocus(arrival);
        return;
    }
    if (id > kToolbar2Commands) {
        handlers_->toolbar2ButtonClick();
        return;
    }
    for (const ToolbarButtonRow& entry : kToolbarButtons) {
        if (std::string(entry.toolbar) == "Toolbar1" && toolbarCommand(Toolbar::Toolbar1, entry.number) == id)
            handlers_->toolbar1ButtonClick(entry.caption ? entry.caption : "");
    }
}

// A box shown over the window owns the keyboard for as long as it is up:
// where the window is made active under it (as Wine does, on a display
// without a window manager, when one box follows another), the box is made
// active again once this activation is over.
bool PrincipalWindow::giveActivationToBox() {
    // A modal box disables its owner while it is up.
    if (IsWindowEnabled(window_)) return false;
    HWND box = GetWindow(window_, GW_ENABLEDPOPUP);
    if (box == nullptr || box == window_) return false;
    PostMessageW(window_, kBoxActivation, 0, 0);
    return true;
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

std::string PrincipalWindow::text(Control field) const { return utf8(windowText(control(field))); }

void PrincipalWindow::setText(Control field, const std::string& value) {
    SetWindowTextW(control(field), wide(value).c_str());
}

void PrincipalWindow::setSelection(Control field, int start, int length) {
    HWND edit = control(field);
    const std::wstring value = windowText(edit);
    SendMessageW(edit, EM_SETSEL, utf16Units(value, start), utf16Units(value, start + length));
}

void PrincipalWindow::setFocus(Control target) { SetFocus(control(target)); }

std::optional<ToolbarButton> PrincipalWindow::markedButton() const {
    for (const auto& [which, keyboard] : keyboards_) {
        if (GetFocus() != keyboard->toolbar()) continue;
        if (const int number = keyboard->marked()) return ToolbarButton{which, number};
    }
    return std::nullopt;
}

void PrincipalWindow::setEnabled(Control target, bool enabled) { EnableWindow(control(target), enabled); }

void PrincipalWindow::setButtonEnabled(Toolbar which, int button, bool enabled) {
    SendMessageW(toolbar(which), TB_ENABLEBUTTON, toolbarCommand(which, button), MAKELONG(enabled, 0));
}

void PrincipalWindow::setVisible(Control target, bool visible) {
    ShowWindow(control(target), visible ? SW_SHOW : SW_HIDE);
}

// Whether the control is meant to be seen, also before the window is shown.
bool PrincipalWindow::isVisible(Control target) const {
    return (GetWindowLongW(control(target), GWL_STYLE) & WS_VISIBLE) != 0;
}

int PrincipalWindow::checkState(Control checkBox) const {
    return SendMessageW(control(checkBox), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void PrincipalWindow::setCaptionAndRepaint(Control label, const std::string& caption) {
    setCaption(label, caption);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void PrincipalWindow::setCaption(Control label, const std::string& caption) {
    HWND shown = control(label);
    // The old caption's place is repainted too, as the label draws on what lies under it.
    RECT old{};
    GetWindowRect(shown, &old);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&old), 2);
    SetWindowTextW(shown, wide(caption).c_str());
    layout_->sizeLabel(label, shown);
    InvalidateRect(window_, &old, TRUE);
}

void PrincipalWindow::setBusyPointer(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void PrincipalWindow::setProgress(long long done, long long total) {
    if (total <= 0) {
        ShowWindow(controls_.progress, SW_HIDE);
        return;
    }
    // Painted at most about 30 times a second, whatever the pieces' size.
    const DWORD now = GetTickCount();
    if (IsWindowVisible(controls_.progress) && done < total && now - progressPaintedAt_ < kPaintEveryMs) return;
    SendMessageW(controls_.progress, PBM_SETPOS, static_cast<WPARAM>(done * 1000 / total), 0);
    ShowWindow(controls_.progress, SW_SHOW);
    progressPaintedAt_ = now;
}

void PrincipalWindow::setProgressFigures(const std::string& figures) {
    SetWindowTextW(controls_.figures, wide(figures).c_str());
    ShowWindow(controls_.figures, figures.empty() ? SW_HIDE : SW_SHOW);
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
