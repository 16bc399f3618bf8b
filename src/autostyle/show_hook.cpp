#include "autostyle/show_hook.h"

#include "autostyle/auto_style.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

// Colours a window of this thread while it is still hidden, so its first paint already has them.
static LRESULT CALLBACK ShowHookProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
    const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_SHOWWINDOW && message->wParam &&
        g_state.autoStyleEnabled && !(GetWindowLongW(message->hwnd, GWL_STYLE) & WS_CHILD) &&
        QualifiesForAutoStyle(message->hwnd) && DwmAvailable())
        ColorAndTrack(message->hwnd);
    return CallNextHookEx(g_state.showHook, code, wParam, lParam);
}

void InstallShowHook() noexcept {
    if (!g_state.showHook)
        g_state.showHook =
            SetWindowsHookExW(WH_CALLWNDPROC, ShowHookProc, nullptr, GetCurrentThreadId());
}

void RemoveShowHook() noexcept {
    if (g_state.showHook) UnhookWindowsHookEx(g_state.showHook);
    g_state.showHook = nullptr;
}
