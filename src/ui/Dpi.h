#pragma once
// The screen's resolution, for drawing that is not laid out in dialog units:
// lengths given for 96 dots per inch grow with the resolution, as the
// dialog's own font does. The program is system-aware, so one resolution
// holds for the whole run.
#include <windows.h>

namespace ui {

// Dots per inch of the screen.
int ScreenDpi();
// `pixels` at 96 dots per inch, at the screen's resolution.
int Scaled(int pixels);
// A stock font (ANSI_VAR_FONT and the like) at the screen's resolution:
// the stock object itself at 96 dots per inch, else a copy of it scaled
// up, made once and kept for the run.
HFONT ScaledStockFont(int stock);

}  // namespace ui
