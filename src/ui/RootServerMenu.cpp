// The "Set root server" button's menu of the 13 root name servers; a choice
// writes that server's address into the server field.
#include "LookupDialog.h"
#include "resource.h"

namespace {

struct RootServer {
    int command;
    const char* address;
};

// Menu order A to M, with the IPv4 addresses of the current root hints.
const RootServer kRootServers[] = {
    {IDM_ROOT_A, "198.41.0.4"},     {IDM_ROOT_B, "170.247.170.2"},
    {IDM_ROOT_C, "192.33.4.12"},    {IDM_ROOT_D, "199.7.91.13"},
    {IDM_ROOT_E, "192.203.230.10"}, {IDM_ROOT_F, "192.5.5.241"},
    {IDM_ROOT_G, "192.112.36.4"},   {IDM_ROOT_H, "198.97.190.53"},
    {IDM_ROOT_I, "192.36.148.17"},  {IDM_ROOT_J, "192.58.128.30"},
    {IDM_ROOT_K, "193.0.14.129"},   {IDM_ROOT_L, "199.7.83.42"},
    {IDM_ROOT_M, "202.12.27.33"},
};

}  // namespace

// The menu opens directly below the button, left-aligned with it; the
// chosen item comes back to the dialog as a command.
void LookupDialog::OnRootServerButton() {
    RECT button;
    GetWindowRect(RootServerButton.Handle(), &button);
    TrackPopupMenu(GetSubMenu(RootServerMenu, 0), TPM_LEFTALIGN | TPM_LEFTBUTTON, button.left,
                   button.bottom, 0, Handle(), nullptr);
}

// Everything typed into the other fields stays. While a lookup runs, its
// worker reads the members: the choice then shows in the server field at
// once and becomes Server when the lookup has ended.
void LookupDialog::OnRootServer(int command) {
    for (const RootServer& server : kRootServers) {
        if (server.command != command) continue;
        if (Busy) {
            chosenServer_ = server.address;
            SetDlgItemTextA(Handle(), IDC_SERVER, server.address);
            return;
        }
        UpdateData(true);
        Server = server.address;
        UpdateData(false);
        return;
    }
}
