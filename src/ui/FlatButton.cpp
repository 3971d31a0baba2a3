#include "FlatButton.h"

#include "FlatButtonLook.h"

namespace {
// Identifies this subclass among others a control may carry.
const UINT_PTR kSubclassId = 0x464C4254;  // "FLBT"
// The default button while the focus is on no flat button: "TCP lookup" in
// the lookup dialog.
const int kDialogDefaultId = 1;
}  // namespace

FlatButton::FlatButton() : LeaveTracking() { LeaveTracking.cbSize = sizeof(LeaveTracking); }

FlatButton::~FlatButton() { Detach(); }

void FlatButton::OnAttach() {
    subclassed_ = SetWindowSubclass(Handle(), &FlatButton::Procedure, kSubclassId,
                                    reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

void FlatButton::Detach() {
    if (subclassed_) RemoveWindowSubclass(Handle(), &FlatButton::Procedure, kSubclassId);
    subclassed_ = false;
}

LRESULT CALLBACK FlatButton::Procedure(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                       DWORD_PTR self) {
    auto* button = reinterpret_cast<FlatButton*>(self);
    if (message == WM_NCDESTROY) {
        button->Detach();
        return DefSubclassProc(window, message, w, l);
    }
    return button->HandleMessage(message, w, l);
}

LRESULT FlatButton::PassOn(UINT message, WPARAM w, LPARAM l) const {
    return DefSubclassProc(Handle(), message, w, l);
}

// Every handled message but painting, focus gain and the button-state
// message ends with the repaint check: the button is redrawn when its state
// or focus differs from what it was on entry.
LRESULT FlatButton::HandleMessage(UINT message, WPARAM w, LPARAM l) {
    const int oldState = ButtonState;
    const int oldFocus = HasFocus;
    LRESULT result = 0;
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETFOCUS:
        Invalidate();
        SetDefaultButton(GetDlgCtrlID(Handle()));
        return 0;
    case WM_KILLFOCUS:
        SetDefaultButton(kDialogDefaultId);
        HasFocus = 0;
        ButtonState = Normal;
        break;
    case WM_ENABLE:
    case WM_SETTEXT:
        result = PassOn(message, w, l);
        Invalidate();
        break;
    case BM_SETSTATE:
        ButtonState = w ? Pressed : Normal;
        Invalidate();
        return PassOn(message, w, l);
    case WM_MOUSEMOVE:
        TrackLeave();
        if (w & MK_LBUTTON) ButtonState = Pressed;
        if (ButtonState == Normal) ButtonState = Hot;
        break;
    case WM_LBUTTONDOWN:
        SetFocus(Handle());
        SetCapture(Handle());
        ButtonState = Pressed;
        break;
    case WM_LBUTTONUP:
        Release(l);
        break;
    case WM_LBUTTONDBLCLK:
        ButtonState = Pressed;
        break;
    case WM_MOUSELEAVE:
        // Held down with the capture, the button keeps its pressed look off
        // its edge; Wine reports the leave even then.
        if (GetCapture() != Handle()) ButtonState = Normal;
        break;
    default:
        return PassOn(message, w, l);
    }
    if (ButtonState != oldState || HasFocus != oldFocus) Invalidate();
    return result;
}

void FlatButton::SetDefaultButton(int id) const {
    SendMessageA(GetParent(Handle()), DM_SETDEFID, static_cast<WPARAM>(id), 0);
}

// Asks for one leave notice; renewed on every move, since a notice ends
// the tracking.
void FlatButton::TrackLeave() {
    LeaveTracking.dwFlags = TME_LEAVE;
    LeaveTracking.hwndTrack = Handle();
    _TrackMouseEvent(&LeaveTracking);
}

// A release over the button after a press clicks it. The position is read
// as unsigned, so a pointer left of or above the button counts as outside.
// The click is posted: the parent handles it after this message is done.
void FlatButton::Release(LPARAM position) {
    POINT point = {static_cast<LONG>(LOWORD(position)), static_cast<LONG>(HIWORD(position))};
    RECT client;
    GetClientRect(Handle(), &client);
    if (PtInRect(&client, point) && ButtonState == Pressed) {
        ButtonState = Hot;
        PostMessageA(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), BN_CLICKED),
                     reinterpret_cast<LPARAM>(Handle()));
    } else {
        ButtonState = Normal;
    }
    ReleaseCapture();
}

void FlatButton::Invalidate() const { InvalidateRect(Handle(), nullptr, TRUE); }

void FlatButton::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    HasFocus = GetFocus() == Handle() ? 1 : 0;
    PaintFlatButtonLook(Handle(), dc, ButtonState, HasFocus != 0);
    EndPaint(Handle(), &paint);
}
