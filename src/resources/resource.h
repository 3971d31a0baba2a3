#pragma once
// Every resource id of the program, one block per kind of id. Included by the
// resource script and by the window code; plain #defines so that both the
// resource compiler and C++ read it.

// Dialog templates.
#define IDD_ABOUT 100
#define IDD_LOOKUP 102
#define IDD_QUICK_HELP 23455

// Menus.
#define IDR_ROOT_SERVERS 316

// Icons and cursors.
#define IDI_APP 128
#define IDC_LINK_CURSOR 104

// Custom resource type: the initial lines of the dialogs' list controls,
// stored under the id of the dialog they belong to.
#define RT_DIALOG_INIT 240

// Controls of the lookup dialog.
#define IDC_DETAILED_ERRORS 1000
#define IDC_REVERSE_QUERY 1001
#define IDC_RECURSIVE 1002
#define IDC_SERVER 1037
#define IDC_WINSOCK_LOOKUP 1040
#define IDC_SAVE 1041
#define IDC_QUERY_TYPE 1044
#define IDC_OUTPUT 1045
#define IDC_PASTE_TARGET 1047
#define IDC_ROOT_SERVER 1048
#define IDC_TARGET 1127
#define IDC_STATUS 1130
#define IDC_ABOUT 33774
// The "TCP lookup" button is the dialog's OK command (id 1, the Enter key).
#define IDC_TCP_LOOKUP 1

// Controls of the About box and the Quick help dialog. "OK" and "Done" are
// the Cancel command (IDCANCEL, 2).
#define IDC_QUICK_HELP 3
#define IDC_HELP_TEXT 1009
#define IDC_FEEDBACK_LINK 1108
#define IDC_WEB_LINK 1109

// Commands: the system-menu item and the root-server menu items. D is out
// of sequence; A to C and E to M run on.
#define IDM_ABOUT_BOX 16
#define IDM_ROOT_A 32775
#define IDM_ROOT_B 32776
#define IDM_ROOT_C 32777
#define IDM_ROOT_D 32771
#define IDM_ROOT_E 32778
#define IDM_ROOT_F 32779
#define IDM_ROOT_G 32780
#define IDM_ROOT_H 32781
#define IDM_ROOT_I 32782
#define IDM_ROOT_J 32783
#define IDM_ROOT_K 32784
#define IDM_ROOT_L 32785
#define IDM_ROOT_M 32786
