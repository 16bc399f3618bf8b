#include "plugin/host_bridge.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

struct ColorTarget {
    DWORD attribute;
    const wchar_t* variable;
    int* stored[3];
    bool resetsGlobalTheme;
};

// Title bar colours exist from Windows 11 on; false when the refusal was reported.
bool RequireWindows11() noexcept {
    if (IsWindows11OrLater()) return true;
    ReportLastError(L"This feature requires Windows 11 Build 22000 or later. Your Windows "
                    L"version does not support titlebar color customization.");
    return false;
}

// The refusals that follow the build check, in this order; null when one was reported.
HWND StylingTarget(int window) noexcept {
    if (!DwmAvailable()) {
        ReportLastError(L"DWM API not available");
        return nullptr;
    }
    if (YieldToContrastTheme()) {
        ReportLastError(L"A contrast theme is on: title bar colours are left to Windows.");
        return nullptr;
    }
    HWND hwnd = TargetWindow(window);
    if (!hwnd) ReportLastError(L"No window handle available");
    return hwnd;
}

// The code is an HRESULT, shown as the signed number it is.
void ReportRefusal(HRESULT result) noexcept {
    wchar_t text[64];
    wsprintfW(text, L"DwmSetWindowAttribute failed: %d", static_cast<int>(result));
    ReportLastError(text);
}

static int SetCaptionAttributeColor(const ColorTarget& target, int red, int green, int blue,
                                    int window) noexcept {
    if (!RequireWindows11()) return 0;
    HWND hwnd = StylingTarget(window);
    if (!hwnd) return 0;
    int components[3] = {ClampColorComponent(red), ClampColorComponent(green),
                         ClampColorComponent(blue)};
    COLORREF color = MakeColor(components[0], components[1], components[2]);
    HRESULT hr = g_state.dwmSetWindowAttribute(hwnd, target.attribute, &color, sizeof(color));
    if (hr != S_OK) {
        ReportRefusal(hr);
        return 0;
    }
    NoteStyledWindow(hwnd);
    bool caption = target.attribute == DWMWA_CAPTION_COLOR;
    if (caption) FollowCaptionWithBorder(hwnd, color);
    MatchDarkMode(hwnd, caption ? color : kColorNotSet, caption ? kColorNotSet : color);
    // Only the host window's colours are what automatic styling hands on to new windows.
    if (hwnd == g_state.hostWindow) {
        for (int i = 0; i < 3; ++i)
            *target.stored[i] = components[i];
        if (target.resetsGlobalTheme) g_state.globalThemeIndex = 0;
    }
    wchar_t text[16];
    wsprintfW(text, L"%d,%d,%d", components[0], components[1], components[2]);
    SetHostVariable(target.variable, text);
    ReportLastError(L"OK");
    return 1;
}

int SetCaptionColor(int red, int green, int blue, int window) noexcept {
    static const ColorTarget target = {
        DWMWA_CAPTION_COLOR,
        L"[SelectedTitlebarColor]",
        {&g_state.captionColorRed, &g_state.captionColorGreen, &g_state.captionColorBlue},
        true};
    return SetCaptionAttributeColor(target, red, green, blue, window);
}

int SetCaptionTextColor(int red, int green, int blue, int window) noexcept {
    static const ColorTarget target = {
        DWMWA_TEXT_COLOR,
        L"[SelectedTextColor]",
        {&g_state.textColorRed, &g_state.textColorGreen, &g_state.textColorBlue},
        false};
    return SetCaptionAttributeColor(target, red, green, blue, window);
}

// True when the window manager took every colour back; each call is made whatever the one before
// gave.
bool ResetCaptionColors(HWND window) noexcept {
    COLORREF value = DWMWA_COLOR_DEFAULT;
    HRESULT captionResult = g_state.dwmSetWindowAttribute(window, DWMWA_CAPTION_COLOR, &value, 4);
    HRESULT textResult = g_state.dwmSetWindowAttribute(window, DWMWA_TEXT_COLOR, &value, 4);
    bool borderReset = ResetBorderColor(window);
    RestoreDarkMode(window);
    return captionResult == S_OK && textResult == S_OK && borderReset;
}

int RemoveStyle(int window) noexcept {
    if (!DwmAvailable()) {
        ReportLastError(L"DWM API not available");
        return 0;
    }
    HWND hwnd = TargetWindow(window);
    if (!hwnd) {
        ReportLastError(L"No window handle available");
        return 0;
    }
    if (!ResetCaptionColors(hwnd)) {
        ReportLastError(L"Failed to remove style");
        return 0;
    }
    ReportLastError(L"OK - Style removed");
    return 1;
}
