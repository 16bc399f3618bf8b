#include "plugin/exports.h"

#include "autostyle/auto_style.h"
#include "editors/editors.h"
#include "plugin/catalogue.h"
#include "plugin/host_bridge.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

constexpr int kMessageStopAutoStyle = 2;

// Load and unload, each subsystem in turn. The monitor goes first at unload: its timer and hooks
// would otherwise call into an image about to be unmapped.
void AttachModule() noexcept {
    InitPluginState();
    InitEditorResources();
}

void DetachModule() noexcept {
    ReleaseAutoStyle();
    ReleaseContrastTheme();
    ReleaseWindowManager();
    ReleaseEditorResources();
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) noexcept {
    if (reason == DLL_PROCESS_ATTACH) AttachModule();
    // At process exit other DLLs may already be gone: calling into them could crash the host.
    if (reason == DLL_PROCESS_DETACH && !reserved) DetachModule();
    if (reason == DLL_PROCESS_DETACH && reserved) SilenceContrastWatcher();
    return TRUE;
}

int WINAPI _nbInitPlugIn(HWND hostWindow, char** name, char** author, char** description) noexcept {
    g_state.hostWindow = hostWindow;
    InitThemeTable();
    // A block for a null out-pointer would belong to nobody: made once per load, never freed.
    if (name) *name = MakeHostString(L"Zarnel Plugin Enhanced");
    if (author) *author = MakeHostString(L"By the Zarnel Plugin Enhanced authors");
    if (description)
        *description =
            MakeHostString(L"Customize Windows title bar with auto-styling for child windows");
    return 0;
}

int WINAPI _nbRegisterPlugIn(void* addAction, void*, void*, void* setVariable) noexcept {
    g_state.addActionCallback = reinterpret_cast<AddActionCallback>(addAction);
    g_state.setVariableCallback = reinterpret_cast<SetVariableCallback>(setVariable);
    InitThemeTable();
    RegisterActions();
    return 0;
}

int WINAPI _nbGetPluginInfo(char** name, char** description, void*) noexcept {
    if (name) *name = MakeHostString(L"ZarnelPlugin_Enhanced");
    if (description)
        *description = MakeHostString(
            L"Windows 10/11 Title Bar customization with auto-styling for child windows");
    return 0;
}

int WINAPI _nbInitialize(HWND hostWindow) noexcept {
    g_state.hostWindow = hostWindow;
    g_state.processId = GetCurrentProcessId();
    return 0;
}

int WINAPI _nbMessage(int code, void*) noexcept {
    if (code == kMessageStopAutoStyle) StopAutoStyle();
    return 0;
}
