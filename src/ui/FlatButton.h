#pragma once
// The owner-drawn push button of the dialogs: a flat face with an etched
// edge, sunken while pressed. Clicks and keyboard stay the standard button's.
#include "dialog/Control.h"

class FlatButton : public ui::Control {
protected:
    void OnAttach() override;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l,
                                      UINT_PTR id, DWORD_PTR self);
    void Paint() const;
};
