#include "autostyle/show_hook.h"

#include "autostyle/auto_style.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

// A hook on every sent message costs each message a trip through the hook chain, so it is only
// in place while a window of this thread that will have a title bar has been created and not yet
// shown, and for no longer than kShowWaitMs after that window's creation.
static void UpdateShowHook() noexcept;

static int FindPendingShow(HWND window) noexcept {
    for (int i = 0; i < g_state.pendingShowCount; ++i)
        if (g_state.pendingShows[i].window == window) return i;
    return -1;
}

static void RemovePendingShow(int index) noexcept {
    for (int i = index + 1; i < g_state.pendingShowCount; ++i)
        g_state.pendingShows[i - 1] = g_state.pendingShows[i];
    --g_state.pendingShowCount;
}

static bool WillHaveTitleBar(HWND window, const CREATESTRUCTW& create) noexcept {
    if (create.hwndParent == HWND_MESSAGE || (create.style & WS_CHILD)) return false;
    // Wine passes a message-only window's parent as the message root, not HWND_MESSAGE; Windows
    // may not have set the parent yet at this point, and then the two tests above decide.
    HWND parent = GetAncestor(window, GA_PARENT);
    if (parent && parent != GetDesktopWindow()) return false;
    // The system gives an overlapped window a caption whatever its creator passed; menus and
    // tooltips are popups with WS_BORDER, one half of WS_CAPTION, and never get a title bar.
    return !(create.style & WS_POPUP) || (create.style & WS_CAPTION) == WS_CAPTION;
}

static bool IsShowMessage(const CWPSTRUCT& message) noexcept {
    if (message.message == WM_SHOWWINDOW) return message.wParam != 0;
    // Sent on every way of showing, before the window is visible; WM_SHOWWINDOW is not (a
    // SetWindowPos show, a window created maximized):
    // https://learn.microsoft.com/windows/win32/winmsg/wm-showwindow
    return message.message == WM_WINDOWPOSCHANGING &&
           (reinterpret_cast<const WINDOWPOS*>(message.lParam)->flags & SWP_SHOWWINDOW);
}

static LRESULT CALLBACK ShowHookProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
    const CWPSTRUCT& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    int pending = code == HC_ACTION && IsShowMessage(message) ? FindPendingShow(message.hwnd) : -1;
    // Colouring here, while the window is still hidden, means its first paint already has them.
    if (pending >= 0) {
        RemovePendingShow(pending);
        if (g_state.autoStyleEnabled && !(GetWindowLongW(message.hwnd, GWL_STYLE) & WS_CHILD) &&
            QualifiesForAutoStyle(message.hwnd) && DwmAvailable())
            ColorAndTrack(message.hwnd);
    }
    LRESULT result = CallNextHookEx(g_state.showHook, code, wParam, lParam);
    if (pending >= 0) UpdateShowHook();
    return result;
}

static LRESULT CALLBACK CreateHookProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW& create = *reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if (WillHaveTitleBar(window, create) && g_state.pendingShowCount < kMaxPendingShows) {
            g_state.pendingShows[g_state.pendingShowCount++] = PendingShow{window, GetTickCount()};
            UpdateShowHook();
        }
    } else if (code == HCBT_DESTROYWND) {
        int pending = FindPendingShow(window);
        if (pending >= 0) {
            RemovePendingShow(pending);
            UpdateShowHook();
        }
    }
    return CallNextHookEx(g_state.createHook, code, wParam, lParam);
}

static void UpdateShowHook() noexcept {
    bool wanted = g_state.createHook && g_state.pendingShowCount > 0;
    if (wanted && !g_state.showHook)
        g_state.showHook =
            SetWindowsHookExW(WH_CALLWNDPROC, ShowHookProc, nullptr, GetCurrentThreadId());
    else if (!wanted && g_state.showHook) {
        UnhookWindowsHookEx(g_state.showHook);
        g_state.showHook = nullptr;
    }
}

// A window still hidden this long is shown on its creator's own schedule, if ever: the timer
// colours it then, and until then no sent message pays for the hook.
void ExpirePendingShows() noexcept {
    DWORD now = GetTickCount();
    int kept = 0;
    for (int i = 0; i < g_state.pendingShowCount; ++i)
        if (now - g_state.pendingShows[i].createdAt < kShowWaitMs)
            g_state.pendingShows[kept++] = g_state.pendingShows[i];
    if (kept == g_state.pendingShowCount) return;
    g_state.pendingShowCount = kept;
    UpdateShowHook();
}

void InstallShowHook() noexcept {
    if (!g_state.createHook)
        g_state.createHook =
            SetWindowsHookExW(WH_CBT, CreateHookProc, nullptr, GetCurrentThreadId());
}

void RemoveShowHook() noexcept {
    if (g_state.createHook) UnhookWindowsHookEx(g_state.createHook);
    g_state.createHook = nullptr;
    g_state.pendingShowCount = 0;
    UpdateShowHook();
}
