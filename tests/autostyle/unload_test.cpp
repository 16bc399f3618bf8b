// Unloading the plug-in while automatic styling runs, and ending the process with it running.
#include "doctest_rig.h"
#include "host_rig.h"

static bool StartStyling(PluginApi& api, HWND host) {
    if (!StartPlugin(api, host)) return false;
    Exec(api, 6, {"6"});
    return Exec(api, 7, {}) == 1;
}

TEST_CASE("unloading_while_styling_runs_leaves_no_timer_hook_or_library_behind") {
    LONG faultsBefore = FaultsInWatchedImage();
    HWND host = MakeWindow(L"host");
    SetForegroundWindow(host);
    PluginApi api;
    REQUIRE(StartStyling(api, host));
    WatchFaultsIn(api.module);
    CHECK(PumpCountingTimerMessages(host, 300) > 0);
    CHECK(DwmLoaded());
    UnloadPlugin(api);
    CHECK(GetModuleHandleW(L"ZarnelPlugin_Enhanced.dll") == nullptr);
    CHECK(!DwmLoaded());
    CHECK_EQ(PumpCountingTimerMessages(host, 400), 0);
    // A window shown now would reach a leftover show hook.
    HWND late = MakeWindow(L"late");
    SetForegroundWindow(late);
    PumpCountingTimerMessages(host, 200);
    CHECK_EQ(FaultsInWatchedImage() - faultsBefore, 0);
    DestroyWindow(late);
    DestroyWindow(host);
}

TEST_CASE("thread_timer_without_host_window_is_gone_after_unload") {
    LONG faultsBefore = FaultsInWatchedImage();
    PluginApi api;
    REQUIRE(StartStyling(api, nullptr));
    WatchFaultsIn(api.module);
    CHECK(PumpCountingTimerMessages(nullptr, 300) > 0);
    UnloadPlugin(api);
    CHECK_EQ(PumpCountingTimerMessages(nullptr, 400), 0);
    CHECK_EQ(FaultsInWatchedImage() - faultsBefore, 0);
}

static DWORD WINAPI UnloadOnThisThread(void* api) {
    UnloadPlugin(*static_cast<PluginApi*>(api));
    return 0;
}

// The hidden window that hears a contrast theme come on goes with the module, also when another
// thread unloads it and so cannot destroy the window.
TEST_CASE("the_contrast_theme_watcher_goes_with_the_module_unloaded_from_any_thread") {
    LONG faultsBefore = FaultsInWatchedImage();
    HWND host = MakeWindow(L"host");
    for (bool otherThread : {false, true}) {
        PluginApi api;
        REQUIRE(StartPlugin(api, host));
        WatchFaultsIn(api.module);
        REQUIRE(Exec(api, 3, {"6"}) == 1);
        HWND watcher = FindWindowW(L"Static", L"Zarnel contrast theme watcher");
        REQUIRE(watcher != nullptr);
        // Heard before the unload as after it; the theme stays off, so nothing is handed back.
        SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0,
                            SMTO_ABORTIFHUNG, 2000, nullptr);
        if (otherThread) {
            HANDLE unloader = CreateThread(nullptr, 0, UnloadOnThisThread, &api, 0, nullptr);
            CHECK_EQ(WaitForSingleObject(unloader, 10000), WAIT_OBJECT_0);
            CloseHandle(unloader);
        } else {
            UnloadPlugin(api);
        }
        CHECK(GetModuleHandleW(L"ZarnelPlugin_Enhanced.dll") == nullptr);
        CHECK((otherThread || !IsWindow(watcher))); // on its own thread, gone at once
        SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0,
                            SMTO_ABORTIFHUNG, 2000, nullptr);
        CHECK(PumpUntil([&] { return !IsWindow(watcher); }, 2000));
        CHECK_EQ(FaultsInWatchedImage() - faultsBefore, 0);
    }
    DestroyWindow(host);
}

TEST_CASE("repeated_load_cycles_leave_no_handles_or_windows_behind") {
    HWND host = MakeWindow(L"host");
    auto cycle = [&] {
        PluginApi api;
        StartStyling(api, host);
        HWND shown = MakeWindow(L"shown");
        Pump(20);
        DestroyWindow(shown);
        UnloadPlugin(api);
        Pump(5);
    };
    for (int i = 0; i < 5; ++i)
        cycle();
    DWORD handles = 0, handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    DWORD userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (int i = 0; i < 60; ++i)
        cycle();
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    CHECK(handlesAfter <= handles + 2);
    CHECK(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS) <= userObjects + 2);
    DestroyWindow(host);
}

static int RunChild(const char* mode) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string command = std::string("\"") + path + "\" " + mode;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return -1;
    DWORD code = WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0 ? 0 : 0xDEAD;
    if (code == 0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

TEST_CASE("the_process_ends_with_its_own_exit_code_while_styling_runs") {
    CHECK_EQ(RunChild("--child-exit-process"), 42);
    CHECK_EQ(RunChild("--child-return-from-main"), 43);
}

// Child modes: a host that ends while the plug-in is loaded and styling.
static int ChildMain(const char* mode) {
    HWND host = MakeWindow(L"child host");
    PluginApi api;
    if (!StartStyling(api, host)) return 2;
    HWND shown = MakeWindow(L"child window");
    SetForegroundWindow(shown);
    Pump(300);
    if (strcmp(mode, "--child-exit-process") == 0) ExitProcess(42);
    return 43;
}

struct ChildSwitch {
    ChildSwitch() {
        if (__argc > 1 && strncmp(__argv[1], "--child-", 8) == 0) exit(ChildMain(__argv[1]));
    }
} g_childSwitch;
