#include "ReportView.h"

#include <algorithm>
#include <cstring>

#include "textview/TextView.h"

namespace ui {

namespace {

struct StreamSource {
    const std::string* text;
    std::size_t at;
};

DWORD CALLBACK ReadSource(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* given) {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    std::size_t count = source->text->size() - source->at;
    if (count > static_cast<std::size_t>(size)) count = static_cast<std::size_t>(size);
    std::memcpy(buffer, source->text->data() + source->at, count);
    source->at += count;
    *given = static_cast<LONG>(count);
    return 0;
}

bool TooLargeForRichEdit(const std::string& text) {
    if (text.size() > ReportView::kRichEditBytes) return true;
    std::size_t lines = 0;
    for (std::size_t begin = 0; begin <= text.size(); ++lines) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos) end = text.size();
        if (end - begin > ReportView::kRichEditLineLength || lines == ReportView::kRichEditLines) return true;
        begin = end + 1;
    }
    return false;
}

}  // namespace

void ReportView::OnAttach() {
    // The control the dialog was made with is the one short texts go to.
    if (richClass_.empty()) {
        char className[64] = "";
        GetClassNameA(Handle(), className, sizeof className);
        richClass_ = className;
        richStyle_ = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
    }
    // A report of any size is shown whole.
    Send(EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
}

bool ReportView::HasClass(const char* className) const {
    char current[64] = "";
    GetClassNameA(Handle(), current, sizeof current);
    return lstrcmpiA(current, className) == 0;
}

void ReportView::SetParagraphFormat(const PARAFORMAT& format) {
    format_ = format;
    Send(EM_SETSEL, 0, -1);
    Send(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format_));
    Send(EM_SETSEL, 0, 0);
}

// A new control of `className` with the same id, styles, place, font and
// tab position; the old one, and its text, are destroyed.
void ReportView::Renew(const char* className) {
    const HWND old = Handle();
    const HWND parent = GetParent(old);
    const bool plain = lstrcmpiA(className, TextView::ClassName()) == 0;
    if (plain) TextView::Register();
    const DWORD kept = WS_VISIBLE | WS_DISABLED;
    DWORD style = (richStyle_ & ~kept) | (static_cast<DWORD>(GetWindowLongA(old, GWL_STYLE)) & kept);
    if (plain) style |= WS_HSCROLL;
    RECT place;
    GetWindowRect(old, &place);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&place), 2);
    const HWND fresh = CreateWindowExA(
        static_cast<DWORD>(GetWindowLongA(old, GWL_EXSTYLE)), className, "",
        style, place.left, place.top, place.right - place.left,
        place.bottom - place.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(GetDlgCtrlID(old))),
        GetModuleHandleA(nullptr), nullptr);
    if (!fresh) {
        SetWindowTextA(old, "");
        return;
    }
    // Rich Edit does not answer WM_GETFONT: the dialog's font is the one
    // its template gave every control.
    SendMessageA(fresh, WM_SETFONT, static_cast<WPARAM>(SendMessageA(parent, WM_GETFONT, 0, 0)), FALSE);
    SetWindowPos(fresh, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const bool focused = GetFocus() == old;
    DestroyWindow(old);
    if (focused) SetFocus(fresh);
    Attach(fresh);
}

void ReportView::SetText(std::string text) {
    const bool plain = TooLargeForRichEdit(text);
    const char* wanted = plain ? TextView::ClassName() : richClass_.c_str();
    if (!HasClass(wanted) || (!plain && GetWindowTextLengthA(Handle()) > 0)) Renew(wanted);
    if (format_.cbSize) Send(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format_));
    if (plain) {
        Send(TextView::kTakeText, 0, reinterpret_cast<LPARAM>(&text));
        return;
    }
    Send(WM_SETREDRAW, FALSE);
    StreamSource source{&text, 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadSource};
    Send(EM_STREAMIN, SF_TEXT | SFF_SELECTION, reinterpret_cast<LPARAM>(&stream));
    Send(WM_SETREDRAW, TRUE);
    // Moving the caret with drawing on brings the scroll bar up to date.
    Send(EM_SETSEL, 0, 0);
    Send(EM_SCROLLCARET);
    InvalidateRect(Handle(), nullptr, TRUE);
}

}  // namespace ui
