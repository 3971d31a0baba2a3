#pragma once
// Answers about a dialog of another process that the flat-button and About
// box tests need: screen positions, owner, default button, focus, and the
// system colours the buttons are drawn in.
#include <windows.h>

#include <string>

// "ok l t r b": the window's rectangle in screen pixels (right and bottom
// exclusive), the coordinates of the virtual display's pointer.
std::string ScreenRect(HWND window);
// "ok <caption>" of the dialog's owner window, "ok" when it has none.
std::string OwnerCaption(HWND dialog);
// "ok <id>" of the dialog's default button (DM_GETDEFID), "ok none".
std::string DefaultId(HWND dialog);
// "ok <id>" of the control that holds the keyboard focus in the dialog's
// thread, "ok none".
std::string FocusId(HWND dialog);
// "ok name r g b;..." for the button colours: face, shadow, highlight,
// darkshadow, light, text.
std::string SystemColours();
