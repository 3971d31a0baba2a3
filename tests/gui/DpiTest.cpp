// The programs as Windows sees them, run under Wine at the resolution that
// VEK_TEST_DPI names (96 and 144 dots per inch): the version resource and
// manifest of vek.exe and vek-cli.exe read back through the platform, and
// the windows laid out at that resolution: rectangles in dialog units, every
// text inside its control, the flat buttons' focus frame and caption and the
// About box's links growing with the font, and the report's columns lined up
// under the tab stops in both output controls.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "AboutDialog.h"
#include "Dpi.h"
#include "FlatButtonLook.h"
#include "LookupDialog.h"
#include "Version.h"
#include "resource.h"

namespace {

std::string BesideTest(const char* name) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of("\\/") + 1) + name;
}

// Rows: the program's file name.
class ProgramResources : public ::testing::TestWithParam<const char*> {};

std::string VersionString(const std::vector<char>& info, const char* name) {
    char* value = nullptr;
    UINT size = 0;
    const std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &size)) return "";
    return std::string(value, size ? size - 1 : 0);
}

TEST_P(ProgramResources, VersionIsTheProjectsOne) {
    const std::string path = BesideTest(GetParam());
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    ASSERT_FALSE(info.empty()) << path;
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
    const DWORD high = MAKELONG(VEK_VERSION_MINOR, VEK_VERSION_MAJOR);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, VEK_VERSION_PATCH)));
    EXPECT_EQ(VersionString(info, "FileVersion"), VEK_VERSION);
    EXPECT_EQ(VersionString(info, "ProductVersion"), VEK_VERSION);
    EXPECT_EQ(VersionString(info, "ProductName"), "Vek");
    EXPECT_EQ(VersionString(info, "OriginalFilename"), GetParam());
    EXPECT_GT(VersionString(info, "FileDescription").size(), 10u);
}

// The manifest as the loader reads it: no elevation, Windows 7 to 11,
// aware of the resolution, and no themed common controls.
TEST_P(ProgramResources, ManifestAsksNoElevationAndDeclaresItsSystems) {
    const std::string path = BesideTest(GetParam());
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    HANDLE context = CreateActCtxA(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << path;
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
    ASSERT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level,
                             sizeof level, nullptr));
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    EXPECT_FALSE(level.UiAccess);
    struct {
        DWORD count;
        COMPATIBILITY_CONTEXT_ELEMENT elements[8];
    } systems{};
    ASSERT_TRUE(QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, &systems,
                             sizeof systems, nullptr));
    EXPECT_EQ(systems.count, 4u);  // 7, 8, 8.1, 10 and 11
    wchar_t aware[16] = L"";
    ASSERT_TRUE(QueryActCtxSettingsW(0, context, nullptr, L"dpiAware", aware, 16, nullptr));
    EXPECT_STREQ(aware, L"true");
    ReleaseActCtx(context);

    HMODULE image = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);
    HRSRC found = FindResourceA(image, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(image, found))),
                           SizeofResource(image, found));
    EXPECT_EQ(text.find("Common-Controls"), std::string::npos);
    FreeLibrary(image);
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramResources,
                         ::testing::Values("vek.exe", "vek-cli.exe"));

class Pixels {
public:
    // What `paint` draws into a white bitmap of `width` by `height`.
    Pixels(int width, int height, const std::function<void(HDC)>& paint) : width_(width), height_(height) {
        BITMAPINFO format{};
        format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, width, height, WHITENESS);
        paint(dc);
        GdiFlush();
        const auto* words = static_cast<const DWORD*>(bits);
        pixels_.assign(words, words + static_cast<std::size_t>(width) * height);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    // A window's client area as it shows.
    static Pixels Of(HWND window) {
        RECT client;
        GetClientRect(window, &client);
        HDC source = GetDC(window);
        Pixels shot(client.right, client.bottom,
                    [&](HDC dc) { BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY); });
        ReleaseDC(window, source);
        return shot;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const {
        const DWORD p = pixels_[static_cast<std::size_t>(y) * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Light(int x, int y) const { return Light(At(x, y)); }
    static int Light(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }
    // The smallest rectangle holding every pixel that `ink` picks.
    RECT Bounds(const std::function<bool(int, int)>& ink) const {
        RECT box{width_, height_, -1, -1};
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (ink(x, y)) box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                                      std::max<LONG>(box.right, x), std::max<LONG>(box.bottom, y)};
        return box;
    }
private:
    int width_, height_;
    std::vector<DWORD> pixels_;
};

// The line height of `font`, and the extent of `text` in it.
SIZE Measure(HFONT font, const std::string& text = "") {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return text.empty() ? SIZE{0, metrics.tmHeight} : size;
}

int LineHeightOf(HFONT font) { return Measure(font).cy; }

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)); }

// Runs `dialog` modally, calls `check` once its window shows, then cancels.
void WhileShown(ui::Dialog& dialog, const std::function<void(HWND)>& check) {
    static ui::Dialog* shown;
    static const std::function<void(HWND)>* pending;
    shown = &dialog;
    pending = &check;
    SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR timer, DWORD) {
        const HWND window = shown->Handle();
        if (!window || !IsWindowVisible(window)) return;
        KillTimer(nullptr, timer);
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        (*pending)(window);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_NE(dialog.RunModal(), -1);
}

std::string ClassOf(HWND window) {
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        found.push_back(child);
    return found;
}

bool IsClass(HWND window, const char* name) { return lstrcmpiA(ClassOf(window).c_str(), name) == 0; }

// In the lookup window every owner-drawn button is a flat button.
bool IsFlatButton(HWND control) {
    return IsClass(control, "Button") && (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

std::string TextOf(HWND control) {
    char text[256] = "";
    GetWindowTextA(control, text, sizeof text);
    return text;
}

// Plain statics and check boxes: the text in the control's font within its
// width (beside the box, for a check box).
void ExpectPlainTextsFit(HWND dialog) {
    for (HWND control : Children(dialog)) {
        const std::string text = TextOf(control);
        const LONG style = GetWindowLongA(control, GWL_STYLE);
        const bool check = IsClass(control, "Button") && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX;
        if (text.empty() || (!IsClass(control, "Static") && !check) || (style & SS_TYPEMASK) == SS_ICON)
            continue;
        RECT client;
        GetClientRect(control, &client);
        const int room = client.right - (check ? GetSystemMetrics(SM_CXMENUCHECK) : 0);
        EXPECT_LE(Measure(FontOf(control), text).cx, room) << text;
    }
}

// A flat button's focused look: the frame of the shadow colour at its inset,
// the caption within the frame, at least nearly as tall as the dialog
// font's (the stock caption font is a little smaller).
void ExpectFlatButtonLooksRight(HWND dialog, HWND button) {
    RECT client;
    GetClientRect(button, &client);
    const Pixels look(client.right, client.bottom,
                      [&](HDC dc) { PaintFlatButtonLook(button, dc, FlatButton::Normal, true); });
    const int inset = MulDiv(3, ui::ScreenDpi(), USER_DEFAULT_SCREEN_DPI);
    const int midX = client.right / 2, midY = client.bottom / 2;
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), face = GetSysColor(COLOR_BTNFACE);
    const std::string text = TextOf(button);
    SCOPED_TRACE(text);
    EXPECT_EQ(look.At(inset, midY), shadow);
    EXPECT_EQ(look.At(client.right - 1 - inset, midY), shadow);
    EXPECT_EQ(look.At(midX, inset), shadow);
    EXPECT_EQ(look.At(midX, client.bottom - 1 - inset), shadow);
    EXPECT_EQ(look.At(inset - 1, midY), face);
    // The caption's strokes are darker than the edge and the frame.
    const auto caption = [&](const Pixels& p) {
        return p.Bounds([&](int x, int y) { return p.Light(x, y) < Pixels::Light(shadow); });
    };
    const RECT ink = caption(look);
    EXPECT_GT(ink.left, inset);
    EXPECT_LT(ink.right, client.right - 1 - inset);
    EXPECT_GT(ink.top, inset);
    EXPECT_LT(ink.bottom, client.bottom - 1 - inset);
    // The same caption in the dialog's font, for its height.
    const Pixels plain(client.right, client.bottom, [&](HDC dc) {
        SelectObject(dc, FontOf(dialog));
        DrawTextA(dc, text.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    });
    const RECT plainInk = caption(plain);
    EXPECT_GE(4 * (ink.bottom - ink.top), 3 * (plainInk.bottom - plainInk.top));
}

struct Placed {
    int id;
    RECT units;  // left, top, width, height in dialog units
};

TEST(LookupWindow, ScalesThroughDialogUnitsAndEveryTextFits) {
    LoadLibraryA("RICHED32.DLL");
    LookupDialog dialog;
    const char* asked = std::getenv("VEK_TEST_DPI");
    EXPECT_EQ(ui::ScreenDpi(), asked ? std::atoi(asked) : USER_DEFAULT_SCREEN_DPI);
    WhileShown(dialog, [](HWND window) {
        // The dialog font is 8 points at the screen's resolution.
        const int eightPoints = MulDiv(8, ui::ScreenDpi(), 72);
        const int height = LineHeightOf(FontOf(window));
        EXPECT_GE(height, eightPoints);
        EXPECT_LE(height, eightPoints * 4 / 3);
        const Placed rows[] = {{IDC_WINSOCK_LOOKUP, {267, 3, 61, 13}}, {IDC_OUTPUT, {3, 43, 324, 146}}};
        for (const Placed& row : rows) {
            SCOPED_TRACE(row.id);
            // Position and size each in dialog units, as the platform maps them.
            RECT expected = row.units;
            MapDialogRect(window, &expected);
            RECT actual;
            GetWindowRect(GetDlgItem(window, row.id), &actual);
            MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&actual), 2);
            EXPECT_EQ(actual.left, expected.left);
            EXPECT_EQ(actual.top, expected.top);
            EXPECT_EQ(actual.right - actual.left, expected.right);
            EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
        }
        ExpectPlainTextsFit(window);
        for (HWND control : Children(window))
            if (IsFlatButton(control)) ExpectFlatButtonLooksRight(window, control);
        // The list lines beside the drop-down arrow.
        const HWND list = GetDlgItem(window, IDC_QUERY_TYPE);
        RECT client;
        GetClientRect(list, &client);
        for (int i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
            char line[128] = "";
            SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(line));
            EXPECT_LE(Measure(FontOf(list), line).cx, client.right - GetSystemMetrics(SM_CXVSCROLL)) << line;
        }
    });
}

TEST(AboutBox, LinksAndButtonsGrowWithTheFont) {
    AboutDialog about(nullptr);
    WhileShown(about, [](HWND window) {
        ExpectPlainTextsFit(window);
        for (int id : {IDCANCEL, IDC_QUICK_HELP}) ExpectFlatButtonLooksRight(window, GetDlgItem(window, id));
        // The whole link lies within its control, which is where the hand
        // pointer shows; its underlined text is at least half the dialog
        // font's line high.
        for (int id : {IDC_FEEDBACK_LINK, IDC_WEB_LINK}) {
            const Pixels link = Pixels::Of(GetDlgItem(window, id));
            const RECT ink = link.Bounds([&](int x, int y) {
                const COLORREF c = link.At(x, y);
                return GetBValue(c) > GetRValue(c) + 40;
            });
            SCOPED_TRACE(id);
            EXPECT_GE(ink.left, 0);
            EXPECT_LT(ink.right, link.Width() - 1);
            EXPECT_LT(ink.bottom, link.Height());
            EXPECT_GE(2 * (ink.bottom - ink.top + 1), LineHeightOf(FontOf(window)));
        }
    });
}

// Rows of bars at the starts of five tab-separated fields, with fillers of
// different lengths before the tabs.
std::string BarRows(std::size_t count) {
    const char* rows[] = {"\t|\t|\t|\t|\t|", "\t|x\t|xxx\t|xxxxx\t|xx\t|", "\t|xxxx\t|x\t|xxxxxxx\t|xxxx\t|x"};
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += std::string(i ? "\n" : "") + rows[i % 3];
    return text;
}

struct Bar {
    int x;
    std::vector<int> tops;  // where each row's bar starts
};

// The bars of a capture: columns holding vertical dark runs of at least
// `least` pixels; a bar two pixels wide counts once, at its left.
std::vector<Bar> BarsIn(const Pixels& shot, int least) {
    std::vector<Bar> bars;
    int previous = -2;
    for (int x = 0; x < shot.Width(); ++x) {
        std::vector<int> tops;
        for (int y = 0, run = 0; y <= shot.Height(); ++y) {
            // Smoothed strokes at 96 dots per inch are mid grey.
            if (y < shot.Height() && shot.Light(x, y) < 3 * 200) {
                ++run;
                continue;
            }
            if (run >= least) tops.push_back(y - run);
            run = 0;
        }
        if (tops.empty()) continue;
        if (x != previous + 1) bars.push_back({x, tops});
        previous = x;
    }
    return bars;
}

// The report's stops, in twips (LookupDialog).
const int kStops[] = {200, 2700, 3700, 4900, 5700};

// Every row's bars stand at the same places, as far apart as the stops at
// the screen's resolution.
std::vector<Bar> ExpectColumnsLineUp(HWND output, int lineHeight) {
    const std::vector<Bar> bars = BarsIn(Pixels::Of(output), lineHeight * 3 / 5);
    EXPECT_EQ(bars.size(), 5u);
    if (bars.size() != 5) return bars;
    EXPECT_GE(bars[0].tops.size(), 3u);
    for (int i = 1; i < 5; ++i) {
        EXPECT_EQ(bars[i].tops, bars[0].tops) << "column " << i;
        EXPECT_NEAR(bars[i].x - bars[0].x, MulDiv(kStops[i] - kStops[0], ui::ScreenDpi(), 1440), 1);
    }
    return bars;
}

// With VEK_DPI_SHOT set (a folder), the window shows the report of the file
// that VEK_DPI_REPORT names while the runner takes a picture of the screen:
// the test leaves the file "shown" there and waits, at most 30 s, for the
// runner's "taken".
void ShowForPicture(LookupDialog& dialog) {
    const char* folder = std::getenv("VEK_DPI_SHOT");
    const char* report = std::getenv("VEK_DPI_REPORT");
    if (!folder || !report) return;
    std::ifstream in(report, std::ios::binary);
    dialog.ReportText.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    dialog.UpdateData(false);
    RedrawWindow(dialog.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    const std::string shown = std::string(folder) + "/shown", taken = std::string(folder) + "/taken";
    if (FILE* out = std::fopen(shown.c_str(), "w")) std::fclose(out);
    for (int i = 0; i < 600 && GetFileAttributesA(taken.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
}

TEST(ReportColumns, LineUpInBothOutputControls) {
    LoadLibraryA("RICHED32.DLL");
    LookupDialog dialog;
    WhileShown(dialog, [&dialog](HWND window) {
        ShowForPicture(dialog);
        const int lineHeight = LineHeightOf(FontOf(window));
        dialog.ReportText = BarRows(3);
        dialog.UpdateData(false);
        UpdateWindow(GetDlgItem(window, IDC_OUTPUT));
        const std::vector<Bar> rich = ExpectColumnsLineUp(GetDlgItem(window, IDC_OUTPUT), lineHeight);
        // A report too large for Rich Edit goes to the text view.
        dialog.ReportText = BarRows(ui::RichEdit::kRichEditLines + 1);
        dialog.UpdateData(false);
        const HWND view = GetDlgItem(window, IDC_OUTPUT);
        ASSERT_FALSE(IsClass(view, "RICHEDIT"));
        UpdateWindow(view);
        const std::vector<Bar> plain = ExpectColumnsLineUp(view, lineHeight);
        ASSERT_TRUE(rich.size() == 5 && plain.size() == 5);
        EXPECT_NEAR(plain[0].x, rich[0].x, 1);
        // Lines as far apart as the font's lines, the caret as high.
        const int pitch = plain[0].tops[1] - plain[0].tops[0];
        EXPECT_EQ(pitch, lineHeight);
        EXPECT_EQ(rich[0].tops[1] - rich[0].tops[0], pitch);
        SetFocus(view);
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        GetGUIThreadInfo(GetCurrentThreadId(), &thread);
        EXPECT_EQ(thread.rcCaret.bottom - thread.rcCaret.top, pitch);
    });
}

}  // namespace
