// The registry rules of the settings store, run under Wine against the
// registry of the test prefix. Each test starts from an empty store.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "SettingsStore.h"

namespace {

const char kOptionsPath[] = "software\\Corvane\\Vek\\Options";
const char kRectPath[] = "Software\\Corvane\\Ombrix\\Ovek\\";

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, kOptionsPath);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Corvane\\Ombrix\\Ovek");
    }
    void TearDown() override { SetUp(); }

    // Stores raw bytes of any type, as another program (or damage) might.
    static void Store(const char* path, const char* name, DWORD type, const void* data,
                      DWORD size) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    static void StoreOption(const char* name, DWORD type, const void* data, DWORD size) {
        Store(kOptionsPath, name, type, data, size);
    }
    static void StoreRect(const void* data, DWORD size) {
        Store(kRectPath, "Window position", REG_BINARY, data, size);
    }

    // The stored rectangle value: its bytes, empty when missing.
    static std::string StoredRect() {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRectPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return std::string();
        char bytes[64];
        DWORD size = sizeof bytes;
        LONG result = RegQueryValueExA(key, "Window position", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(bytes), &size);
        RegCloseKey(key);
        return result == ERROR_SUCCESS ? std::string(bytes, size) : std::string();
    }
};

std::string Bytes(const RECT& rect) {
    return std::string(reinterpret_cast<const char*>(&rect), sizeof rect);
}

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

// ---- options: defaults, round trips, the values' form in the registry ----

TEST_F(SettingsStoreTest, MissingOptionsReadAsTheirDefaults) {
    EXPECT_EQ(SettingsStore::ReadOptionInt("Type", 1), 1);
    EXPECT_EQ(SettingsStore::ReadOptionInt("Detailed errors", 0), 0);
    EXPECT_EQ(SettingsStore::ReadOptionText("DNS server", "none"), "none");
}

TEST_F(SettingsStoreTest, OptionsComeBackAsWritten) {
    SettingsStore::WriteOptionInt("Type", 17);
    SettingsStore::WriteOptionInt("Recursive", -1);
    SettingsStore::WriteOptionText("DNS server", "127.0.0.1");
    EXPECT_EQ(SettingsStore::ReadOptionInt("Type", 1), 17);
    EXPECT_EQ(SettingsStore::ReadOptionInt("Recursive", 1), -1);
    EXPECT_EQ(SettingsStore::ReadOptionText("DNS server", "x"), "127.0.0.1");
}

// ---- options of the wrong form read as missing ----

TEST_F(SettingsStoreTest, AnIntegerOfTheWrongTypeOrSizeReadsAsItsDefault) {
    StoreOption("Type", REG_SZ, "7", 2);  // a text, not a number
    const unsigned char two[] = {0x05, 0x00};
    StoreOption("Recursive", REG_DWORD, two, sizeof two);  // 2 bytes only
    const unsigned char eight[] = {1, 0, 0, 0, 0, 0, 0, 0};
    StoreOption("Detailed errors", REG_BINARY, eight, sizeof eight);
    EXPECT_EQ(SettingsStore::ReadOptionInt("Type", 1), 1);
    EXPECT_EQ(SettingsStore::ReadOptionInt("Recursive", 1), 1);
    EXPECT_EQ(SettingsStore::ReadOptionInt("Detailed errors", 0), 0);
}

TEST_F(SettingsStoreTest, ATextOfTheWrongTypeReadsAsItsDefault) {
    const DWORD number = 0x34333231;  // the bytes "1234"
    StoreOption("DNS server", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(SettingsStore::ReadOptionText("DNS server", ""), "");
}

// ---- texts of odd shapes are read whole and safely ----

TEST_F(SettingsStoreTest, ATextEndsAtItsFirstZeroByte) {
    StoreOption("DNS server", REG_SZ, "a.b\0junk", 9);
    EXPECT_EQ(SettingsStore::ReadOptionText("DNS server", ""), "a.b");
}

TEST_F(SettingsStoreTest, ALongTextIsReadInFull) {
    const std::string longText(70000, 'n');
    SettingsStore::WriteOptionText("DNS server", longText);
    EXPECT_EQ(SettingsStore::ReadOptionText("DNS server", ""), longText);
}

TEST_F(SettingsStoreTest, AnExpandableTextCountsAsText) {
    StoreOption("DNS server", REG_EXPAND_SZ, "10.0.0.1", 9);
    EXPECT_EQ(SettingsStore::ReadOptionText("DNS server", ""), "10.0.0.1");
}

// ---- the window rectangle ----

TEST_F(SettingsStoreTest, TheFirstRunStoresTheCurrentRectangleInAKeyOfClassDword) {
    const RECT current = {0, 0, 587, 341};
    RECT rect = current;
    SettingsStore::LoadWindowRect(rect);
    EXPECT_TRUE(Same(rect, current));
    EXPECT_EQ(StoredRect(), Bytes(current));
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kRectPath, 0, KEY_READ, &key), ERROR_SUCCESS);
    char keyClass[16] = {};
    DWORD classSize = sizeof keyClass;
    RegQueryInfoKeyA(key, keyClass, &classSize, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_STREQ(keyClass, "DWORD");
}

// A stored value of the wrong size: under 16 bytes it replaces the fields
// it covers, of 17 to 40 bytes nothing, over 40 bytes it is replaced by the
// current rectangle.
TEST_F(SettingsStoreTest, ARectangleValueOfTheWrongSize) {
    const RECT current = {0, 0, 587, 341};
    const RECT stored = {150, 90, 737, 431};
    const std::string bytes = Bytes(stored);
    const struct Row {
        std::string value;
        RECT want;
        std::string kept;
    } rows[] = {
        {bytes.substr(0, 8), {150, 90, 587, 341}, bytes.substr(0, 8)},
        {bytes + "x", current, bytes + "x"},
        {bytes + bytes + bytes, current, Bytes(current)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value.size());
        StoreRect(row.value.data(), static_cast<DWORD>(row.value.size()));
        RECT rect = current;
        SettingsStore::LoadWindowRect(rect);
        EXPECT_TRUE(Same(rect, row.want));
        EXPECT_EQ(StoredRect(), row.kept);
    }
}

TEST_F(SettingsStoreTest, ARectangleWhollyOffTheWorkAreaIsNotRestored) {
    const RECT current = {0, 0, 587, 341};
    const RECT offScreen[] = {
        {-32000, -32000, -31840, -31973},  // where Windows parks a minimised window
        {5000, 4000, 5587, 4341},          // right of and below every screen
        {-700, 100, -113, 441},            // wholly left of the screen
    };
    for (const RECT& stored : offScreen) {
        SettingsStore::SaveWindowRect(stored);
        RECT rect = current;
        SettingsStore::LoadWindowRect(rect);
        EXPECT_TRUE(Same(rect, current)) << stored.left << "," << stored.top;
    }
}

TEST_F(SettingsStoreTest, ARectanglePartlyOnTheWorkAreaIsRestored) {
    const RECT partly = {-500, -100, 87, 241};
    SettingsStore::SaveWindowRect(partly);
    RECT rect = {0, 0, 587, 341};
    SettingsStore::LoadWindowRect(rect);
    EXPECT_TRUE(Same(rect, partly));
}

// A window minimised or maximised is remembered at its normal place.
TEST_F(SettingsStoreTest, TheRectangleKeptIsTheNormalOne) {
    HWND window = CreateWindowExA(0, "STATIC", "placed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 210, 130, 400, 300,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    const RECT normal = SettingsStore::RestoredWindowRect(window);
    EXPECT_TRUE(Same(normal, RECT{210, 130, 610, 430}));
    for (int show : {SW_MINIMIZE, SW_MAXIMIZE}) {
        SCOPED_TRACE(show);
        ShowWindow(window, show);
        const auto shown = [&] { return show == SW_MINIMIZE ? IsIconic(window) : IsZoomed(window); };
        for (int i = 0; i < 200 && !shown(); ++i) Sleep(10);
        ASSERT_TRUE(shown());
        EXPECT_FALSE(Same(SettingsStore::RestoredWindowRect(window), [&] {
            RECT now;
            GetWindowRect(window, &now);
            return now;
        }()));
        EXPECT_TRUE(Same(SettingsStore::RestoredWindowRect(window), normal));
        ShowWindow(window, SW_RESTORE);
    }
    DestroyWindow(window);
}

}  // namespace
