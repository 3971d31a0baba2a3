// The programs as Windows sees them: the version resource and manifest of
// vek.exe and vek-cli.exe read back through the platform; and, at the
// resolution that VEK_TEST_DPI names (96 and 144 dots per inch), the windows
// laid out through dialog units, every text inside its control, the flat
// buttons' focus frame, the About box centred over its owner with its links
// growing with the font, and the report's columns under the tab stops in
// both output controls.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "AboutDialog.h"
#include "Dpi.h"
#include "FlatButtonLook.h"
#include "LookupDialog.h"
#include "RunningDialog.h"
#include "Version.h"
#include "resource.h"

namespace {

std::string BesideTest(const char* name) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string dir = path;
    return dir.substr(0, dir.find_last_of("\\/") + 1) + name;
}

class ProgramResources : public ::testing::TestWithParam<const char*> {};

TEST_P(ProgramResources, VersionAndManifestReadBack) {
    const std::string path = BesideTest(GetParam());
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    ASSERT_FALSE(info.empty()) << path;
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(VEK_VERSION_MINOR, VEK_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, VEK_VERSION_PATCH)));
    const std::pair<const char*, std::string> strings[] = {
        {"FileVersion", VEK_VERSION}, {"ProductVersion", VEK_VERSION}, {"ProductName", "Vek"},
        {"OriginalFilename", GetParam()}, {"FileDescription", ""}};
    for (const auto& [name, want] : strings) {
        char* value = nullptr;
        const std::string key = std::string("\\StringFileInfo\\040904b0\\") + name;
        EXPECT_TRUE(VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &size)) << name;
        EXPECT_TRUE(want.empty() ? size > 10 : std::string(value ? value : "") == want) << name;
    }
    // The manifest as the loader reads it: no elevation, aware of the
    // resolution. (Its other entries only restate the file.)
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    HANDLE context = CreateActCtxA(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << path;
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
    EXPECT_TRUE(QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level, sizeof level,
                             nullptr));
    EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);
    wchar_t aware[16] = L"";
    EXPECT_TRUE(QueryActCtxSettingsW(0, context, nullptr, L"dpiAware", aware, 16, nullptr));
    EXPECT_STREQ(aware, L"true");
    ReleaseActCtx(context);
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramResources, ::testing::Values("vek.exe", "vek-cli.exe"));

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)); }

// The extent of `text` in `font`; its line height for no text.
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

int LineHeightOf(HWND window) { return Measure(FontOf(window)).cy; }

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

LONG TypeOf(HWND control) { return GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK; }

// Statics and check boxes: the text in the control's font within its width
// (beside the box, for a check box). Flat buttons: the focused look's frame
// of the shadow colour at its scaled inset, the caption within it and at
// least nearly as tall as the dialog font's (the stock caption font is a
// little smaller).
void ExpectTextsFitAndFlatButtonsScale(HWND dialog) {
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        const std::string text = TextOf(control);
        SCOPED_TRACE(text);
        RECT client;
        GetClientRect(control, &client);
        const bool check = IsClass(control, "Button") && TypeOf(control) == BS_AUTOCHECKBOX;
        if (!text.empty() && (check || (IsClass(control, "Static") && TypeOf(control) != SS_ICON))) {
            EXPECT_LE(Measure(FontOf(control), text).cx, client.right - (check ? GetSystemMetrics(SM_CXMENUCHECK) : 0));
        }
        const int id = GetDlgCtrlID(control);
        if (!IsClass(control, "Button") || TypeOf(control) != BS_OWNERDRAW || id == IDC_WEB_LINK ||
            id == IDC_FEEDBACK_LINK)
            continue;
        const Pixels look(client.right, client.bottom,
                          [&](HDC dc) { PaintFlatButtonLook(control, dc, FlatButton::Normal, true); });
        const int inset = ui::Scaled(3), midX = client.right / 2, midY = client.bottom / 2;
        const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
        EXPECT_EQ(look.At(inset, midY), shadow);
        EXPECT_EQ(look.At(client.right - 1 - inset, midY), shadow);
        EXPECT_EQ(look.At(midX, inset), shadow);
        EXPECT_EQ(look.At(midX, client.bottom - 1 - inset), shadow);
        EXPECT_EQ(look.At(inset - 1, midY), GetSysColor(COLOR_BTNFACE));
        const auto caption = [&](const Pixels& p) {
            return p.Bounds([&](int x, int y) { return p.Light(x, y) < Pixels::Light(shadow); });
        };
        const RECT ink = caption(look);
        EXPECT_TRUE(ink.left > inset && ink.right < client.right - 1 - inset && ink.top > inset &&
                    ink.bottom < client.bottom - 1 - inset);
        const RECT plain = caption(Pixels(client.right, client.bottom, [&](HDC dc) {
            SelectObject(dc, FontOf(dialog));
            DrawTextA(dc, text.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }));
        EXPECT_GE(4 * (ink.bottom - ink.top), 3 * (plain.bottom - plain.top));
    }
}

TEST(AtScreenDpi, LookupWindowScalesThroughDialogUnitsAndEveryTextFits) {
    const char* asked = std::getenv("VEK_TEST_DPI");
    EXPECT_EQ(ui::ScreenDpi(), asked ? std::atoi(asked) : USER_DEFAULT_SCREEN_DPI);
    LoadLibraryA("RICHED32.DLL");
    LookupDialog dialog;
    WhileShown(dialog, [](HWND window) {
        const int eightPoints = MulDiv(8, ui::ScreenDpi(), 72);  // the dialog font
        EXPECT_GE(LineHeightOf(window), eightPoints);
        EXPECT_LE(LineHeightOf(window), eightPoints * 4 / 3);
        const std::pair<int, RECT> rows[] = {{IDC_WINSOCK_LOOKUP, {267, 3, 61, 13}}, {IDC_OUTPUT, {3, 43, 324, 146}}};
        for (auto [id, expected] : rows) {  // left, top, width, height in dialog units
            SCOPED_TRACE(id);
            MapDialogRect(window, &expected);
            RECT actual;
            GetWindowRect(GetDlgItem(window, id), &actual);
            MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&actual), 2);
            EXPECT_EQ(actual.left, expected.left);
            EXPECT_EQ(actual.top, expected.top);
            EXPECT_EQ(actual.right - actual.left, expected.right);
            EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
        }
        ExpectTextsFitAndFlatButtonsScale(window);
        const HWND list = GetDlgItem(window, IDC_QUERY_TYPE);  // its lines beside the drop-down arrow
        RECT client;
        GetClientRect(list, &client);
        for (int i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
            char line[128] = "";
            SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(line));
            EXPECT_LE(Measure(FontOf(list), line).cx, client.right - GetSystemMetrics(SM_CXVSCROLL)) << line;
        }
    });
}

// The About box over its owner: centred on it; each link wholly within its
// control, which is where the hand pointer shows (WM_SETCURSOR is handled
// over a link, left to the default handling elsewhere), drawn blue at rest
// and cyan while held, its underlined text at least half the dialog font's
// line high.
TEST(AtScreenDpi, AboutBoxIsCentredAndItsLinksGrowWithTheFont) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 80, 600, 400, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    AboutDialog about(owner);
    WhileShown(about, [owner](HWND window) {
        RECT box, under;
        GetWindowRect(window, &box);
        GetWindowRect(owner, &under);
        EXPECT_NEAR(box.left + box.right, under.left + under.right, 2);
        EXPECT_NEAR(box.top + box.bottom, under.top + under.bottom, 2);
        ExpectTextsFitAndFlatButtonsScale(window);
        for (int id : {IDC_FEEDBACK_LINK, IDC_WEB_LINK, IDC_QUICK_HELP}) {
            SCOPED_TRACE(id);
            const HWND control = GetDlgItem(window, id);
            EXPECT_EQ(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
                      id != IDC_QUICK_HELP);
            if (id == IDC_QUICK_HELP) continue;
            const Pixels link = Pixels::Of(control);
            const RECT ink =
                link.Bounds([&](int x, int y) { return GetBValue(link.At(x, y)) > GetRValue(link.At(x, y)) + 40; });
            EXPECT_GE(ink.left, 0);
            EXPECT_LT(ink.right, link.Width() - 1);
            EXPECT_LT(ink.bottom, link.Height());
            EXPECT_GE(2 * (ink.bottom - ink.top + 1), LineHeightOf(window));
            const Pixels held(link.Width(), link.Height(), [&](HDC dc) {
                DRAWITEMSTRUCT item{ODT_BUTTON, static_cast<UINT>(id), 0, 0, ODS_SELECTED, control, dc,
                                    {0, 0, link.Width(), link.Height()}, 0};
                SendMessageA(window, WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&item));
            });
            for (const auto& [shown, colour] : {std::make_pair(&link, RGB(0, 0, 255)), std::make_pair(&held, RGB(0, 255, 255))})
                EXPECT_LE(shown->Bounds(colour).left, shown->Bounds(colour).right);
        }
    });
    DestroyWindow(owner);
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

// The bars shown: columns holding vertical dark runs at least 3/5 of a line
// high; a bar two pixels wide counts once, at its left. Every row's bars
// stand at the same places, as far apart as the report's stops (in twips,
// LookupDialog) at the screen's resolution.
std::vector<Bar> ExpectColumnsLineUp(HWND output, int lineHeight) {
    RedrawWindow(output, nullptr, nullptr, RDW_UPDATENOW);
    const Pixels shot = Pixels::Of(output);
    std::vector<Bar> bars;
    for (int x = 0, previous = -2; x < shot.Width(); ++x) {
        std::vector<int> tops;
        for (int y = 0, run = 0; y <= shot.Height(); ++y) {
            if (y < shot.Height() && shot.Light(x, y) < 3 * 200) {  // smoothed strokes at 96 are mid grey
                ++run;
                continue;
            }
            if (run >= lineHeight * 3 / 5) tops.push_back(y - run);
            run = 0;
        }
        if (tops.empty()) continue;
        if (x != previous + 1) bars.push_back({x, tops});
        previous = x;
    }
    const int stops[] = {200, 2700, 3700, 4900, 5700};
    EXPECT_EQ(bars.size(), 5u);
    for (std::size_t i = 1; i < 5 && bars.size() == 5; ++i) {
        EXPECT_GE(bars[0].tops.size(), 3u);
        EXPECT_EQ(bars[i].tops, bars[0].tops) << "column " << i;
        EXPECT_NEAR(bars[i].x - bars[0].x, MulDiv(stops[i] - stops[0], ui::ScreenDpi(), 1440), 1);
    }
    return bars;
}

TEST(AtScreenDpi, ReportColumnsLineUpInBothOutputControls) {
    LoadLibraryA("RICHED32.DLL");
    LookupDialog dialog;
    WhileShown(dialog, [&dialog](HWND window) {
        const int lineHeight = LineHeightOf(window);
        const auto show = [&](const std::string& text) {
            dialog.ReportText = text;
            dialog.UpdateData(false);
            return GetDlgItem(window, IDC_OUTPUT);
        };
        RECT richPlace, viewPlace;  // the view takes the Rich Edit control's place
        GetWindowRect(show(BarRows(3)), &richPlace);
        const std::vector<Bar> rich = ExpectColumnsLineUp(GetDlgItem(window, IDC_OUTPUT), lineHeight);
        const HWND view = show(BarRows(ui::ReportView::kRichEditLines + 1));  // too large for Rich Edit
        ASSERT_FALSE(IsClass(view, "RICHEDIT"));
        GetWindowRect(view, &viewPlace);
        EXPECT_TRUE(EqualRect(&richPlace, &viewPlace));
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
