#include "plugin/host_bridge.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

// A red part of -1 asks for the border in the title bar's colour.
constexpr int kFollowCaption = -1;

static HRESULT PaintBorder(HWND window, COLORREF color) noexcept {
    return g_state.dwmSetWindowAttribute(window, DWMWA_BORDER_COLOR, &color, sizeof(color));
}

// Windows 11 frames every window in a 1-pixel border of the accent colour or grey, whatever colour
// its title bar has:
// https://learn.microsoft.com/windows/win32/api/dwmapi/ne-dwmapi-dwmwindowattribute
int SetBorderColor(int red, int green, int blue, int window) noexcept {
    if (!RequireWindows11()) return 0;
    HWND hwnd = StylingTarget(window);
    if (!hwnd) return 0;
    bool follow = red == kFollowCaption;
    int components[3] = {ClampColorComponent(red), ClampColorComponent(green),
                         ClampColorComponent(blue)};
    COLORREF color = follow ? WindowValue(hwnd, kCaptionProperty, kColorNotSet)
                            : MakeColor(components[0], components[1], components[2]);
    if (color != kColorNotSet) {
        HRESULT result = PaintBorder(hwnd, color);
        if (result != S_OK) {
            ReportRefusal(result);
            return 0;
        }
        NoteStyledWindow(hwnd);
    }
    COLORREF setting = follow ? kBorderFollowsCaption : color;
    SetWindowValue(hwnd, kBorderProperty, setting);
    // As with the colours, the host window's setting is what new windows get.
    if (hwnd == g_state.hostWindow) g_state.borderColor = setting;
    if (follow) {
        SetHostVariable(L"[Zarnel.BorderColor]", L"caption");
        ReportLastError(L"OK - Border follows the title bar");
        return 1;
    }
    wchar_t text[16];
    wsprintfW(text, L"%d,%d,%d", components[0], components[1], components[2]);
    SetHostVariable(L"[Zarnel.BorderColor]", text);
    ReportLastError(L"OK - Border color set");
    return 1;
}

// Called after a caption colour the window manager accepted; the border's own refusal is not the
// host's business.
void FollowCaptionWithBorder(HWND window, COLORREF caption) noexcept {
    if (WindowValue(window, kBorderProperty, kColorNotSet) == kBorderFollowsCaption)
        PaintBorder(window, caption);
}

// The host window's setting for a window automatic styling colours, with kColorNotSet for a
// caption colour it could not set; true when a border was painted.
bool GiveNewWindowBorder(HWND window, COLORREF caption) noexcept {
    COLORREF setting = g_state.borderColor;
    if (setting == kColorNotSet) return false;
    SetWindowValue(window, kBorderProperty, setting);
    COLORREF color = setting == kBorderFollowsCaption ? caption : setting;
    return color != kColorNotSet && PaintBorder(window, color) == S_OK;
}

// True when no border of the plug-in is left on the window: none was set, or it went back.
bool ResetBorderColor(HWND window) noexcept {
    if (!GetPropW(window, kBorderProperty)) return true;
    RemovePropW(window, kBorderProperty);
    return PaintBorder(window, DWMWA_COLOR_DEFAULT) == S_OK;
}
