#include <windows.h>
#include <commdlg.h>

#include "autostyle/window_list.h"
#include "editors/editors.h"
#include "plugin/host_bridge.h"
#include "plugin/plugin_state.h"
#include "plugin/system_library.h"
#include "styling/styling.h"

constexpr COLORREF kNoColor = 0xFFFFFFFF;

// The thread's windows that the colour dialog set aside while it is shown.
struct SetAsideWindows {
    HWND foreground;
    DWORD thread;
    WindowList disabled;
    WindowList topmost;
};

static BOOL CALLBACK SetAsideThreadWindow(HWND window, LPARAM context) noexcept {
    auto& aside = *reinterpret_cast<SetAsideWindows*>(context);
    if (GetWindowThreadProcessId(window, nullptr) != aside.thread || !IsWindowVisible(window))
        return TRUE;
    if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST)
        WindowListAppend(aside.topmost, window);
    // Noted before disabling, so a full list never leaves a window disabled for good.
    if (window != aside.foreground && IsWindowEnabled(window) &&
        WindowListAppend(aside.disabled, window))
        EnableWindow(window, FALSE);
    return TRUE;
}

static HWND ColorDialogOwner() noexcept {
    HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    if (foreground) GetWindowThreadProcessId(foreground, &process);
    return process == GetCurrentProcessId() ? foreground : nullptr;
}

// On first use only: imported, it made every load of the plug-in pull in the shell libraries.
static bool ColorDialogAvailable() noexcept {
    if (g_state.chooseColor) return true;
    if (!g_state.comdlgLibrary) g_state.comdlgLibrary = LoadSystemLibrary(L"comdlg32.dll");
    if (g_state.comdlgLibrary)
        g_state.chooseColor = ResolveEntry<ChooseColorFn>(g_state.comdlgLibrary, "ChooseColorW");
    return g_state.chooseColor != nullptr;
}

static bool ShowColorDialog(COLORREF initial, COLORREF& chosen) noexcept {
    if (!ColorDialogAvailable()) return false;
    HWND owner = ColorDialogOwner();
    if (initial == kNoColor) initial = 0;
    g_state.customColors[0] = initial;

    SetAsideWindows aside = {GetForegroundWindow(), GetCurrentThreadId(), {}, {}};
    EnumWindows(SetAsideThreadWindow, reinterpret_cast<LPARAM>(&aside));
    for (int i = 0; i < aside.topmost.count; ++i)
        SetWindowPos(aside.topmost.items[i], HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);

    CHOOSECOLORW request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.rgbResult = initial;
    request.lpCustColors = g_state.customColors;
    request.Flags = CC_RGBINIT;
    BOOL confirmed = g_state.chooseColor(&request);
    // The dialog's loop posts a quit again before it ends, and Wine then reports the end as OK.
    MSG quit;
    if (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) confirmed = FALSE;

    for (int i = 0; i < aside.disabled.count; ++i)
        EnableWindow(aside.disabled.items[i], TRUE);
    for (int i = 0; i < aside.topmost.count; ++i)
        SetWindowPos(aside.topmost.items[i], HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    WindowListFree(aside.disabled);
    WindowListFree(aside.topmost);
    if (!confirmed) return false;
    chosen = request.rgbResult;
    return true;
}

int ColorParamEditor(uintptr_t* params) noexcept {
    int rgb[3] = {0, 0, 0};
    if (params) ReadSlotNumbers(params, rgb, 3);
    // Unclamped, 300 would spill into green and OK would overwrite the author's values.
    COLORREF initial = MakeColor(ClampColorComponent(rgb[0]), ClampColorComponent(rgb[1]),
                                 ClampColorComponent(rgb[2]));
    COLORREF chosen = 0;
    if (!ShowColorDialog(initial, chosen)) return 0;
    if (params) {
        WriteSlotNumber(params, 0, ColorRed(chosen));
        WriteSlotNumber(params, 1, ColorGreen(chosen));
        WriteSlotNumber(params, 2, ColorBlue(chosen));
    }
    return 1;
}
