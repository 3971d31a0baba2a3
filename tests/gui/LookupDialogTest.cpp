// The lookup window's own rules, on the real dialog run in this process
// under Wine: the sizing rule, and the busy states of the lookup buttons.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "LookupDialog.h"
#include "RunningDialog.h"
#include "resource.h"

namespace {

int Height(const RECT& r) { return r.bottom - r.top; }

using Running = RunningDialog<LookupDialog>;

// A proposed change relative to the window's place (120, 100), and what the
// rule makes of it: the window's change of top and height, and the report
// control's change of height (the status line moves by as much).
struct SizingRow {
    const char* name;
    int dx, dy, dcx, dcy;
    UINT flags;
    int top, height, report;  // kReportFloor: the report ends 20 pixels high
};
constexpr int kReportFloor = 1000000;

// One dialog serves every change (closing a shown window costs Wine up to
// 2 s on a display without a window manager); each change starts from the
// same place and size.
class SizingRule : public ::testing::TestWithParam<SizingRow> {
protected:
    static void SetUpTestSuite() {
        dialog_ = new Running;
        const RECT start = dialog_->Rect();
        width_ = start.right - start.left;
        height_ = Height(start);
    }
    static void TearDownTestSuite() { delete dialog_; }
    void SetUp() override { SetWindowPos(dialog_->Window(), nullptr, 120, 100, width_, height_, SWP_NOZORDER); }
    // A change taken as it is leaves the controls alone: so is its undoing.
    void TearDown() override {
        SetWindowPos(dialog_->Window(), nullptr, 0, 0, width_, height_, SWP_NOZORDER | (GetParam().flags & SWP_NOMOVE));
    }

    static Running* dialog_;
    static int width_, height_;
};
Running* SizingRule::dialog_ = nullptr;
int SizingRule::width_ = 0;
int SizingRule::height_ = 0;

TEST_P(SizingRule, WidthStaysAndHeightGoesToTheReport) {
    const SizingRow& row = GetParam();
    Running& dialog = *dialog_;
    const RECT report = dialog.Rect(IDC_OUTPUT), status = dialog.Rect(IDC_STATUS);
    const int dcy = row.dcy == -kReportFloor ? -Height(report) - 50 : row.dcy;
    SetWindowPos(dialog.Window(), nullptr, 120 + row.dx, 100 + row.dy, width_ + row.dcx, height_ + dcy,
                 SWP_NOZORDER | row.flags);
    const int grown = row.report == kReportFloor ? 20 - Height(report) : row.report;
    const RECT now = dialog.Rect();
    EXPECT_EQ(now.left, 120);  // a drag of the left edge leaves the window where it is
    EXPECT_EQ(now.top, 100 + row.top);
    EXPECT_EQ(now.right - now.left, width_ + (row.flags & SWP_NOMOVE ? row.dcx : 0));
    EXPECT_EQ(Height(now), height_ + (row.height == kReportFloor ? grown : row.height));
    EXPECT_EQ(Height(dialog.Rect(IDC_OUTPUT)), Height(report) + grown);
    EXPECT_EQ(dialog.Rect(IDC_STATUS).top, status.top + grown + (now.top - 100));
}

INSTANTIATE_TEST_SUITE_P(
    Changes, SizingRule,
    ::testing::Values(SizingRow{"BottomDown", 0, 0, 0, 30, 0, 0, 30, 30},
                      SizingRow{"BottomUp", 0, 0, 0, -45, 0, 0, -45, -45},
                      SizingRow{"TopUp", 0, -30, 0, 30, 0, -30, 30, 30},
                      SizingRow{"RightEdge", 0, 0, 60, 0, 0, 0, 0, 0},
                      SizingRow{"LeftEdge", -60, 0, 60, 0, 0, 0, 0, 0},
                      SizingRow{"UnderTheFloor", 0, 0, 0, -kReportFloor, 0, 0, kReportFloor, kReportFloor},
                      SizingRow{"NoMoveTakenAsItIs", 0, 0, 50, 50, SWP_NOMOVE, 0, 50, 0}),
    [](const ::testing::TestParamInfo<SizingRow>& info) { return info.param.name; });

// A change of the minimised, maximised or normal state passes unchanged.
TEST(SizingRuleState, AStateChangePassesUnchanged) {
    Running dialog;
    const RECT report = dialog.Rect(IDC_OUTPUT);
    WINDOWPOS proposed{dialog.Window(), nullptr, 0, 0, 900, 700, 0x8000 | SWP_NOCOPYBITS};
    SendMessageA(dialog.Window(), WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_EQ(proposed.cx, 900);
    EXPECT_EQ(proposed.cy, 700);
    const RECT after = dialog.Rect(IDC_OUTPUT);
    EXPECT_TRUE(EqualRect(&report, &after));
}

// Stored options outside what the controls can show: a query type past the
// list selects no line, a check state other than 0 to 2 shows a clear box.
TEST(StoredOptions, OddValuesShowAsNoSelectionAndClearBoxes) {
    struct Row {
        DWORD type, recursive, detailed;
        LRESULT line, recursiveShown, detailedShown;
    } rows[] = {{25, 7, 1, -1, 0, 1}, {0xFFFFFFFF, 1, 0xFFFFFFFF, -1, 1, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.type << "," << row.recursive << "," << row.detailed);
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "software\\Corvane\\Vek\\Options", 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const std::pair<const char*, DWORD> values[] = {
            {"Type", row.type}, {"Recursive", row.recursive}, {"Detailed errors", row.detailed}};
        for (const auto& [name, value] : values)
            RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(key);
        Running dialog;
        EXPECT_EQ(SendMessageA(dialog.Item(IDC_QUERY_TYPE), CB_GETCURSEL, 0, 0), row.line);
        EXPECT_EQ(SendMessageA(dialog.Item(IDC_RECURSIVE), BM_GETCHECK, 0, 0), row.recursiveShown);
        EXPECT_EQ(SendMessageA(dialog.Item(IDC_DETAILED_ERRORS), BM_GETCHECK, 0, 0), row.detailedShown);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, "software\\Corvane\\Vek\\Options");
}

// A listener that takes connections and never answers: a lookup against it
// stays busy until it is interrupted.
std::uint16_t SilentServerPort() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    static const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    bind(listener, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    listen(listener, 4);
    return ntohs(address.sin_port);
}

// Idle, busy and back: the captions and the buttons' states, and the
// members the lookup leaves.
TEST(BusyStates, LookupButtonsFollowTheLookup) {
    Running dialog;
    (*dialog).ServerPort = SilentServerPort();
    const auto command = [&] { SendMessageA(dialog.Window(), WM_COMMAND, IDC_TCP_LOOKUP, 0); };
    const auto state = [&] {
        return dialog.Text(IDC_TCP_LOOKUP) + (IsWindowEnabled(dialog.Item(IDC_TCP_LOOKUP)) ? "|on" : "|off") +
               (IsWindowEnabled(dialog.Item(IDC_WINSOCK_LOOKUP)) ? "|on" : "|off");
    };
    const auto waitFor = [&](const std::string& want) {
        for (int i = 0; i < 1000 && state() != want; ++i) Sleep(10);
        return state();
    };
    SetDlgItemTextA(dialog.Window(), IDC_SERVER, "127.0.0.1");
    command();  // an empty target: nothing happens
    EXPECT_EQ(state(), "TCP lookup|on|on");
    EXPECT_EQ((*dialog).Busy, 0);
    SetDlgItemTextA(dialog.Window(), IDC_TARGET, "www.example.test");
    command();
    EXPECT_EQ(state(), "&Interrupt|on|off");
    EXPECT_EQ((*dialog).Busy, 1);
    EXPECT_EQ((*dialog).LookupTarget, "www.example.test");
    // A root server chosen meanwhile shows at once and outlasts the lookup's
    // own refresh of the fields.
    SendMessageA(dialog.Window(), WM_COMMAND, IDM_ROOT_A, 0);
    EXPECT_EQ(dialog.Text(IDC_SERVER), "198.41.0.4");
    for (int i = 0; i < 1000 && (*dialog).LookupSocket == net::kNoSocket; ++i) Sleep(10);
    command();  // the interrupt closes the connection
    EXPECT_EQ(waitFor("TCP &lookup|on|on"), "TCP &lookup|on|on");
    EXPECT_EQ((*dialog).Busy, 0);
    EXPECT_EQ((*dialog).InterruptRequested, 0);
    EXPECT_EQ(dialog.Text(IDC_SERVER), "198.41.0.4");
    EXPECT_EQ((*dialog).Server, "198.41.0.4");
}

}  // namespace
