// The window's rectangle between runs and its sizing rule: the width never
// changes, a change of height goes wholly to the report control, the status
// line follows the bottom edge, and the report control keeps at least 20
// pixels. Changes of the minimised/maximised state, changes that keep the
// size, and changes flagged SWP_NOSIZE or SWP_NOMOVE pass unchanged.
#include "LookupDialog.h"
#include "SettingsStore.h"
#include "resource.h"

namespace {

// SWP_STATECHANGED (0x8000) with SWP_NOCOPYBITS: a change between the
// minimised, maximised and normal states.
constexpr UINT kStateChange = 0x8000 | SWP_NOCOPYBITS;
constexpr int kLowestReport = 20;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Moves a control to an outer rectangle given in screen coordinates.
void MoveToScreenRect(HWND dialog, HWND control, RECT rect) {
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    MoveWindow(control, rect.left, rect.top, Width(rect), Height(rect), TRUE);
}

// The report control takes `delta` at its bottom, the status line follows.
void MoveReportAndStatus(HWND dialog, RECT report, int delta) {
    report.bottom += delta;
    MoveToScreenRect(dialog, GetDlgItem(dialog, IDC_OUTPUT), report);
    HWND status = GetDlgItem(dialog, IDC_STATUS);
    RECT statusRect;
    if (!GetWindowRect(status, &statusRect)) return;
    OffsetRect(&statusRect, 0, delta);
    MoveToScreenRect(dialog, status, statusRect);
}

}  // namespace

void LookupDialog::LoadWindowRect(RECT& rect) { SettingsStore::LoadWindowRect(rect); }

void LookupDialog::SaveWindowRect(const RECT& rect) { SettingsStore::SaveWindowRect(rect); }

void LookupDialog::OnWindowPosChanging(WINDOWPOS& proposed) {
    if ((proposed.flags & kStateChange) == kStateChange) return;
    RECT window;
    if (!GetWindowRect(Handle(), &window)) return;
    if (proposed.cx == Width(window) && proposed.cy == Height(window)) return;
    if (proposed.flags & (SWP_NOSIZE | SWP_NOMOVE)) return;

    int delta = proposed.cy - Height(window);
    RECT report;
    if (!GetWindowRect(GetDlgItem(Handle(), IDC_OUTPUT), &report)) return;
    proposed.cx = Width(window);
    // A window standing at the left screen edge takes the proposed left:
    // that is how the stored left applies while the dialog still stands
    // at its template position.
    if (window.left != 0) proposed.x = window.left;
    if (Height(report) + delta < kLowestReport) {
        proposed.y = window.top;
        delta = kLowestReport - Height(report);
        proposed.cy = Height(window) + delta;
    }
    MoveReportAndStatus(Handle(), report, delta);
}
