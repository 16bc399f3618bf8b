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
#ifndef DWMWA_BORDER_COLOR
#define DWMWA_BORDER_COLOR 34
#endif
// The dark-mode flag's number on Windows 10 1809 to 1909, before it became 20.
#ifndef DWMWA_USE_IMMERSIVE_DARK_MODE_BEFORE_20H1
#define DWMWA_USE_IMMERSIVE_DARK_MODE_BEFORE_20H1 19
#endif

constexpr DWORD kWindows11Build = 22000;
constexpr DWORD kDarkModeBuild = 17763;            // Windows 10 1809
constexpr DWORD kDarkModeAttribute20Build = 18985; // the first 20H1 build
constexpr COLORREF kColorNotSet = 0xFFFFFFFF;
constexpr COLORREF kBorderFollowsCaption = 0x01000000; // no colour has this bit

bool DwmAvailable() noexcept;
void ReleaseWindowManager() noexcept;
DWORD WindowsBuild() noexcept;
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
// A window of another thread that would not answer a message sent to it.
bool NotResponding(HWND window) noexcept;

// What the plug-in set on a window, kept on the window itself.
extern const wchar_t kCaptionProperty[], kTextProperty[], kOwnFlagProperty[], kBorderProperty[];
bool SetWindowValue(HWND window, const wchar_t* name, DWORD value) noexcept;
DWORD WindowValue(HWND window, const wchar_t* name, DWORD missing) noexcept;

bool RequireWindows11() noexcept;
HWND StylingTarget(int window) noexcept;
void ReportRefusal(HRESULT result) noexcept;
int SetCaptionColor(int red, int green, int blue, int window) noexcept;
int SetCaptionTextColor(int red, int green, int blue, int window) noexcept;
int RemoveStyle(int window) noexcept;
bool ResetCaptionColors(HWND window) noexcept;

int SetBorderColor(int red, int green, int blue, int window) noexcept;
void FollowCaptionWithBorder(HWND window, COLORREF caption) noexcept;
bool GiveNewWindowBorder(HWND window, COLORREF caption) noexcept;
bool ResetBorderColor(HWND window) noexcept;

bool WantsDarkMode(COLORREF caption, COLORREF text) noexcept;
void MatchDarkMode(HWND window, COLORREF caption, COLORREF text) noexcept;
void RestoreDarkMode(HWND window) noexcept;
HRESULT GiveOwnDarkMode(HWND window, int on) noexcept;
int SetDarkMode(int dark, int window) noexcept;

void NoteStyledWindow(HWND window) noexcept;
bool YieldToContrastTheme() noexcept;
void ReleaseContrastTheme() noexcept;
void SilenceContrastWatcher() noexcept;

void InitThemeTable() noexcept;
int ApplyTheme(int index, int window) noexcept;
int SetGlobalTheme(int index) noexcept;

int SetButtons(int close, int minimize, int maximize, int window) noexcept;
int GetActiveWindowInfo() noexcept;
