// Loads and unloads the plug-in many times while it styles, watching for anything left behind:
// faults at the unloaded image, timer messages, handles, window objects and memory.
// load_cycles [--cycles N]
#include "host_rig.h"
#include "resources.h"

int main(int argc, char** argv) {
    int cycles = argc > 2 && strcmp(argv[1], "--cycles") == 0 ? atoi(argv[2]) : 1000;
    HWND host = MakeWindow(L"cycling host");
    SetForegroundWindow(host);
    int leftTimers = 0, failedStarts = 0;
    ResourceCounts start = {};
    for (int cycle = 0; cycle < cycles; ++cycle) {
        if (cycle == 10) start = CountResources(); // after the first loads have settled caches
        PluginApi api;
        if (!StartPlugin(api, host) || Exec(api, 6, {"3"}) != 1 || Exec(api, 7, {}) != 1)
            ++failedStarts;
        WatchFaultsIn(api.module);
        HWND shown = MakeWindow(L"shown while styling");
        SetForegroundWindow(shown);
        Pump(cycle % 50 == 0 ? 150 : 2);
        UnloadPlugin(api);
        DestroyWindow(shown);
        leftTimers += PumpCountingTimerMessages(host, cycle % 50 == 0 ? 150 : 2);
    }
    ResourceCounts end = CountResources();
    printf("load_cycles: %d cycles of load, register, theme, enable, show, unload\n", cycles);
    printf("  start %s\n", Describe(start).c_str());
    printf("  end   %s\n", Describe(end).c_str());
    printf("  faults at the unloaded image %ld, timer messages after unload %d, failed starts %d\n",
           FaultsInWatchedImage(), leftTimers, failedStarts);
    printf("  (Wine 8 reads 0 for GDI, USER and handle counts)\n");
    bool grew = end.handles > start.handles + 8 || end.gdiObjects > start.gdiObjects + 4 ||
                end.userObjects > start.userObjects + 4 || end.windows > start.windows ||
                end.heldBytes > start.heldBytes + 8 * 1024 ||
                end.privateBytes > start.privateBytes + 4 * 1024 * 1024;
    bool ok = !FaultsInWatchedImage() && !leftTimers && !failedStarts && !grew;
    printf("%d passed, %d failed\n", ok ? 1 : 0, ok ? 0 : 1);
    DestroyWindow(host);
    return ok ? 0 : 1;
}
