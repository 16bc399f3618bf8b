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

static int FindStyledWindow(HWND window) noexcept {
    for (int i = 0; i < g_state.styledWindowCount; ++i)
        if (g_state.styledWindows[i].window == window) return i;
    return -1;
}

static void RemoveStyledWindow(int index) noexcept {
    g_state.styledWindows[index] = g_state.styledWindows[--g_state.styledWindowCount];
}

void ForgetDestroyedStyledWindows() noexcept {
    for (int i = g_state.styledWindowCount - 1; i >= 0; --i)
        if (!IsWindow(g_state.styledWindows[i].window)) RemoveStyledWindow(i);
}

static StyledWindow* RememberStyledWindow(HWND window) noexcept {
    int index = FindStyledWindow(window);
    if (index >= 0) return &g_state.styledWindows[index];
    if (g_state.styledWindowCount == kMaxStyledWindows) ForgetDestroyedStyledWindows();
    if (g_state.styledWindowCount == kMaxStyledWindows) return nullptr;
    StyledWindow& added = g_state.styledWindows[g_state.styledWindowCount++];
    added = StyledWindow{window, kColorNotSet, kColorNotSet, -1, -1};
    return &added;
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

// Called right after colour calls the window manager accepted, with kColorNotSet for a colour not
// set by them; the flag's own failures are not the host's business.
void MatchDarkMode(HWND window, COLORREF caption, COLORREF text) noexcept {
    if (!IsWindows11OrLater()) return;
    StyledWindow* styled = RememberStyledWindow(window);
    if (!styled) return;
    if (caption != kColorNotSet) styled->caption = caption;
    if (text != kColorNotSet) styled->text = text;
    if (styled->caption == kColorNotSet) return;
    if (styled->flag < 0) styled->ownFlag = styled->flag = ReadDarkMode(window);
    int wanted = WantsDarkMode(styled->caption, styled->text) ? 1 : 0;
    if (wanted == styled->flag) return;
    BOOL value = wanted;
    if (g_state.dwmSetWindowAttribute(window, DWMWA_USE_IMMERSIVE_DARK_MODE, &value,
                                      sizeof(value)) == S_OK)
        styled->flag = wanted;
}

// The window's colours go back to the system, and with them its own glyphs.
void RestoreDarkMode(HWND window) noexcept {
    int index = FindStyledWindow(window);
    if (index < 0) return;
    const StyledWindow& styled = g_state.styledWindows[index];
    if (styled.flag != styled.ownFlag) {
        BOOL value = styled.ownFlag;
        g_state.dwmSetWindowAttribute(window, DWMWA_USE_IMMERSIVE_DARK_MODE, &value, sizeof(value));
    }
    RemoveStyledWindow(index);
}
