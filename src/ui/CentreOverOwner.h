#pragma once
#include <windows.h>

// Moves a dialog so that it is centred over its owner window (or over the
// work area when it has none), kept within the work area of that monitor.
void CentreOverOwner(HWND dialog);
