#include "Escape.h"

#include <windows.h>

std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char c = text[++i];
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
    }
    return out;
}

// Through the ANSI code page that the program itself runs with, so that every
// byte it wrote comes back as it was.
std::string Narrow(const std::wstring& text) {
    if (text.empty()) return std::string();
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr,
                        nullptr);
    return out;
}

std::wstring Widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
    return out;
}

std::string LoadStringOf(const std::string& module, int id) {
    HMODULE loaded = LoadLibraryExW(Widen(module).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!loaded) return "error cannot load " + module;
    const wchar_t* text = nullptr;
    int length = LoadStringW(loaded, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    std::string reply = length > 0 ? "ok " + Escape(Narrow(std::wstring(text, length))) : "error no string";
    FreeLibrary(loaded);
    return reply;
}
