// The registry rules of the settings store, run under Wine against the
// registry of the test prefix. Each test starts from an empty store.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "SettingsStore.h"

namespace {

const char kOptionsPath[] = "software\\Corvane\\Vek\\Options";
const char kRectPath[] = "Software\\Corvane\\Ombrix\\Ovek\\";
const RECT kCurrent = {0, 0, 587, 341};

std::string Bytes(const RECT& rect) { return std::string(reinterpret_cast<const char*>(&rect), sizeof rect); }

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, kOptionsPath);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Corvane\\Ombrix\\Ovek");
    }
    void TearDown() override { SetUp(); }

    // Stores raw bytes of any type, as another program (or damage) might.
    static void Store(const char* path, const char* name, DWORD type, const std::string& data) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
        RegCloseKey(key);
    }
    // The stored rectangle value's bytes, empty when missing; and its key's class.
    static std::string StoredRect(std::string* keyClass = nullptr) {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRectPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::string();
        char bytes[64], name[16] = "";
        DWORD size = sizeof bytes, nameSize = sizeof name;
        const LONG result =
            RegQueryValueExA(key, "Window position", nullptr, nullptr, reinterpret_cast<BYTE*>(bytes), &size);
        RegQueryInfoKeyA(key, name, &nameSize, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(key);
        if (keyClass) *keyClass = name;
        return result == ERROR_SUCCESS ? std::string(bytes, size) : std::string();
    }
    static RECT Loaded() {
        RECT rect = kCurrent;
        SettingsStore::LoadWindowRect(rect);
        return rect;
    }
};

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

// An option as stored (nothing, written by the store, or raw bytes of a
// type), and what it reads as: an integer counts only as a 4-byte
// REG_DWORD, a text as a string of either kind, up to its first zero byte.
constexpr DWORD kWrite = ~DWORD{0};
struct OptionRow {
    const char* name;
    DWORD type;  // kWrite: written through the store; REG_NONE: nothing stored
    std::string stored;
    bool text;
    std::string read;  // the integer in decimal, or the text
};

class StoredOption : public SettingsStoreTest, public ::testing::WithParamInterface<OptionRow> {};

TEST_P(StoredOption, ReadsAsItsValueOrItsDefault) {
    const OptionRow& row = GetParam();
    if (row.type == kWrite && row.text) SettingsStore::WriteOptionText("DNS server", row.stored);
    if (row.type == kWrite && !row.text) SettingsStore::WriteOptionInt("Type", std::stoi(row.stored));
    if (row.type != kWrite && row.type != REG_NONE) Store(kOptionsPath, row.text ? "DNS server" : "Type", row.type, row.stored);
    if (row.text)
        EXPECT_EQ(SettingsStore::ReadOptionText("DNS server", "default"), row.read);
    else
        EXPECT_EQ(std::to_string(SettingsStore::ReadOptionInt("Type", 1)), row.read);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, StoredOption,
    ::testing::Values(OptionRow{"MissingInt", REG_NONE, "", false, "1"},
                      OptionRow{"MissingText", REG_NONE, "", true, "default"},
                      OptionRow{"Minus", kWrite, "-1", false, "-1"},
                      OptionRow{"LongText", kWrite, std::string(70000, 'n'), true, std::string(70000, 'n')},
                      OptionRow{"IntAsText", REG_SZ, std::string("7\0", 2), false, "1"},
                      OptionRow{"TwoByteDword", REG_DWORD, std::string("\5\0", 2), false, "1"},
                      OptionRow{"EightByteBinary", REG_BINARY, std::string("\1\0\0\0\0\0\0\0", 8), false, "1"},
                      OptionRow{"TextAsDword", REG_DWORD, "1234", true, "default"},
                      OptionRow{"TextToItsZero", REG_SZ, std::string("a.b\0junk", 9), true, "a.b"},
                      OptionRow{"ExpandableText", REG_EXPAND_SZ, std::string("10.0.0.1\0", 9), true, "10.0.0.1"}),
    [](const ::testing::TestParamInfo<OptionRow>& info) { return info.param.name; });

TEST_F(SettingsStoreTest, TheFirstRunStoresTheCurrentRectangleInAKeyOfClassDword) {
    EXPECT_TRUE(Same(Loaded(), kCurrent));
    std::string keyClass;
    EXPECT_EQ(StoredRect(&keyClass), Bytes(kCurrent));
    EXPECT_EQ(keyClass, "DWORD");
}

// A stored value of the wrong size: under 16 bytes it replaces the fields
// it covers, of 17 to 40 bytes nothing, over 40 bytes it is replaced by the
// current rectangle. A place wholly off the work area is not restored; one
// partly on it is.
TEST_F(SettingsStoreTest, OddRectangleValuesAndPlaces) {
    const std::string bytes = Bytes({150, 90, 737, 431});
    const struct Row {
        std::string value;
        RECT want;
        std::string kept;
    } rows[] = {
        {bytes.substr(0, 8), {150, 90, 587, 341}, bytes.substr(0, 8)},
        {bytes + "x", kCurrent, bytes + "x"},
        {bytes + bytes + bytes, kCurrent, Bytes(kCurrent)},
        {Bytes({-32000, -32000, -31840, -31973}), kCurrent, ""},  // where Windows parks a minimised window
        {Bytes({5000, 4000, 5587, 4341}), kCurrent, ""},          // right of and below every screen
        {Bytes({-700, 100, -113, 441}), kCurrent, ""},            // wholly left of the screen
        {Bytes({-500, -100, 87, 241}), {-500, -100, 87, 241}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.value.size() << " bytes, " << row.want.left);
        Store(kRectPath, "Window position", REG_BINARY, row.value);
        EXPECT_TRUE(Same(Loaded(), row.want));
        if (!row.kept.empty()) {
            EXPECT_EQ(StoredRect(), row.kept);
        }
    }
}

// A window minimised or maximised is remembered at its normal place.
TEST_F(SettingsStoreTest, TheRectangleKeptIsTheNormalOne) {
    HWND window = CreateWindowExA(0, "STATIC", "placed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 210, 130, 400, 300,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_TRUE(Same(SettingsStore::RestoredWindowRect(window), RECT{210, 130, 610, 430}));
    for (int show : {SW_MINIMIZE, SW_MAXIMIZE}) {
        SCOPED_TRACE(show);
        ShowWindow(window, show);
        const auto shown = [&] { return show == SW_MINIMIZE ? IsIconic(window) : IsZoomed(window); };
        for (int i = 0; i < 200 && !shown(); ++i) Sleep(10);
        ASSERT_TRUE(shown());
        RECT now;
        GetWindowRect(window, &now);
        EXPECT_FALSE(Same(SettingsStore::RestoredWindowRect(window), now));
        EXPECT_TRUE(Same(SettingsStore::RestoredWindowRect(window), RECT{210, 130, 610, 430}));
        ShowWindow(window, SW_RESTORE);
    }
    DestroyWindow(window);
}

}  // namespace
