#pragma once
#include <windows.h>

#ifndef DWMWA_CAPTION_COLOR
#define DWMWA_CAPTION_COLOR 35
#endif
#ifndef DWMWA_TEXT_COLOR
#define DWMWA_TEXT_COLOR 36
#endif
#ifndef DWMWA_USE_IMMERSIVE_DARK_MODE
#define DWMWA_USE_IMMERSIVE_DARK_MODE 20
#endif
#ifndef DWMWA_COLOR_DEFAULT
#define DWMWA_COLOR_DEFAULT 0xFFFFFFFF
#endif

constexpr DWORD kWindows11Build = 22000;
constexpr COLORREF kColorNotSet = 0xFFFFFFFF;

bool DwmAvailable() noexcept;
void ReleaseWindowManager() noexcept;
int IsWindows11OrLater() noexcept;

inline COLORREF MakeColor(int red, int green, int blue) {
    return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) |
           (static_cast<COLORREF>(blue) << 16);
}
inline int ClampColorComponent(int value) {
    return value < 0 ? 0 : value > 255 ? 255 : value;
}
inline int ColorRed(COLORREF color) {
    return color & 0xFF;
}
inline int ColorGreen(COLORREF color) {
    return (color >> 8) & 0xFF;
}
inline int ColorBlue(COLORREF color) {
    return (color >> 16) & 0xFF;
}

HWND WindowFromArgument(int window) noexcept;
HWND TargetWindow(int window) noexcept;

int SetCaptionColor(int red, int green, int blue, int window) noexcept;
int SetCaptionTextColor(int red, int green, int blue, int window) noexcept;
int RemoveStyle(int window) noexcept;
bool ResetCaptionColors(HWND window) noexcept;

bool WantsDarkMode(COLORREF caption, COLORREF text) noexcept;
void MatchDarkMode(HWND window, COLORREF caption, COLORREF text) noexcept;
void RestoreDarkMode(HWND window) noexcept;

void NoteStyledWindow(HWND window) noexcept;
bool YieldToContrastTheme() noexcept;

void InitThemeTable() noexcept;
int ApplyTheme(int index, int window) noexcept;
int SetGlobalTheme(int index) noexcept;

int SetButtons(int close, int minimize, int maximize, int window) noexcept;
int GetActiveWindowInfo() noexcept;
