#include "Dialog.h"

#include <cstring>

#include "DataExchange.h"
#include "resource.h"

namespace ui {

INT_PTR Dialog::RunModal() {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent_,
                           &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, l);
        reinterpret_cast<Dialog*>(l)->window_ = window;
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!self) return FALSE;  // messages before WM_INITDIALOG
    try {
        return self->HandleMessage(message, w, l);
    } catch (...) {
        return FALSE;
    }
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM w, LPARAM) {
    if (message == WM_INITDIALOG) return OnInitDialog();
    if (message == WM_COMMAND) return OnCommand(LOWORD(w), HIWORD(w)) ? TRUE : FALSE;
    return FALSE;
}

bool Dialog::OnCommand(int id, int code) {
    if (code != 0 || (id != IDOK && id != IDCANCEL)) return false;
    End(id);
    return true;
}

BOOL Dialog::OnInitDialog() {
    ApplyInitData();
    UpdateData(false);
    return TRUE;
}

void Dialog::UpdateData(bool toMembers) {
    DataExchange exchange(window_, toMembers);
    Exchange(exchange);
}

// The initial list lines are stored as records of a 16-bit control id and a
// zero-terminated text, closed by id 0. A record cut short ends the list.
void Dialog::ApplyInitData() const {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId_), MAKEINTRESOURCEA(RT_DIALOG_INIT));
    if (!found) return;
    HGLOBAL loaded = LoadResource(module, found);
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!data) return;
    const std::size_t size = SizeofResource(module, found);
    std::size_t at = 0;
    while (at + 2 <= size) {
        WORD id;
        std::memcpy(&id, data + at, 2);
        at += 2;
        const void* end = id ? std::memchr(data + at, 0, size - at) : nullptr;
        if (!end) return;
        SendDlgItemMessageA(window_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(data + at));
        at = static_cast<std::size_t>(static_cast<const char*>(end) - data) + 1;
    }
}

}  // namespace ui
