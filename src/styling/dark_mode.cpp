#include <cmath>

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

// What the plug-in set on a window is kept on the window itself, so a copy loaded later, or another
// copy in the same host, decides and restores from the same facts.
constexpr wchar_t kCaptionProperty[] = L"Zarnel.CaptionColor";
constexpr wchar_t kTextProperty[] = L"Zarnel.TextColor";
constexpr wchar_t kOwnFlagProperty[] = L"Zarnel.OwnDarkMode"; // before any copy first changed it
constexpr DWORD kNoWindowValue = 0xFFFFFFFF;

// Stored one higher: GetPropW answers 0 for a property the window lacks.
static bool SetWindowValue(HWND window, const wchar_t* name, DWORD value) noexcept {
    return SetPropW(window, name, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value) + 1));
}

static DWORD WindowValue(HWND window, const wchar_t* name, DWORD missing) noexcept {
    auto value = reinterpret_cast<uintptr_t>(GetPropW(window, name));
    return value ? static_cast<DWORD>(value - 1) : missing;
}

// The documented default is off; a window manager that cannot say counts as that.
static int ReadDarkMode(HWND window) noexcept {
    BOOL on = FALSE;
    if (!g_state.dwmGetWindowAttribute ||
        g_state.dwmGetWindowAttribute(window, DWMWA_USE_IMMERSIVE_DARK_MODE, &on, sizeof(on)) !=
            S_OK)
        return 0;
    return on ? 1 : 0;
}

static void WriteDarkMode(HWND window, int on) noexcept {
    BOOL value = on;
    g_state.dwmSetWindowAttribute(window, DWMWA_USE_IMMERSIVE_DARK_MODE, &value, sizeof(value));
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
