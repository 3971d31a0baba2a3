#include "SettingsStore.h"

#include <cstring>

#include "Profile.h"

namespace SettingsStore {
namespace {

const char kRectKeyPath[] = "Software\\Corvane\\Ombrix\\Ovek\\";
const char kRectValue[] = "Window position";

// An open registry key, closed when it goes out of scope; empty when the
// key could not be opened.
class Key {
public:
    Key() = default;
    ~Key() {
        if (handle_) RegCloseKey(handle_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    Key(Key&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }

    bool Open(HKEY parent, const char* name) {
        return RegOpenKeyExA(parent, name, 0, KEY_READ | KEY_WRITE, &handle_) == ERROR_SUCCESS;
    }
    bool Create(HKEY parent, const char* name, const char* keyClass, REGSAM access) {
        return RegCreateKeyExA(parent, name, 0, const_cast<char*>(keyClass), 0, access,
                               nullptr, &handle_, nullptr) == ERROR_SUCCESS;
    }
    HKEY get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HKEY handle_ = nullptr;
};

// HKEY_CURRENT_USER\software\Corvane\Vek\Options; the keys below
// "software" are created when missing.
Key OpenOptions() {
    Key software;
    if (!software.Open(HKEY_CURRENT_USER, "software")) return Key();
    Key company;
    if (!company.Create(software.get(), profile::kRegistryKey, nullptr, KEY_READ | KEY_WRITE))
        return Key();
    Key application;
    if (!application.Create(company.get(), profile::kAppName, nullptr, KEY_READ | KEY_WRITE))
        return Key();
    Key options;
    options.Create(application.get(), "Options", nullptr, KEY_READ | KEY_WRITE);
    return options;
}

Key OpenRectKey() {
    Key key;
    key.Create(HKEY_CURRENT_USER, kRectKeyPath, "DWORD", KEY_ALL_ACCESS);
    return key;
}

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// Whether a window whose outer rectangle has the size of `size` and whose
// top left corner stands at that of `place` shows at least one pixel on
// the work area of some screen.
bool ReachesWorkArea(const RECT& place, const RECT& size) {
    RECT probe = {place.left, place.top, place.left + (size.right - size.left),
                  place.top + (size.bottom - size.top)};
    HMONITOR monitor = MonitorFromRect(&probe, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!monitor || !GetMonitorInfoA(monitor, &info)) return true;
    RECT common;
    return IntersectRect(&common, &probe, &info.rcWork) != FALSE;
}

}  // namespace

int ReadOptionInt(const char* name, int fallback) {
    Key key = OpenOptions();
    if (!key) return fallback;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return fallback;
    return static_cast<int>(value);
}

std::string ReadOptionText(const char* name, const std::string& fallback) {
    Key key = OpenOptions();
    if (!key) return fallback;
    // The size is asked first; a value that grows between the two queries
    // is asked again, a bounded number of times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            !IsTextType(type))
            return fallback;
        // One spare zero byte, for a stored text that lacks its terminator.
        std::string text(static_cast<std::size_t>(size) + 1, '\0');
        DWORD got = size;
        LONG result = RegQueryValueExA(key.get(), name, nullptr, &type,
                                       reinterpret_cast<BYTE*>(&text[0]), &got);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS || !IsTextType(type)) return fallback;
        text.resize(std::strlen(text.c_str()));
        return text;
    }
    return fallback;
}

void WriteOptionInt(const char* name, int value) {
    Key key = OpenOptions();
    if (!key) return;
    DWORD stored = static_cast<DWORD>(value);
    RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored),
                   sizeof stored);
}

void WriteOptionText(const char* name, const std::string& value) {
    Key key = OpenOptions();
    if (!key) return;
    RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

void LoadWindowRect(RECT& rect) {
    Key key = OpenRectKey();
    if (!key) return;
    BYTE scratch[40];
    DWORD size = sizeof scratch;
    if (RegQueryValueExA(key.get(), kRectValue, nullptr, nullptr, scratch, &size) !=
        ERROR_SUCCESS)
        SaveWindowRect(rect);
    // A value of 16 bytes or less replaces the fields it covers.
    BYTE fields[sizeof(RECT)];
    size = sizeof fields;
    if (RegQueryValueExA(key.get(), kRectValue, nullptr, nullptr, fields, &size) !=
        ERROR_SUCCESS)
        return;
    RECT stored = rect;
    std::memcpy(&stored, fields, size);
    if (ReachesWorkArea(stored, rect)) rect = stored;
}

void SaveWindowRect(const RECT& rect) {
    Key key = OpenRectKey();
    if (!key) return;
    RegSetValueExA(key.get(), kRectValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&rect),
                   sizeof rect);
}

RECT RestoredWindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    if (!IsIconic(window) && !IsZoomed(window)) return rect;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) return rect;
    // The normal rectangle is in work-area coordinates: shift it by the
    // work area's offset on its screen.
    rect = placement.rcNormalPosition;
    HMONITOR monitor = MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (monitor && GetMonitorInfoA(monitor, &info))
        OffsetRect(&rect, info.rcWork.left - info.rcMonitor.left,
                   info.rcWork.top - info.rcMonitor.top);
    return rect;
}

}  // namespace SettingsStore
