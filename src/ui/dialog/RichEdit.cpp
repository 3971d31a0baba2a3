#include "RichEdit.h"

#include <cstring>

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

}  // namespace

void RichEdit::OnAttach() {
    // A report of any size is shown whole.
    Send(EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
}

void RichEdit::SetParagraphFormat(const PARAFORMAT& format) {
    format_ = format;
    Send(EM_SETSEL, 0, -1);
    Send(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format_));
    Send(EM_SETSEL, 0, 0);
}

// A new control with the same id, class, styles, place, font and tab
// position; the old one, and its text, are destroyed.
void RichEdit::Renew() {
    const HWND old = Handle();
    const HWND parent = GetParent(old);
    char className[64] = "";
    GetClassNameA(old, className, sizeof className);
    RECT place;
    GetWindowRect(old, &place);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&place), 2);
    const HWND fresh = CreateWindowExA(
        static_cast<DWORD>(GetWindowLongA(old, GWL_EXSTYLE)), className, "",
        static_cast<DWORD>(GetWindowLongA(old, GWL_STYLE)), place.left, place.top, place.right - place.left,
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

void RichEdit::SetText(const std::string& text) {
    if (GetWindowTextLengthA(Handle()) > 0) Renew();
    Send(WM_SETREDRAW, FALSE);
    if (format_.cbSize) Send(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format_));
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
