// vek-click-hook.dll: the driver hooks it into vek.exe's interface thread.
// It counts every click command (WM_COMMAND with BN_CLICKED) that a window
// of that thread receives, posted or sent, per control id. It only watches;
// every message goes on unchanged.
#include <windows.h>

#include "ClickCounts.h"

namespace {
void Count(UINT message, WPARAM w) {
    if (message != WM_COMMAND || HIWORD(w) != BN_CLICKED) return;
    static ClickCounts* counts = OpenClickCounts(GetCurrentProcessId());
    if (counts) InterlockedIncrement(&counts->clicks[LOWORD(w)]);
}
}  // namespace

// WH_GETMESSAGE: posted messages as the thread takes them from its queue.
extern "C" __declspec(dllexport) LRESULT CALLBACK CountPostedClicks(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION && w == PM_REMOVE) {
        const MSG* posted = reinterpret_cast<const MSG*>(l);
        Count(posted->message, posted->wParam);
    }
    return CallNextHookEx(nullptr, code, w, l);
}

// WH_CALLWNDPROC: sent messages (the Enter key's click, keyboard clicks).
extern "C" __declspec(dllexport) LRESULT CALLBACK CountSentClicks(int code, WPARAM w, LPARAM l) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(l);
        Count(sent->message, sent->wParam);
    }
    return CallNextHookEx(nullptr, code, w, l);
}
