#pragma once
#include <windows.h>

// Paints a flat button's whole client area in one of its looks: the face,
// the edge of the state (etched, sunken, raised), the caption from the
// window text, the focus frame, or the embossed look when disabled.
// `state` is a FlatButton::State.
void PaintFlatButtonLook(HWND button, HDC dc, int state, bool focused);
