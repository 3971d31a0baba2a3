#include "DialogState.h"

#include "Escape.h"

std::string ScreenRect(HWND window) {
    RECT r;
    if (!GetWindowRect(window, &r)) return "error no window";
    return "ok " + std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
           " " + std::to_string(r.bottom);
}

std::string OwnerCaption(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (!owner) return "ok";
    wchar_t caption[256] = L"";
    GetWindowTextW(owner, caption, 256);
    return "ok " + Escape(Narrow(caption));
}

std::string DefaultId(HWND dialog) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(dialog, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 5000, &result))
        return "error no answer";
    if (HIWORD(result) != DC_HASDEFID) return "ok none";
    return "ok " + std::to_string(LOWORD(result));
}

std::string FocusId(HWND dialog) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) || !info.hwndFocus)
        return "ok none";
    return "ok " + std::to_string(GetDlgCtrlID(info.hwndFocus));
}

std::string SystemColours() {
    const struct {
        const char* name;
        int index;
    } colours[] = {{"face", COLOR_BTNFACE},           {"shadow", COLOR_BTNSHADOW},
                   {"highlight", COLOR_BTNHIGHLIGHT}, {"darkshadow", COLOR_3DDKSHADOW},
                   {"light", COLOR_3DLIGHT},          {"text", COLOR_BTNTEXT}};
    std::string out = "ok";
    for (const auto& colour : colours) {
        COLORREF value = GetSysColor(colour.index);
        out += (out == "ok" ? " " : ";") + std::string(colour.name) + " " + std::to_string(GetRValue(value)) +
               " " + std::to_string(GetGValue(value)) + " " + std::to_string(GetBValue(value));
    }
    return out;
}
