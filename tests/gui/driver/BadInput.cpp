#include "BadInput.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "Escape.h"

namespace {

// Hands `text` to the clipboard as CF_TEXT; the clipboard owns the memory
// once SetClipboardData took it.
bool PutText(const std::string& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!memory) return false;
    char* bytes = static_cast<char*>(GlobalLock(memory));
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (SetClipboardData(CF_TEXT, memory)) return true;
    GlobalFree(memory);
    return false;
}

// A 1-by-1 picture, and no text.
bool PutBitmap() {
    HBITMAP bitmap = CreateBitmap(1, 1, 1, 1, nullptr);
    return bitmap && SetClipboardData(CF_BITMAP, bitmap);
}

}  // namespace

std::string SetClipboard(const std::string& argument) {
    std::istringstream in(argument);
    std::string kind;
    in >> kind;
    if (!OpenClipboard(nullptr)) return "error clipboard busy";
    EmptyClipboard();
    bool done = true;
    if (kind == "text") {
        done = PutText(Unescape(argument.size() > 5 ? argument.substr(5) : std::string()));
    } else if (kind == "huge") {
        long count = 0;
        in >> count;
        done = count > 0 && PutText(std::string(static_cast<std::size_t>(count), 'h'));
    } else if (kind == "bitmap") {
        done = PutBitmap();
    } else if (kind != "empty") {
        done = false;
    }
    CloseClipboard();
    return done ? "ok" : "error cannot set the clipboard to " + kind;
}

std::string CheckResponsive(long ms) {
    HWND dialog = FindWindowW(L"#32770", L"DNS lookup");
    if (!dialog) return "error no window";
    DWORD_PTR result = 0;
    const LRESULT answered = SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                                 static_cast<UINT>(ms), &result);
    return answered ? "ok" : "error not responding";
}
