// Times a lookup in the window. Runs under Wine beside a running vek.exe:
// fills in the target, the server and the AXFR query type, prints "idle"
// once the window has handled everything sent so far, waits for GO_FILE to
// exist (so that the caller can take the idle size first), starts the
// lookup as the button would, then polls the output control until the
// report's LINES lines are in it, and prints the Unix times (seconds) of the
// start and of the moment the report was there. The control is asked for
// its line count, never its text: under Wine a text message from another
// process to the window fetches and converts the whole text each time.
//
//   vek-window-timing TARGET SERVER LINES GO_FILE [LIMIT_SECONDS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "resource.h"

namespace {
constexpr int kAxfrLine = 17;

double UnixNow() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);  // Wine: the host's clock, to the microsecond
    const ULONGLONG ticks = (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return double(ticks - 116444736000000000ULL) / 1e7;  // 100 ns since 1601
}

std::wstring Wide(const char* text) {
    std::wstring out;
    for (const char* p = text; *p; ++p) out += wchar_t(static_cast<unsigned char>(*p));
    return out;
}

HWND WaitForDialog(double limit) {
    for (const double end = UnixNow() + limit; UnixNow() < end; Sleep(50))
        if (HWND dialog = FindWindowW(nullptr, L"DNS lookup")) return dialog;
    return nullptr;
}

bool WaitForFile(const std::wstring& path, double limit) {
    for (const double end = UnixNow() + limit; UnixNow() < end; Sleep(1))
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    return false;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fputs("usage: vek-window-timing TARGET SERVER LINES GO_FILE [LIMIT_SECONDS]\n", stderr);
        return 2;
    }
    const LRESULT wanted = std::strtol(argv[3], nullptr, 10);
    const double limit = argc > 5 ? std::atof(argv[5]) : 120.0;
    const HWND dialog = WaitForDialog(limit);
    if (!dialog) {
        std::fputs("no \"DNS lookup\" window\n", stderr);
        return 1;
    }
    SendMessageW(GetDlgItem(dialog, IDC_TARGET), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(Wide(argv[1]).c_str()));
    SendMessageW(GetDlgItem(dialog, IDC_SERVER), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(Wide(argv[2]).c_str()));
    SendMessageW(GetDlgItem(dialog, IDC_QUERY_TYPE), CB_SETCURSEL, kAxfrLine, 0);
    // A sent message returns once the window has handled all before it.
    SendMessageW(dialog, WM_NULL, 0, 0);
    std::printf("idle\n");
    std::fflush(stdout);
    if (!WaitForFile(Wide(argv[4]), limit)) {
        std::fputs("no go\n", stderr);
        return 1;
    }
    const double started = UnixNow();
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_TCP_LOOKUP, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_TCP_LOOKUP)));
    // The window may put a fresh output control in place for a new report,
    // so the control is looked up on every poll.
    LRESULT lines = 0;
    for (const double end = started + limit; UnixNow() < end; Sleep(2)) {
        lines = SendMessageW(GetDlgItem(dialog, IDC_OUTPUT), EM_GETLINECOUNT, 0, 0);
        if (lines >= wanted) {
            std::printf("started %.6f\nshown %.6f\nlines %ld\n", started, UnixNow(),
                        static_cast<long>(lines));
            return 0;
        }
    }
    std::fprintf(stderr, "the report did not appear in time: %ld lines shown\n",
                 static_cast<long>(lines));
    return 1;
}
