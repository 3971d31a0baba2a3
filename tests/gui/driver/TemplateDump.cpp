#include "TemplateDump.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "Escape.h"

namespace {

// A bounds-checked walk over the template's words.
class TemplateReader {
public:
    TemplateReader(const BYTE* data, std::size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    WORD Word() {
        WORD v = 0;
        Take(&v, 2);
        return v;
    }
    DWORD Dword() {
        DWORD v = 0;
        Take(&v, 4);
        return v;
    }
    short Short() { return static_cast<short>(Word()); }
    // A string or an ordinal (0xFFFF then a number); class ordinals by name.
    std::string StringOrOrdinal(bool isClass) {
        WORD first = Word();
        if (first == 0xFFFF) {
            WORD ordinal = Word();
            static const char* const kClasses[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
            if (isClass && ordinal >= 0x80 && ordinal <= 0x85) return kClasses[ordinal - 0x80];
            return "#" + std::to_string(ordinal);
        }
        std::wstring text;
        for (WORD c = first; c && ok_ && text.size() < 4096; c = Word()) text += static_cast<wchar_t>(c);
        return Narrow(text);
    }
    void AlignDword() { at_ = (at_ + 3) & ~std::size_t(3); }

private:
    void Take(void* out, std::size_t n) {
        if (at_ + n > size_) {
            ok_ = false;
            return;
        }
        std::memcpy(out, data_ + at_, n);
        at_ += n;
    }
    const BYTE* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

std::string Box(TemplateReader& in) {
    short x = in.Short(), y = in.Short(), w = in.Short(), h = in.Short();
    char text[64];
    std::snprintf(text, sizeof text, "%d %d %d %d", x, y, w, h);
    return text;
}

std::string Hex(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "%lx", static_cast<unsigned long>(value));
    return text;
}

std::string Dump(TemplateReader& in) {
    if (in.Word() != 1 || in.Word() != 0xFFFF) return "error not an extended template";
    in.Dword();  // help id
    DWORD exStyle = in.Dword(), style = in.Dword();
    WORD count = in.Word();
    std::string box = Box(in);
    in.StringOrOrdinal(false);  // menu
    in.StringOrOrdinal(false);  // class
    std::string out = in.StringOrOrdinal(false) + "|" + box + "|" + Hex(style) + "|" + Hex(exStyle);
    if (style & DS_SETFONT) {
        WORD points = in.Word();
        in.Word();   // weight
        in.Word();   // italic, charset
        out += "|" + std::to_string(points) + " " + in.StringOrOrdinal(false);
    }
    for (WORD i = 0; i < count && in.ok(); ++i) {
        in.AlignDword();
        in.Dword();  // help id
        DWORD itemEx = in.Dword(), itemStyle = in.Dword();
        std::string itemBox = Box(in);
        DWORD id = in.Dword();
        std::string cls = in.StringOrOrdinal(true);
        std::string text = in.StringOrOrdinal(false);
        WORD extra = in.Word();
        for (WORD b = 0; b < extra; b += 2) in.Word();  // creation data
        out += "\n" + std::to_string(id) + "|" + cls + "|" + text + "|" + itemBox + "|" + Hex(itemStyle) + "|" +
               Hex(itemEx);
    }
    return in.ok() ? "ok " + Escape(out) : "error template cut short";
}

}  // namespace

std::string DumpTemplate(const std::string& module, int id) {
    HMODULE loaded = LoadLibraryExW(Widen(module).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!loaded) return "error cannot load " + module;
    std::string reply = "error no template";
    HRSRC found = FindResourceW(loaded, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
    HGLOBAL data = found ? LoadResource(loaded, found) : nullptr;
    if (data) {
        TemplateReader in(static_cast<const BYTE*>(LockResource(data)), SizeofResource(loaded, found));
        reply = Dump(in);
    }
    FreeLibrary(loaded);
    return reply;
}
