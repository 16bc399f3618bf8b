#include <cmath>

#include "plugin/host_bridge.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

// Windows 11 draws the caption buttons' glyphs from its light or dark set, chosen by the window's
// dark-mode flag, not by the caption text colour; every window starts with the flag off, so its
// glyphs are black on any caption colour:
// https://learn.microsoft.com/windows/apps/desktop/modernize/ui/apply-windows-themes

// Below this relative luminance, in millionths, white glyphs contrast more than black:
// (1.05 / (L + 0.05)) equals ((L + 0.05) / 0.05) at L = 0.179.
constexpr int kEqualContrastLuminance = 179000;

static double LinearComponent(int component) noexcept {
    double value = component / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

// WCAG 2 relative luminance: https://www.w3.org/TR/WCAG21/#dfn-relative-luminance
// In whole millionths from one copy of the code, so that equal colours compare equal: the 32-bit
// build's x87 arithmetic keeps 80 bits in registers and 64 in memory.
__attribute__((noinline)) static int RelativeLuminance(COLORREF color) noexcept {
    double luminance = 0.2126 * LinearComponent(ColorRed(color)) +
                       0.7152 * LinearComponent(ColorGreen(color)) +
                       0.0722 * LinearComponent(ColorBlue(color));
    return static_cast<int>(luminance * 1e6 + 0.5);
}

// Light glyphs where the title text is lighter than the caption, or, with no text colour set, where
// the caption is dark.
bool WantsDarkMode(COLORREF caption, COLORREF text) noexcept {
    if (text == kColorNotSet) return RelativeLuminance(caption) < kEqualContrastLuminance;
    return RelativeLuminance(text) > RelativeLuminance(caption);
}

constexpr DWORD kNoWindowValue = 0xFFFFFFFF;

// Windows 10 took the flag as attribute 19 until 20H1, and 20 since, as Windows 11 does:
// https://github.com/wxWidgets/wxWidgets/pull/26732
static DWORD DarkModeAttribute() noexcept {
    return WindowsBuild() < kDarkModeAttribute20Build ? DWMWA_USE_IMMERSIVE_DARK_MODE_BEFORE_20H1
                                                      : DWMWA_USE_IMMERSIVE_DARK_MODE;
}

// The documented default is off; a window manager that cannot say counts as that.
static int ReadDarkMode(HWND window) noexcept {
    BOOL on = FALSE;
    if (!g_state.dwmGetWindowAttribute ||
        g_state.dwmGetWindowAttribute(window, DarkModeAttribute(), &on, sizeof(on)) != S_OK)
        return 0;
    return on ? 1 : 0;
}

static HRESULT WriteDarkMode(HWND window, int on) noexcept {
    BOOL value = on;
    return g_state.dwmSetWindowAttribute(window, DarkModeAttribute(), &value, sizeof(value));
}

// Windows 10 draws the caption in its new mode only once the window is activated or deactivated:
// drawing it the other way and back, as it is, does that without activating anything
// (https://github.com/Akascape/py-window-styles/pull/47, electron/electron#39287). A hung window
// would never answer.
static void RedrawCaption(HWND window) noexcept {
    // A window not shown yet paints in its mode from the start.
    if (IsWindows11OrLater() || !IsWindowVisible(window) || NotResponding(window)) return;
    WINDOWINFO info = {};
    info.cbSize = sizeof info;
    BOOL active = GetWindowInfo(window, &info) && info.dwWindowStatus == WS_ACTIVECAPTION;
    SendMessageW(window, WM_NCACTIVATE, !active, 0);
    SendMessageW(window, WM_NCACTIVATE, active, 0);
}

// Called right after colour calls the window manager accepted, with kColorNotSet for a colour not
// set by them; the flag's own failures are not the host's business.
void MatchDarkMode(HWND window, COLORREF caption, COLORREF text) noexcept {
    if (!IsWindows11OrLater()) return;
    if (caption != kColorNotSet) SetWindowValue(window, kCaptionProperty, caption);
    if (text != kColorNotSet) SetWindowValue(window, kTextProperty, text);
    caption = WindowValue(window, kCaptionProperty, kColorNotSet);
    if (caption == kColorNotSet) return;
    int wanted = WantsDarkMode(caption, WindowValue(window, kTextProperty, kColorNotSet)) ? 1 : 0;
    // Read now: the window, or a dialog following the system's theme, may have switched it since.
    int current = ReadDarkMode(window);
    if (wanted == current) return;
    // A flag that could not be given back is not changed.
    if (!GetPropW(window, kOwnFlagProperty) && !SetWindowValue(window, kOwnFlagProperty, current))
        return;
    WriteDarkMode(window, wanted);
}

// The window's colours go back to the system, and with them its own glyphs; nothing of the
// plug-in stays on it.
void RestoreDarkMode(HWND window) noexcept {
    DWORD own = WindowValue(window, kOwnFlagProperty, kNoWindowValue);
    RemovePropW(window, kOwnFlagProperty);
    RemovePropW(window, kCaptionProperty);
    RemovePropW(window, kTextProperty);
    if (own != kNoWindowValue && ReadDarkMode(window) != static_cast<int>(own))
        WriteDarkMode(window, static_cast<int>(own));
}

// The mode becomes the window's own, which RemoveStyle puts back. While a caption colour of the
// plug-in is on the window its glyphs must stay readable there, so the rule above keeps the flag.
HRESULT GiveOwnDarkMode(HWND window, int on) noexcept {
    if (WindowValue(window, kCaptionProperty, kColorNotSet) != kColorNotSet) {
        SetWindowValue(window, kOwnFlagProperty, on);
        return S_OK;
    }
    HRESULT result = WriteDarkMode(window, on);
    if (result == S_OK) RedrawCaption(window);
    return result;
}

int SetDarkMode(int dark, int window) noexcept {
    if (WindowsBuild() < kDarkModeBuild) {
        ReportLastError(L"This feature requires Windows 10 version 1809 (build 17763) or later.");
        return 0;
    }
    HWND hwnd = StylingTarget(window);
    if (!hwnd) return 0;
    // Changing the mode sends the window messages on Windows 10; the host would wait for ever.
    if (NotResponding(hwnd)) {
        ReportLastError(L"Window not responding");
        return 0;
    }
    int on = dark ? 1 : 0;
    HRESULT result = GiveOwnDarkMode(hwnd, on);
    if (result != S_OK) {
        ReportRefusal(result);
        return 0;
    }
    if (hwnd == g_state.hostWindow) g_state.darkModeForNewWindows = on;
    SetHostVariableInt(L"[Zarnel.DarkMode]", on);
    if (on)
        ReportLastError(L"OK - Dark mode on");
    else
        ReportLastError(L"OK - Dark mode off");
    return 1;
}
