#pragma once
// The push button of every dialog: drawn flat on the dialog face, raised
// under the pointer, sunken while pressed, embossed when disabled. It does
// its own mouse handling, posts its click to the parent, and while it holds
// the keyboard focus it is the dialog's default button.
//
// Attached to an owner-drawn (BS_OWNERDRAW) button of a dialog template, it
// subclasses the control; messages it does not handle (the keyboard among
// them) go to the control's previous window procedure. Dialogs answer the
// owner-draw requests that procedure still sends with no drawing at all.
#include <windows.h>

#include <commctrl.h>

#include "dialog/Control.h"

class FlatButton : public ui::Control {
public:
    enum State { Normal = 0, Pressed = 1, Hot = 2 };

    FlatButton();
    ~FlatButton() override;

protected:
    void OnAttach() override;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                                      DWORD_PTR self);
    LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l);
    LRESULT PassOn(UINT message, WPARAM w, LPARAM l) const;
    void SetDefaultButton(int id) const;
    void TrackLeave();
    void Release(LPARAM position);
    void Invalidate() const;
    void Paint();
    void Detach();

    TRACKMOUSEEVENT LeaveTracking;
    int HasFocus = 0;
    int ButtonState = Normal;
    bool subclassed_ = false;
};
