#include "TextView.h"

#include <richedit.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "CaretMotion.h"
#include "TextLayout.h"
#include "ViewLogic.h"

namespace ui {

namespace {

constexpr int kDefaultTabTwips = 720;
// The width of the highlight of a selected line end.
constexpr int kLineEndCell = 4;

class View {
public:
    explicit View(HWND window) : window_(window) {}
    LRESULT Handle(UINT message, WPARAM w, LPARAM l);

private:
    void SetText(std::string text);
    void SetFont(HFONT font, bool redraw);
    void SetTabStops(const PARAFORMAT& format);
    void Remeasure();
    void Paint();
    void PaintLine(HDC dc, std::size_t line, int y, const RECT& client);
    void UpdateScrollBars();
    void ScrollTo(long long top, long long left);
    void OnScroll(int bar, int code);
    void OnKey(WPARAM key);
    void OnMouse(LPARAM where, bool extend);
    void OnFocus(bool focused);
    bool OnDialogKey(WPARAM key) const;
    void Select(Selection selection);
    void PlaceCaret() const;
    void ScrollCaretIntoView();
    void Copy() const;
    int VisibleLines() const;
    int ClientWidth() const;
    Viewport Sight() const;
    LRESULT GetText(WPARAM size, char* buffer) const;

    HWND window_;
    TextLayout layout_;
    HFONT font_ = nullptr;
    int lineHeight_ = 16;
    int twipsPerInchX_ = 96;
    std::vector<LONG> tabTwips_;
    Scroll scroll_;
    Selection selection_;
    int caretX_ = 0;  // the pixel column that up and down keep to
    bool focused_ = false;
};

void View::SetText(std::string text) {
    layout_.SetText(std::move(text));
    scroll_ = Scroll{};
    selection_ = Selection{};
    caretX_ = 0;
    UpdateScrollBars();
    PlaceCaret();
    InvalidateRect(window_, nullptr, TRUE);
}

void View::SetFont(HFONT font, bool redraw) {
    font_ = font;
    Remeasure();
    if (redraw) InvalidateRect(window_, nullptr, TRUE);
}

void View::SetTabStops(const PARAFORMAT& format) {
    if (!(format.dwMask & PFM_TABSTOPS)) return;
    const int count = std::min<int>(format.cTabCount, MAX_TAB_STOPS);
    tabTwips_.assign(format.rgxTabs, format.rgxTabs + std::max(count, 0));
    Remeasure();
    InvalidateRect(window_, nullptr, TRUE);
}

// Character widths and tab stops in pixels of the current font and screen.
void View::Remeasure() {
    HDC dc = GetDC(window_);
    HGDIOBJ old = SelectObject(dc, font_ ? font_ : GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    lineHeight_ = std::max<int>(metrics.tmHeight + metrics.tmExternalLeading, 1);
    TextLayout::CharWidths widths(256, metrics.tmAveCharWidth);
    INT measured[256];
    if (GetCharWidth32A(dc, 0, 255, measured)) widths.assign(measured, measured + 256);
    twipsPerInchX_ = GetDeviceCaps(dc, LOGPIXELSX);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    std::vector<int> stops;
    for (LONG twips : tabTwips_) stops.push_back(MulDiv(twips & 0xFFFFFF, twipsPerInchX_, 1440));
    layout_.SetMetrics(std::move(widths), std::move(stops), MulDiv(kDefaultTabTwips, twipsPerInchX_, 1440));
    UpdateScrollBars();
}

int View::VisibleLines() const {
    RECT client;
    GetClientRect(window_, &client);
    return std::max<int>((client.bottom - client.top) / lineHeight_, 1);
}

int View::ClientWidth() const {
    RECT client;
    GetClientRect(window_, &client);
    return std::max<int>(client.right - client.left - 2 * kTextMargin, 1);
}

Viewport View::Sight() const {
    return Viewport{static_cast<std::size_t>(VisibleLines()), ClientWidth()};
}

void View::UpdateScrollBars() {
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    info.nMax = static_cast<int>(std::min<std::size_t>(layout_.LineCount(), INT_MAX) - 1);
    info.nPage = static_cast<UINT>(VisibleLines());
    info.nPos = static_cast<int>(scroll_.top);
    SetScrollInfo(window_, SB_VERT, &info, TRUE);
    info.nMax = layout_.MaxWidth() + kTextMargin;
    info.nPage = static_cast<UINT>(ClientWidth());
    info.nPos = scroll_.left;
    SetScrollInfo(window_, SB_HORZ, &info, TRUE);
}

void View::ScrollTo(long long top, long long left) {
    const Scroll wanted = ClampScroll(layout_, top, left, Sight());
    if (wanted == scroll_) return;
    scroll_ = wanted;
    UpdateScrollBars();
    PlaceCaret();
    InvalidateRect(window_, nullptr, TRUE);
}

void View::OnScroll(int bar, int code) {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(window_, bar, &info);
    const long long step = bar == SB_VERT ? 1 : std::max(lineHeight_, 8);
    const long long page = bar == SB_VERT ? std::max(VisibleLines() - 1, 1) : ClientWidth();
    long long pos = info.nPos;
    switch (code) {
    case SB_LINEUP: pos -= step; break;
    case SB_LINEDOWN: pos += step; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
    }
    if (bar == SB_VERT)
        ScrollTo(pos, scroll_.left);
    else
        ScrollTo(static_cast<long long>(scroll_.top), pos);
}

std::optional<Motion> MotionOf(WPARAM key, bool control) {
    switch (key) {
    case VK_LEFT: return Motion::Left;
    case VK_RIGHT: return Motion::Right;
    case VK_UP: return Motion::Up;
    case VK_DOWN: return Motion::Down;
    case VK_PRIOR: return Motion::PageUp;
    case VK_NEXT: return Motion::PageDown;
    case VK_HOME: return control ? Motion::TextStart : Motion::LineStart;
    case VK_END: return control ? Motion::TextEnd : Motion::LineEnd;
    default: return std::nullopt;
    }
}

// The caret keys move the caret, with Shift the selection's moving end, and
// bring it into sight.
void View::OnKey(WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (const std::optional<Motion> motion = MotionOf(key, control)) {
        const auto page = static_cast<std::size_t>(std::max(VisibleLines() - 1, 1));
        const Caret moved = MoveCaret(layout_, Caret{selection_.caret, caretX_}, *motion, page);
        Select({GetKeyState(VK_SHIFT) < 0 ? selection_.anchor : moved.offset, moved.offset});
        caretX_ = moved.x;
        ScrollCaretIntoView();
        return;
    }
    if (key == 'A' && control) Select({0, layout_.Text().size()});
    if ((key == 'C' || key == VK_INSERT) && control) Copy();
}

// The keys a dialog would take, handled as the Rich Edit control of the
// same styles handles them in a dialog: Enter does nothing (ES_WANTRETURN
// on read-only text), Escape asks the dialog to close (WM_CLOSE, as the
// close box does), Tab and Shift+Tab move the focus on or back.
bool View::OnDialogKey(WPARAM key) const {
    const HWND dialog = GetParent(window_);
    switch (key) {
    case VK_RETURN: return true;
    case VK_ESCAPE:
        if (dialog) PostMessageA(dialog, WM_CLOSE, 0, 0);
        return true;
    case VK_TAB:
        if (dialog) SendMessageA(dialog, WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
        return true;
    default: return false;
    }
}

void View::OnMouse(LPARAM where, bool extend) {
    POINT point{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    // Dragging past the top or bottom edge scrolls a line at a time.
    const auto top = static_cast<long long>(scroll_.top);
    if (point.y < 0) ScrollTo(top - 1, scroll_.left);
    if (point.y >= VisibleLines() * lineHeight_) ScrollTo(top + 1, scroll_.left);
    const std::size_t at = OffsetAt(layout_, scroll_, point.x, point.y, lineHeight_);
    Select({extend ? selection_.anchor : at, at});
}

void View::OnFocus(bool focused) {
    focused_ = focused;
    if (focused) {
        CreateCaret(window_, nullptr, 1, lineHeight_);
        PlaceCaret();
        ShowCaret(window_);
    } else {
        DestroyCaret();
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void View::Select(Selection selection) {
    const std::size_t size = layout_.Text().size();
    selection_ = Selection{std::min(selection.anchor, size), std::min(selection.caret, size)};
    caretX_ = CaretX(layout_, selection_.caret);
    PlaceCaret();
    InvalidateRect(window_, nullptr, TRUE);
}

void View::PlaceCaret() const {
    if (!focused_) return;
    const long long line = static_cast<long long>(layout_.LineOf(selection_.caret)) -
                           static_cast<long long>(scroll_.top);
    // Out of sight the caret is parked just above the view.
    const long long y = std::clamp(line, -1LL, static_cast<long long>(VisibleLines())) * lineHeight_;
    SetCaretPos(kTextMargin - scroll_.left + CaretX(layout_, selection_.caret), static_cast<int>(y));
}

void View::ScrollCaretIntoView() {
    const Scroll shown = ScrollToShow(layout_, scroll_, selection_.caret, Sight());
    ScrollTo(static_cast<long long>(shown.top), shown.left);
}

void View::Copy() const {
    if (selection_.Begin() == selection_.End() || !OpenClipboard(window_)) return;
    const std::string text = CopyText(layout_.Text(), selection_);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (memory) {
        std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        EmptyClipboard();
        if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
}

LRESULT View::GetText(WPARAM size, char* buffer) const {
    if (!buffer || size == 0) return 0;
    const std::size_t count = std::min<std::size_t>(size - 1, layout_.Text().size());
    std::memcpy(buffer, layout_.Text().data(), count);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

// The selected part of a line, tab gaps included, is filled first, with a
// narrow cell for a selected line end; the text is drawn over it.
void View::PaintLine(HDC dc, std::size_t line, int y, const RECT& client) {
    const std::size_t start = layout_.LineStart(line);
    // Without the focus the selection is not shown.
    const Selection shown = focused_ ? selection_ : Selection{selection_.Begin(), selection_.Begin()};
    const int x0 = kTextMargin - scroll_.left;
    const std::array<int, 2> span = HighlightSpan(layout_, line, shown, kLineEndCell);
    RECT selected{x0 + span[0], y, x0 + span[1], y + lineHeight_};
    if (selected.right > selected.left) FillRect(dc, &selected, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetBkMode(dc, TRANSPARENT);
    layout_.ForEachPiece(line, [&](std::size_t column, int x, std::size_t length) {
        if (x0 + x > client.right) return;
        const std::size_t a = start + column;
        const std::array<std::size_t, 4> cut = SelectionCuts(a, a + length, shown);
        for (int part = 0; part < 3; ++part) {
            if (cut[part] == cut[part + 1]) continue;
            SetTextColor(dc, GetSysColor(part == 1 ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            const int at = x0 + layout_.XOf(line, cut[part] - start);
            TextOutA(dc, at, y, layout_.Text().data() + cut[part], static_cast<int>(cut[part + 1] - cut[part]));
        }
    });
}

void View::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ old = SelectObject(dc, font_ ? font_ : GetStockObject(SYSTEM_FONT));
    const std::size_t first = scroll_.top + static_cast<std::size_t>(std::max<LONG>(paint.rcPaint.top, 0) / lineHeight_);
    for (std::size_t line = first; line < layout_.LineCount(); ++line) {
        const int y = static_cast<int>(line - scroll_.top) * lineHeight_;
        if (y >= paint.rcPaint.bottom) break;
        PaintLine(dc, line, y, client);
    }
    SelectObject(dc, old);
    EndPaint(window_, &paint);
}

LRESULT View::Handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_SETTEXT: SetText(l ? std::string(reinterpret_cast<const char*>(l)) : std::string()); return TRUE;
    case TextView::kTakeText: SetText(std::move(*reinterpret_cast<std::string*>(l))); return TRUE;
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(std::min<std::size_t>(layout_.Text().size(), INT_MAX));
    case WM_GETTEXT: return GetText(w, reinterpret_cast<char*>(l));
    case WM_SETFONT: SetFont(reinterpret_cast<HFONT>(w), LOWORD(l) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case EM_SETPARAFORMAT: if (l) SetTabStops(*reinterpret_cast<const PARAFORMAT*>(l)); return TRUE;
    case EM_EXLIMITTEXT: return 0;
    case EM_GETLINECOUNT: return static_cast<LRESULT>(layout_.LineCount());
    case EM_GETFIRSTVISIBLELINE: return static_cast<LRESULT>(scroll_.top);
    case EM_SETSEL:
        Select(SelectRange(static_cast<int>(w), static_cast<int>(l), layout_.Text().size(), selection_.caret));
        return 0;
    case EM_GETSEL: {
        const auto begin = static_cast<DWORD>(selection_.Begin());
        const auto end = static_cast<DWORD>(selection_.End());
        if (w) *reinterpret_cast<DWORD*>(w) = begin;
        if (l) *reinterpret_cast<DWORD*>(l) = end;
        return MAKELRESULT(std::min<DWORD>(begin, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
    }
    case EM_SCROLLCARET: ScrollCaretIntoView(); return 0;
    case WM_COPY: Copy(); return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: UpdateScrollBars(); ScrollTo(static_cast<long long>(scroll_.top), scroll_.left); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(w)); return 0;
    case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(w)); return 0;
    case WM_MOUSEWHEEL: {
        UINT lines = 3;
        SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        ScrollTo(static_cast<long long>(scroll_.top) - GET_WHEEL_DELTA_WPARAM(w) * static_cast<int>(lines) / WHEEL_DELTA,
                 scroll_.left);
        return 0;
    }
    case WM_KEYDOWN: if (!OnDialogKey(w)) OnKey(w); return 0;
    // Every key comes here, as to the Rich Edit control.
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_HASSETSEL | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
        SetFocus(window_);
        SetCapture(window_);
        OnMouse(l, (w & MK_SHIFT) != 0);
        return 0;
    case WM_MOUSEMOVE: if (GetCapture() == window_) OnMouse(l, true); return 0;
    case WM_LBUTTONUP: if (GetCapture() == window_) ReleaseCapture(); return 0;
    case WM_SETFOCUS: OnFocus(true); return 0;
    case WM_KILLFOCUS: OnFocus(false); return 0;
    default: return DefWindowProcA(window_, message, w, l);
    }
}

LRESULT CALLBACK ViewProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto* view = reinterpret_cast<View*>(GetWindowLongPtrA(window, 0));
    if (message == WM_NCCREATE) {
        view = new View(window);
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(view));
    }
    if (!view) return DefWindowProcA(window, message, w, l);
    const LRESULT result = view->Handle(message, w, l);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, 0, 0);
        delete view;
    }
    return result;
}

}  // namespace

const char* TextView::ClassName() { return "VekTextView"; }

void TextView::Register() {
    WNDCLASSA type{};
    type.lpfnWndProc = ViewProcedure;
    type.cbWndExtra = sizeof(View*);
    type.hInstance = GetModuleHandleA(nullptr);
    type.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    type.lpszClassName = ClassName();
    RegisterClassA(&type);
}

}  // namespace ui
