#include "plugin/plugin_state.h"

PluginState g_state;

// The record's values at load; what a subsystem owns beyond them it sets up and releases itself.
void InitPluginState() noexcept {
    g_state.hostWindow = nullptr;
    g_state.processId = 0;
    g_state.addActionCallback = nullptr;
    g_state.setVariableCallback = nullptr;
    g_state.captionColorRed = g_state.captionColorGreen = g_state.captionColorBlue = 0;
    g_state.textColorRed = g_state.textColorGreen = g_state.textColorBlue = 255;
    g_state.globalThemeIndex = 0;
    g_state.borderColor = CLR_INVALID; // kColorNotSet: no border colour chosen
    g_state.darkModeForNewWindows = 0;
    g_state.autoStyleEnabled = 0;
    g_state.timerId = 0;
    g_state.timerWindow = nullptr;
    g_state.createHook = nullptr;
    g_state.showHook = nullptr;
    g_state.lastHandledWindow = nullptr;
    g_state.tickCounter = 0;
    g_state.pendingShowCount = 0;
    g_state.trackedWindows = WindowList{nullptr, 0, 0};
    for (Theme& theme : g_state.themeTable)
        theme = Theme{L"", 0, 0};
    g_state.dwmapiLibrary = nullptr;
    g_state.dwmSetWindowAttribute = nullptr;
    g_state.dwmGetWindowAttribute = nullptr;
    g_state.styledWindows = WindowList{nullptr, 0, 0};
    g_state.contrastWatcher = nullptr;
    g_state.watcherNextProc = nullptr;
    g_state.windowsBuild = 0;
    g_state.windows11Check = -1;
    g_state.comdlgLibrary = nullptr;
    g_state.chooseColor = nullptr;
}
