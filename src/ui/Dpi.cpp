#include "Dpi.h"

#include <map>

namespace ui {

int ScreenDpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return value > 0 ? value : USER_DEFAULT_SCREEN_DPI;
    }();
    return dpi;
}

int Scaled(int pixels) { return MulDiv(pixels, ScreenDpi(), USER_DEFAULT_SCREEN_DPI); }

// Stock fonts have the same size at any resolution.
HFONT ScaledStockFont(int stock) {
    HFONT font = static_cast<HFONT>(GetStockObject(stock));
    if (ScreenDpi() == USER_DEFAULT_SCREEN_DPI) return font;
    static std::map<int, HFONT> scaled;
    HFONT& copy = scaled[stock];
    if (!copy) {
        LOGFONTA look{};
        GetObjectA(font, sizeof look, &look);
        look.lfHeight = Scaled(look.lfHeight);
        look.lfWidth = Scaled(look.lfWidth);
        copy = CreateFontIndirectA(&look);
    }
    return copy ? copy : font;
}

}  // namespace ui
