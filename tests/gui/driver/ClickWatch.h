#pragma once
// Counting the clicks a dialog's thread receives, through the hook library
// vek-click-hook.dll next to the driver.
#include <windows.h>

#include <string>

#include "../hook/ClickCounts.h"

class ClickWatch {
public:
    ClickWatch() = default;
    ~ClickWatch();
    ClickWatch(const ClickWatch&) = delete;
    ClickWatch& operator=(const ClickWatch&) = delete;

    // Hooks the thread that owns `dialog`; answers "ok" or "error ...".
    std::string Start(HWND dialog);
    // "ok <count>" of the click commands of control `id` so far.
    std::string Count(int id) const;

private:
    HMODULE library_ = nullptr;
    HHOOK posted_ = nullptr;
    HHOOK sent_ = nullptr;
    ClickCounts* counts_ = nullptr;
};
