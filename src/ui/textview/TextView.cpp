#include "TextView.h"

#include <richedit.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "CaretMotion.h"
#include "TextLayout.h"

namespace ui {

namespace {

constexpr int kMargin = 2;
constexpr int kDefaultTabTwips = 720;

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
    void Select(std::size_t anchor, std::size_t caret);
    int CaretX() const;
    void PlaceCaret() const;
    void ScrollCaretIntoView();
    void Copy() const;
    std::size_t OffsetAt(POINT point) const;
    int VisibleLines() const;
    int ClientWidth() const;
    LRESULT GetText(WPARAM size, char* buffer) const;

    HWND window_;
    TextLayout layout_;
    HFONT font_ = nullptr;
    int lineHeight_ = 16;
    int twipsPerInchX_ = 96;
    std::vector<LONG> tabTwips_;
    std::size_t top_ = 0;
    int left_ = 0;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    int caretX_ = 0;  // the pixel column that up and down keep to
    bool focused_ = false;
};

void View::SetText(std::string text) {
    layout_.SetText(std::move(text));
    top_ = 0;
    left_ = 0;
    anchor_ = caret_ = 0;
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
    return std::max<int>(client.right - client.left - 2 * kMargin, 1);
}

void View::UpdateScrollBars() {
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    info.nMax = static_cast<int>(std::min<std::size_t>(layout_.LineCount(), INT_MAX) - 1);
    info.nPage = static_cast<UINT>(VisibleLines());
    info.nPos = static_cast<int>(top_);
    SetScrollInfo(window_, SB_VERT, &info, TRUE);
    info.nMax = layout_.MaxWidth() + kMargin;
    info.nPage = static_cast<UINT>(ClientWidth());
    info.nPos = left_;
    SetScrollInfo(window_, SB_HORZ, &info, TRUE);
}

void View::ScrollTo(long long top, long long left) {
    const long long lastTop = static_cast<long long>(layout_.LineCount()) - VisibleLines();
    const long long lastLeft = static_cast<long long>(layout_.MaxWidth()) + kMargin - ClientWidth();
    top = std::max(0LL, std::min(top, lastTop));
    left = std::max(0LL, std::min(left, lastLeft));
    if (static_cast<std::size_t>(top) == top_ && left == left_) return;
    top_ = static_cast<std::size_t>(top);
    left_ = static_cast<int>(left);
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
        ScrollTo(pos, left_);
    else
        ScrollTo(static_cast<long long>(top_), pos);
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
        const Caret moved = MoveCaret(layout_, Caret{caret_, caretX_}, *motion, page);
        Select(GetKeyState(VK_SHIFT) < 0 ? anchor_ : moved.offset, moved.offset);
        caretX_ = moved.x;
        ScrollCaretIntoView();
        return;
    }
    if (key == 'A' && control) Select(0, layout_.Text().size());
    if ((key == 'C' || key == VK_INSERT) && control) Copy();
}

std::size_t View::OffsetAt(POINT point) const {
    long long line = static_cast<long long>(top_) + (point.y >= 0 ? point.y / lineHeight_ : -1);
    line = std::max(0LL, std::min(line, static_cast<long long>(layout_.LineCount()) - 1));
    const auto index = static_cast<std::size_t>(line);
    return layout_.LineStart(index) + layout_.ColumnAt(index, point.x - kMargin + left_);
}

void View::OnMouse(LPARAM where, bool extend) {
    POINT point{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    // Dragging past the top or bottom edge scrolls a line at a time.
    if (point.y < 0) ScrollTo(static_cast<long long>(top_) - 1, left_);
    if (point.y >= VisibleLines() * lineHeight_)
        ScrollTo(static_cast<long long>(top_) + 1, left_);
    const std::size_t at = OffsetAt(point);
    Select(extend ? anchor_ : at, at);
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

void View::Select(std::size_t anchor, std::size_t caret) {
    const std::size_t size = layout_.Text().size();
    anchor_ = std::min(anchor, size);
    caret_ = std::min(caret, size);
    caretX_ = CaretX();
    PlaceCaret();
    InvalidateRect(window_, nullptr, TRUE);
}

// The caret's pixel position in its line, from the line's left edge.
int View::CaretX() const {
    const std::size_t line = layout_.LineOf(caret_);
    return layout_.XOf(line, caret_ - layout_.LineStart(line));
}

void View::PlaceCaret() const {
    if (!focused_) return;
    const long long line = static_cast<long long>(layout_.LineOf(caret_)) - static_cast<long long>(top_);
    // Out of sight the caret is parked just above the view.
    const long long y = std::clamp(line, -1LL, static_cast<long long>(VisibleLines())) * lineHeight_;
    SetCaretPos(kMargin - left_ + CaretX(), static_cast<int>(y));
}

void View::ScrollCaretIntoView() {
    const std::size_t line = layout_.LineOf(caret_);
    long long top = static_cast<long long>(top_);
    if (line < top_) top = static_cast<long long>(line);
    if (line >= top_ + static_cast<std::size_t>(VisibleLines())) top = static_cast<long long>(line) - VisibleLines() + 1;
    const int x = CaretX();
    long long left = left_;
    if (x < left_) left = x;
    if (x >= left_ + ClientWidth()) left = static_cast<long long>(x) - ClientWidth() + 1;
    ScrollTo(top, left);
}

// The selection goes to the clipboard as text with CR LF line ends.
void View::Copy() const {
    const std::size_t begin = std::min(anchor_, caret_);
    const std::size_t end = std::max(anchor_, caret_);
    if (begin == end || !OpenClipboard(window_)) return;
    std::string text;
    text.reserve(end - begin + (end - begin) / 16);
    for (std::size_t i = begin; i < end; ++i) {
        const char c = layout_.Text()[i];
        if (c == '\n' && (i == begin || layout_.Text()[i - 1] != '\r')) text += '\r';
        text += c;
    }
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
    const std::size_t selBegin = std::min(anchor_, caret_);
    const std::size_t selEnd = focused_ ? std::max(anchor_, caret_) : selBegin;
    const std::string_view shown = layout_.Line(line);
    const std::size_t end = start + shown.size();
    const int x0 = kMargin - left_;
    const bool lineEndSelected = selBegin <= end && end < selEnd && line + 1 < layout_.LineCount();
    RECT selected{x0 + layout_.XOf(line, std::clamp(selBegin, start, end) - start), y,
                  x0 + layout_.XOf(line, std::clamp(selEnd, start, end) - start) + (lineEndSelected ? 4 : 0),
                  y + lineHeight_};
    if (selected.right > selected.left) FillRect(dc, &selected, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetBkMode(dc, TRANSPARENT);
    layout_.ForEachPiece(line, [&](std::size_t column, int x, std::size_t length) {
        if (x0 + x > client.right) return;
        const std::size_t a = start + column;
        const std::size_t b = a + length;
        const std::size_t cut[] = {a, std::clamp(selBegin, a, b), std::clamp(selEnd, a, b), b};
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
    const std::size_t first = top_ + static_cast<std::size_t>(std::max<LONG>(paint.rcPaint.top, 0) / lineHeight_);
    for (std::size_t line = first; line < layout_.LineCount(); ++line) {
        const int y = static_cast<int>(line - top_) * lineHeight_;
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
    case EM_GETFIRSTVISIBLELINE: return static_cast<LRESULT>(top_);
    case EM_SETSEL: {
        const auto size = static_cast<long long>(layout_.Text().size());
        long long start = static_cast<int>(w), end = static_cast<int>(l);
        if (start < 0) start = end = static_cast<long long>(caret_);
        if (end < 0 || end > size) end = size;
        Select(static_cast<std::size_t>(std::min(start, size)), static_cast<std::size_t>(end));
        return 0;
    }
    case EM_GETSEL: {
        const auto begin = static_cast<DWORD>(std::min(anchor_, caret_));
        const auto end = static_cast<DWORD>(std::max(anchor_, caret_));
        if (w) *reinterpret_cast<DWORD*>(w) = begin;
        if (l) *reinterpret_cast<DWORD*>(l) = end;
        return MAKELRESULT(std::min<DWORD>(begin, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
    }
    case EM_SCROLLCARET: ScrollCaretIntoView(); return 0;
    case WM_COPY: Copy(); return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: UpdateScrollBars(); ScrollTo(static_cast<long long>(top_), left_); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(w)); return 0;
    case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(w)); return 0;
    case WM_MOUSEWHEEL: {
        UINT lines = 3;
        SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        ScrollTo(static_cast<long long>(top_) - GET_WHEEL_DELTA_WPARAM(w) * static_cast<int>(lines) / WHEEL_DELTA, left_);
        return 0;
    }
    case WM_KEYDOWN: OnKey(w); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
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
