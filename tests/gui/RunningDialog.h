#pragma once
// What the in-process window tests share: a dialog of the program run
// modally on a thread of its own, worked from outside as the user's input
// does, and drawing read back pixel by pixel from a memory bitmap.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

inline bool IsClass(HWND window, const char* name) {
    char found[32] = "";
    GetClassNameA(window, found, sizeof found);
    return lstrcmpiA(found, name) == 0;
}

inline std::string TextOf(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

template <typename Dialog>
class RunningDialog {
public:
    template <typename... Args>
    explicit RunningDialog(Args&&... args) : dialog_(std::forward<Args>(args)...) {
        LoadLibraryA("RICHED32.DLL");
        thread_ = std::thread([this] { dialog_.RunModal(); });
        for (int i = 0; i < 500 && !(dialog_.Handle() && IsWindowVisible(dialog_.Handle())); ++i) Pump();
    }
    ~RunningDialog() {
        const HWND window = dialog_.Handle();
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        for (int i = 0; i < 500 && IsWindow(window); ++i) Pump();
        thread_.join();
    }
    RunningDialog(const RunningDialog&) = delete;
    RunningDialog& operator=(const RunningDialog&) = delete;

    Dialog& operator*() { return dialog_; }
    HWND Window() { return dialog_.Handle(); }
    HWND Item(int id) { return GetDlgItem(dialog_.Handle(), id); }
    RECT Rect(int id = 0) {
        RECT r;
        GetWindowRect(id ? Item(id) : Window(), &r);
        return r;
    }
    std::string Text(int id) { return TextOf(Item(id)); }

private:
    // A modal dialog sends its owner, which may be a window of this thread,
    // messages that must be answered while it opens and closes.
    static void Pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }

    Dialog dialog_;
    std::thread thread_;
};

class Pixels {
public:
    // What `paint` draws into a white bitmap of `width` by `height`.
    Pixels(int width, int height, const std::function<void(HDC)>& paint) : width_(width), height_(height) {
        BITMAPINFO format{};
        format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, width, height, WHITENESS);
        paint(dc);
        GdiFlush();
        const auto* words = static_cast<const DWORD*>(bits);
        pixels_.assign(words, words + static_cast<std::size_t>(width) * height);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    // A window's client area as it shows.
    static Pixels Of(HWND window) {
        RECT client;
        GetClientRect(window, &client);
        HDC source = GetDC(window);
        Pixels shot(client.right, client.bottom,
                    [&](HDC dc) { BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY); });
        ReleaseDC(window, source);
        return shot;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const {
        const DWORD p = pixels_[static_cast<std::size_t>(y) * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Light(int x, int y) const { return Light(At(x, y)); }
    static int Light(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }
    // The smallest rectangle (right and bottom inclusive) holding every
    // pixel at least `margin` in from the edge that `ink` picks; left >
    // right when there is none.
    RECT Bounds(const std::function<bool(int, int)>& ink, int margin = 0) const {
        RECT box{width_, height_, -1, -1};
        for (int y = margin; y < height_ - margin; ++y)
            for (int x = margin; x < width_ - margin; ++x)
                if (ink(x, y)) box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                                      std::max<LONG>(box.right, x), std::max<LONG>(box.bottom, y)};
        return box;
    }
    RECT Bounds(COLORREF colour, int margin = 0) const {
        return Bounds([&](int x, int y) { return At(x, y) == colour; }, margin);
    }

private:
    int width_, height_;
    std::vector<DWORD> pixels_;
};
