#include "FlatButton.h"

#include <commctrl.h>

#include <string>

#include "dialog/DataExchange.h"

void FlatButton::OnAttach() {
    SetWindowSubclass(Handle(), &FlatButton::Procedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK FlatButton::Procedure(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                       DWORD_PTR self) {
    switch (message) {
    case WM_PAINT:
        reinterpret_cast<FlatButton*>(self)->Paint();
        return 0;
    case WM_ENABLE:
    case WM_SETTEXT:
    case BM_SETSTATE: {
        LRESULT result = DefSubclassProc(window, message, w, l);
        InvalidateRect(window, nullptr, TRUE);
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, &FlatButton::Procedure, 0);
        break;
    }
    return DefSubclassProc(window, message, w, l);
}

void FlatButton::Paint() const {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    RECT face;
    GetClientRect(Handle(), &face);
    FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    const bool pressed = (Send(BM_GETSTATE) & BST_PUSHED) != 0;
    DrawEdge(dc, &face, pressed ? EDGE_SUNKEN : EDGE_ETCHED, BF_RECT);
    const std::string caption = ui::WindowText(Handle());
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(Send(WM_GETFONT)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(Handle()) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    if (pressed) OffsetRect(&face, 1, 1);
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &face,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (GetFocus() == Handle()) {
        InflateRect(&face, -3, -3);
        DrawFocusRect(dc, &face);
    }
    SelectObject(dc, oldFont);
    EndPaint(Handle(), &paint);
}
