#include "autostyle/show_hook.h"

#include "autostyle/auto_style.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

// A hook on every sent message costs each message a trip through the hook chain, so it is only
// in place while a captioned top-level window of this thread has been created and not yet shown.
static void UpdateShowHook() noexcept;

static LRESULT CALLBACK ShowHookProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
    const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    bool shown = code == HC_ACTION && message->message == WM_SHOWWINDOW && message->wParam &&
                 WindowListContains(g_state.pendingShows, message->hwnd);
    // Colouring here, while the window is still hidden, means its first paint already has them.
    if (shown) {
        WindowListRemove(g_state.pendingShows, message->hwnd);
        if (g_state.autoStyleEnabled && !(GetWindowLongW(message->hwnd, GWL_STYLE) & WS_CHILD) &&
            QualifiesForAutoStyle(message->hwnd) && DwmAvailable())
            ColorAndTrack(message->hwnd);
    }
    LRESULT result = CallNextHookEx(g_state.showHook, code, wParam, lParam);
    if (shown) UpdateShowHook();
    return result;
}

static LRESULT CALLBACK CreateHookProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if (!(create->style & WS_CHILD) && (create->style & WS_CAPTION) &&
            create->hwndParent != HWND_MESSAGE && WindowListAppend(g_state.pendingShows, window))
            UpdateShowHook();
    } else if (code == HCBT_DESTROYWND && WindowListContains(g_state.pendingShows, window)) {
        WindowListRemove(g_state.pendingShows, window);
        UpdateShowHook();
    }
    return CallNextHookEx(g_state.createHook, code, wParam, lParam);
}

static void UpdateShowHook() noexcept {
    bool wanted = g_state.createHook && g_state.pendingShows.count > 0;
    if (wanted && !g_state.showHook)
        g_state.showHook =
            SetWindowsHookExW(WH_CALLWNDPROC, ShowHookProc, nullptr, GetCurrentThreadId());
    else if (!wanted && g_state.showHook) {
        UnhookWindowsHookEx(g_state.showHook);
        g_state.showHook = nullptr;
    }
}

void InstallShowHook() noexcept {
    if (!g_state.createHook)
        g_state.createHook =
            SetWindowsHookExW(WH_CBT, CreateHookProc, nullptr, GetCurrentThreadId());
}

void RemoveShowHook() noexcept {
    if (g_state.createHook) UnhookWindowsHookEx(g_state.createHook);
    g_state.createHook = nullptr;
    WindowListClear(g_state.pendingShows);
    UpdateShowHook();
}
