// Waits for a top-level window with the given title (of any process on the desktop), copies it
// from the screen, caption and frame included, into a 24-bit BMP, and optionally closes it.
//   window_shot [--close] TITLE OUT.bmp
#include <windows.h>
#include <cstdio>
#include <cstring>

#include "bitmap_file.h"

namespace {

constexpr DWORD kFindWindowMs = 30000;
constexpr DWORD kPollMs = 50;
// The window's controls paint after it first shows; give them time before the copy.
constexpr DWORD kSettleMs = 800;
constexpr DWORD kCloseMs = 5000;

bool TimeLeft(DWORD deadline) {
    return static_cast<int>(deadline - GetTickCount()) > 0;
}

HWND WaitForWindow(const wchar_t* title) {
    DWORD deadline = GetTickCount() + kFindWindowMs;
    do {
        HWND window = FindWindowW(nullptr, title);
        if (window && IsWindowVisible(window)) return window;
        Sleep(kPollMs);
    } while (TimeLeft(deadline));
    return nullptr;
}

// The screen, not PrintWindow: it holds the frame and caption exactly as they are drawn.
bool CopyWindowPixels(HWND window, Canvas& canvas) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return false;
    if (!canvas.Create(rect.right - rect.left, rect.bottom - rect.top)) return false;
    HDC screen = GetDC(nullptr);
    if (!screen) return false;
    BOOL copied = BitBlt(canvas.dc, 0, 0, canvas.width, canvas.height, screen, rect.left, rect.top,
                         SRCCOPY | CAPTUREBLT);
    ReleaseDC(nullptr, screen);
    return copied != FALSE;
}

// Posted, never sent: a message sent into another thread's modal loop can stall it under Wine.
bool CloseWindowAndWait(HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD deadline = GetTickCount() + kCloseMs;
    while (IsWindow(window) && TimeLeft(deadline))
        Sleep(kPollMs);
    return !IsWindow(window);
}

} // namespace

int main(int argc, char** argv) {
    bool close = argc > 1 && std::strcmp(argv[1], "--close") == 0;
    int first = close ? 2 : 1;
    if (argc - first != 2) {
        std::fprintf(stderr, "usage: window_shot [--close] TITLE OUT.bmp\n");
        return 2;
    }
    wchar_t title[256];
    if (!MultiByteToWideChar(CP_UTF8, 0, argv[first], -1, title, 256)) {
        std::fprintf(stderr, "window_shot: title too long\n");
        return 2;
    }
    const char* path = argv[first + 1];
    HWND window = WaitForWindow(title);
    if (!window) {
        std::fprintf(stderr, "window_shot: no window \"%s\" appeared\n", argv[first]);
        return 1;
    }
    Sleep(kSettleMs);
    Canvas canvas;
    bool saved = CopyWindowPixels(window, canvas) && canvas.Save(path);
    if (!saved)
        std::fprintf(stderr, "window_shot: cannot copy \"%s\" into %s\n", argv[first], path);
    if (close && !CloseWindowAndWait(window)) {
        std::fprintf(stderr, "window_shot: \"%s\" did not close\n", argv[first]);
        return 1;
    }
    return saved ? 0 : 1;
}
