#include "plugin/plugin_state.h"
#include "plugin/system_library.h"
#include "styling/styling.h"

typedef LONG(WINAPI* RtlGetVersionFn)(OSVERSIONINFOEXW*);

bool DwmAvailable() noexcept {
    if (g_state.dwmSetWindowAttribute) return true;
    if (!g_state.dwmapiLibrary) g_state.dwmapiLibrary = LoadSystemLibrary(L"dwmapi.dll");
    if (g_state.dwmapiLibrary) {
        g_state.dwmSetWindowAttribute =
            ResolveEntry<DwmSetWindowAttributeFn>(g_state.dwmapiLibrary, "DwmSetWindowAttribute");
        g_state.dwmGetWindowAttribute =
            ResolveEntry<DwmGetWindowAttributeFn>(g_state.dwmapiLibrary, "DwmGetWindowAttribute");
    }
    return g_state.dwmSetWindowAttribute != nullptr;
}

// Through the handle loaded, so a second copy loaded by the host is left alone.
void ReleaseWindowManager() noexcept {
    HMODULE dwmapi = g_state.dwmapiLibrary;
    g_state.dwmapiLibrary = nullptr;
    g_state.dwmSetWindowAttribute = nullptr;
    g_state.dwmGetWindowAttribute = nullptr;
    if (dwmapi) FreeLibrary(dwmapi);
}

// Read once: the build cannot change while the process runs.
DWORD WindowsBuild() noexcept {
    if (g_state.windowsBuild) return g_state.windowsBuild;
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    // GetVersionEx lies to programs without a compatibility manifest; ntdll tells the truth.
    if (HMODULE ntdll = LoadLibraryW(L"ntdll.dll")) {
        if (auto rtlGetVersion = ResolveEntry<RtlGetVersionFn>(ntdll, "RtlGetVersion"))
            rtlGetVersion(&info);
        FreeLibrary(ntdll);
    }
    // An unreadable build counts as the oldest, which nothing here supports.
    g_state.windowsBuild = info.dwBuildNumber ? info.dwBuildNumber : 1;
    return g_state.windowsBuild;
}

int IsWindows11OrLater() noexcept {
    if (g_state.windows11Check < 0) g_state.windows11Check = WindowsBuild() >= kWindows11Build;
    return g_state.windows11Check;
}

HWND WindowFromArgument(int window) noexcept {
    // Handles are 32-bit values everywhere; 64-bit Windows sign-extends them.
    return reinterpret_cast<HWND>(static_cast<intptr_t>(window));
}

HWND TargetWindow(int window) noexcept {
    return window ? WindowFromArgument(window) : g_state.hostWindow;
}

// Windows calls a thread hung once it has taken no message for 5 s, so a script's own thread may
// count too; but a message to a window of this thread is a call, answered at once.
bool NotResponding(HWND window) noexcept {
    return GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId() &&
           IsHungAppWindow(window);
}
