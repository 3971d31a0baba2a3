// Times the window's showing of a large report. Runs under Wine beside a
// running vek.exe: fills in the target, the server and the AXFR query type,
// starts the lookup as the button would, then polls the output control until
// the report of at least MIN_CHARS characters is in it, and prints the Unix
// times (seconds) of the start and of the moment the report was there.
//
//   vek-window-timing TARGET SERVER MIN_CHARS [LIMIT_SECONDS]
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
    for (const double end = UnixNow() + limit; UnixNow() < end; Sleep(100))
        if (HWND dialog = FindWindowW(nullptr, L"DNS lookup")) return dialog;
    return nullptr;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fputs("usage: vek-window-timing TARGET SERVER MIN_CHARS [LIMIT_SECONDS]\n", stderr);
        return 2;
    }
    const LRESULT minChars = std::strtol(argv[3], nullptr, 10);
    const double limit = argc > 4 ? std::atof(argv[4]) : 120.0;
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
    const double started = UnixNow();
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_TCP_LOOKUP, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_TCP_LOOKUP)));
    // The window may put a fresh output control in place for a new report,
    // so the control is looked up on every poll.
    for (const double end = started + limit; UnixNow() < end; Sleep(2)) {
        const LRESULT chars = SendMessageW(GetDlgItem(dialog, IDC_OUTPUT), WM_GETTEXTLENGTH, 0, 0);
        if (chars >= minChars) {
            std::printf("started %.6f\nshown %.6f\nchars %ld\n", started, UnixNow(),
                        static_cast<long>(chars));
            return 0;
        }
    }
    std::fputs("the report did not appear in time\n", stderr);
    return 1;
}
