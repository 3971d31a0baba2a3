#pragma once
// The click counts that the hook library keeps inside vek.exe and the test
// driver reads: one counter per control id, in a named shared block of the
// watched process.
#include <windows.h>

struct ClickCounts {
    LONG clicks[65536];
};

// One block per watched process, so that tests running side by side in one
// Wine prefix keep their counts apart. Null when it cannot be mapped.
inline ClickCounts* OpenClickCounts(DWORD processId) {
    wchar_t name[64];
    wsprintfW(name, L"VekGuiTestClickCounts-%lu", processId);
    HANDLE mapping =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ClickCounts), name);
    if (!mapping) return nullptr;
    return static_cast<ClickCounts*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ClickCounts)));
}
