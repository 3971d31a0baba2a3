#include "LookupDialog.h"

#include <richedit.h>

#include <utility>

#include "CentreOverOwner.h"
#include "Texts.h"
#include "dialog/DataExchange.h"
#include "resource.h"

LookupDialog::LookupDialog()
    : ui::Dialog(IDD_LOOKUP, nullptr),
      RootServerMenu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ROOT_SERVERS))),
      AppIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP))),
      refreshShown_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

LookupDialog::~LookupDialog() {
    if (RootServerMenu) DestroyMenu(RootServerMenu);
    if (refreshShown_) CloseHandle(refreshShown_);
}

// While a lookup runs its worker owns ReportText: the interface thread then
// neither reads nor writes it, and shows the copy the worker handed over.
void LookupDialog::Exchange(ui::DataExchange& exchange) {
    const std::pair<int, ui::Control*> controls[] = {
        {IDC_PASTE_TARGET, &TargetButton}, {IDC_SAVE, &SaveButton},
        {IDC_ROOT_SERVER, &RootServerButton}, {IDC_ABOUT, &AboutButton},
        {IDC_STATUS, &StatusLine}, {IDC_TCP_LOOKUP, &TcpLookupButton},
        {IDC_WINSOCK_LOOKUP, &WinsockLookupButton}, {IDC_OUTPUT, &OutputView},
        {IDC_TARGET, &TargetEdit}};
    for (const auto& control : controls) exchange.Attach(control.first, *control.second);
    exchange.Text(IDC_TARGET, Target);
    exchange.Text(IDC_SERVER, Server);
    exchange.ListIndex(IDC_QUERY_TYPE, QueryTypeIndex);
    if (exchange.ToMembers()) {
        if (!Busy) exchange.Text(IDC_OUTPUT, ReportText);
    } else if (handedReport_ || !Busy) {
        // The handed copy is dropped after showing, so the control may take it.
        OutputView.SetText(handedReport_ ? std::move(*handedReport_) : ReportText);
    }
    exchange.Check(IDC_DETAILED_ERRORS, DetailedErrors);
    exchange.Check(IDC_RECURSIVE, Recursive);
    exchange.Check(IDC_REVERSE_QUERY, ReverseQuery);
}

BOOL LookupDialog::OnInitDialog() {
    interfaceThread_ = GetCurrentThreadId();
    ui::Dialog::OnInitDialog();
    RECT rect;
    GetWindowRect(Handle(), &rect);
    const POINT created = {rect.left, rect.top};
    LoadWindowRect(rect);
    MoveWindow(Handle(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    // A window that no stored place has moved opens centred, as dialogs do.
    if (rect.left == created.x && rect.top == created.y) CentreOverOwner(Handle());
    LoadOptions();
    UpdateData(false);
    ExtendSystemMenu();
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(AppIcon));
    SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(AppIcon));
    SetTabStops();
    if (AutoStart) PostMessageA(Handle(), WM_COMMAND, IDC_TCP_LOOKUP, 0);
    return TRUE;
}

void LookupDialog::ExtendSystemMenu() {
    HMENU menu = GetSystemMenu(Handle(), FALSE);
    const char* about = TextOf(kAboutMenuItem);
    if (!menu || !*about) return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_ABOUT_BOX, about);
}

// The report's columns are tab-separated and line up under these stops.
void LookupDialog::SetTabStops() {
    PARAFORMAT format{};
    format.cbSize = sizeof(format);
    format.dwMask = PFM_TABSTOPS;
    format.cTabCount = 5;
    const LONG stops[] = {200, 2700, 3700, 4900, 5700};
    for (int i = 0; i < 5; ++i) format.rgxTabs[i] = stops[i];
    OutputView.SetParagraphFormat(format);
}

BOOL LookupDialog::OnSysCommand(WPARAM command) {
    if ((command & 0xFFF0) != IDM_ABOUT_BOX) return FALSE;
    ShowAboutBox();
    return TRUE;
}

BOOL LookupDialog::OnPaint() {
    if (!IsIconic(Handle())) return FALSE;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    SendMessageA(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(Handle(), &client);
    int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, AppIcon);
    EndPaint(Handle(), &paint);
    return TRUE;
}

INT_PTR LookupDialog::HandleMessage(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_SYSCOMMAND:
        return OnSysCommand(w);
    case WM_PAINT:
        return OnPaint();
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(AppIcon);
    case WM_CLOSE:
        OnClose();
        return FALSE;  // the default handling ends the dialog
    case WM_WINDOWPOSCHANGING:
        OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(l));
        return FALSE;
    case kLookupRefresh:
        OnLookupRefresh(reinterpret_cast<std::string*>(l));
        return TRUE;
    case kLookupBusy:
        ShowBusy(static_cast<int>(w));
        return TRUE;
    }
    return ui::Dialog::HandleMessage(message, w, l);
}

// Button clicks and menu choices (code 0); the Cancel command of the Escape
// key reaches the base, which ends the dialog.
bool LookupDialog::OnCommand(int id, int code) {
    if (code == 0) {
        switch (id) {
        case IDC_PASTE_TARGET: OnPasteTarget(); return true;
        case IDC_TCP_LOOKUP: OnTcpLookup(); return true;
        case IDC_WINSOCK_LOOKUP: OnWinsockLookup(); return true;
        case IDC_ROOT_SERVER: OnRootServerButton(); return true;
        case IDM_ROOT_A: case IDM_ROOT_B: case IDM_ROOT_C: case IDM_ROOT_D:
        case IDM_ROOT_E: case IDM_ROOT_F: case IDM_ROOT_G: case IDM_ROOT_H:
        case IDM_ROOT_I: case IDM_ROOT_J: case IDM_ROOT_K: case IDM_ROOT_L:
        case IDM_ROOT_M: OnRootServer(id); return true;
        case IDC_ABOUT: ShowAboutBox(); return true;
        case IDC_SAVE: SaveReport(); return true;
        }
    }
    return ui::Dialog::OnCommand(id, code);
}
