#include "FlatButtonLook.h"

#include <string>

#include "Dpi.h"
#include "FlatButton.h"
#include "dialog/DataExchange.h"

namespace {
const UINT kCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
// Lengths at 96 dots per inch; they grow with the caption's font.
const int kFocusInset = 3;
// The pressed look moves the rectangle's corner by two pixels, which moves
// the centred caption by one.
const int kPressedShift = 2;

void DrawCaption(HDC dc, const char* caption, RECT r) {
    DrawTextA(dc, caption, -1, &r, kCaptionFormat);
}

void FrameWithColour(HDC dc, RECT r, int colour) {
    HBRUSH brush = CreateSolidBrush(GetSysColor(colour));
    FrameRect(dc, &r, brush);
    DeleteObject(brush);
}

void PaintEnabled(HDC dc, const char* caption, RECT r, int state, bool focused, HBRUSH face) {
    switch (state) {
    case FlatButton::Pressed:
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
        r.left += ui::Scaled(kPressedShift);
        r.top += ui::Scaled(kPressedShift);
        break;
    case FlatButton::Hot:
        // The face-coloured frame covers the outer ring of the raised edge,
        // which leaves a thin raised line.
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
        FrameRect(dc, &r, face);
        break;
    default:
        DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
        break;
    }
    DrawCaption(dc, caption, r);
    if (focused && state != FlatButton::Pressed) {
        InflateRect(&r, -ui::Scaled(kFocusInset), -ui::Scaled(kFocusInset));
        FrameWithColour(dc, r, COLOR_BTNSHADOW);
    }
}

// Embossed: a highlight copy of the caption one pixel right and down,
// the shadow copy on top of it.
void PaintDisabled(HDC dc, const char* caption, RECT r) {
    DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
    RECT shifted = r;
    shifted.left += ui::Scaled(kPressedShift);
    shifted.bottom += ui::Scaled(kPressedShift);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawCaption(dc, caption, shifted);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawCaption(dc, caption, r);
}
}  // namespace

void PaintFlatButtonLook(HWND button, HDC dc, int state, bool focused) {
    SetBkMode(dc, TRANSPARENT);
    RECT r;
    GetClientRect(button, &r);
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FillRect(dc, &r, face);
    SelectObject(dc, ui::ScaledStockFont(ANSI_VAR_FONT));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    const std::string caption = ui::WindowText(button);
    if (IsWindowEnabled(button))
        PaintEnabled(dc, caption.c_str(), r, state, focused, face);
    else
        PaintDisabled(dc, caption.c_str(), r);
    DeleteObject(face);
}
