#include "plugin/host_bridge.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

static LONG ButtonStyle(LONG style, int close, int minimize, int maximize) noexcept {
    // Without a window menu no caption button is drawn at all; the box bits are left for later.
    if (!close && !minimize && !maximize) return style & ~WS_SYSMENU;
    style |= WS_SYSMENU;
    style = minimize ? style | WS_MINIMIZEBOX : style & ~WS_MINIMIZEBOX;
    return maximize ? style | WS_MAXIMIZEBOX : style & ~WS_MAXIMIZEBOX;
}

int SetButtons(int close, int minimize, int maximize, int window) noexcept {
    HWND hwnd = TargetWindow(window);
    if (!hwnd) {
        ReportLastError(L"No window handle available");
        return 0;
    }
    if (!IsWindow(hwnd)) {
        ReportLastError(L"Invalid window handle");
        return 0;
    }
    // A style change sends the window messages its own thread must answer.
    if (NotResponding(hwnd)) {
        ReportLastError(L"Window not responding");
        return 0;
    }
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    // A refusal and an old style of 0 both return 0; only a cleared last error tells them apart.
    // https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-setwindowlongptrw
    SetLastError(0);
    if (!SetWindowLongW(hwnd, GWL_STYLE, ButtonStyle(style, close, minimize, maximize)) &&
        GetLastError()) {
        wchar_t message[64];
        wsprintfW(message, L"Failed to apply button visibility - Error: %lu", GetLastError());
        ReportLastError(message);
        return 0;
    }
    if (HMENU menu = GetSystemMenu(hwnd, FALSE))
        EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | (close ? MF_ENABLED : MF_GRAYED));
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    SetHostVariableInt(L"[Zarnel.ButtonsClose]", close);
    SetHostVariableInt(L"[Zarnel.ButtonsMin]", minimize);
    SetHostVariableInt(L"[Zarnel.ButtonsMax]", maximize);
    ReportLastError(L"OK - Button visibility applied");
    return 1;
}
