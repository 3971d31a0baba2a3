#include "CentreOverOwner.h"

#include <algorithm>

namespace {
RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// The start that centres `size` on [from, to), clamped so that the window
// stays within [low, high) when it fits.
LONG CentredStart(LONG from, LONG to, LONG size, LONG low, LONG high) {
    LONG start = from + (to - from - size) / 2;
    start = std::min(start, high - size);
    return std::max(start, low);
}
}  // namespace

void CentreOverOwner(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    const RECT work = WorkAreaOf(owner ? owner : dialog);
    RECT over = work;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &over);
    RECT own;
    GetWindowRect(dialog, &own);
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    const LONG x = CentredStart(over.left, over.right, width, work.left, work.right);
    const LONG y = CentredStart(over.top, over.bottom, height, work.top, work.bottom);
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
