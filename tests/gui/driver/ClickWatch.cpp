#include "ClickWatch.h"

namespace {
HOOKPROC HookProcedure(HMODULE library, const char* name) {
    // Through the generic function type, which may be cast to any other.
    return reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

std::wstring LibraryPath() {
    wchar_t path[MAX_PATH] = L"";
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"vek-click-hook.dll";
}
}  // namespace

ClickWatch::~ClickWatch() {
    if (posted_) UnhookWindowsHookEx(posted_);
    if (sent_) UnhookWindowsHookEx(sent_);
}

std::string ClickWatch::Start(HWND dialog) {
    if (posted_) return "ok";
    DWORD process = 0;
    DWORD thread = GetWindowThreadProcessId(dialog, &process);
    counts_ = OpenClickCounts(process);
    library_ = LoadLibraryW(LibraryPath().c_str());
    if (!counts_ || !library_) return "error no hook library";
    HOOKPROC posted = HookProcedure(library_, "CountPostedClicks");
    HOOKPROC sent = HookProcedure(library_, "CountSentClicks");
    posted_ = posted ? SetWindowsHookExW(WH_GETMESSAGE, posted, library_, thread) : nullptr;
    sent_ = sent ? SetWindowsHookExW(WH_CALLWNDPROC, sent, library_, thread) : nullptr;
    if (!posted_ || !sent_) return "error hook";
    // The library loads into the thread with the first message it handles.
    SendMessageW(dialog, WM_NULL, 0, 0);
    PostMessageW(dialog, WM_NULL, 0, 0);
    return "ok";
}

std::string ClickWatch::Count(int id) const {
    if (!counts_ || id < 0 || id > 0xFFFF) return "error not watching";
    return "ok " + std::to_string(counts_->clicks[id]);
}
