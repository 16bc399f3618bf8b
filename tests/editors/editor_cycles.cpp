#include "editor_cycles.h"

#include <psapi.h>

#include "dialog_driver.h"

const EditorKind kEditorKinds[3] = {
    {"colour picker", 1}, {"theme chooser", 3}, {"caption buttons", 10}};

static SIZE_T HeapBytesInUse() {
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    SIZE_T bytes = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) bytes += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return bytes;
}

ResourceCounts CountResources() {
    ResourceCounts counts = {};
    counts.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    counts.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    GetProcessHandleCount(GetCurrentProcess(), &counts.handles);
    counts.windows = CountThreadWindows();
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof memory);
    // Wine leaves PrivateUsage at 0 but fills PagefileUsage, which Windows keeps equal to it.
    counts.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    counts.heapBytes = HeapBytesInUse();
    return counts;
}

std::string Describe(const ResourceCounts& c) {
    char text[200];
    snprintf(text, sizeof text, "gdi %lu user %lu handles %lu windows %d private %zu KB heap %zu B",
             c.gdiObjects, c.userObjects, c.handles, c.windows, c.privateBytes / 1024, c.heapBytes);
    return text;
}

bool CycleEditor(PluginApi& api, const EditorKind& kind, int cycles) {
    // Slots to read on every opening: a leak in reading them would show as well.
    Params params({"7", "0", "1", nullptr});
    for (int i = 0; i < cycles; ++i) {
        HWND dialog = nullptr;
        std::vector<Step> steps;
        if (kind.action == 1)
            steps = {WaitForColorDialog(dialog), PostTo(dialog, WM_COMMAND, IDCANCEL)};
        else
            steps = {
                WaitForEditor(kind.action == 3 ? L"Choose Theme" : L"Title Bar Buttons", dialog),
                PostTo(dialog, WM_CLOSE)};
        ScriptRun run =
            RunScripted([&] { return api.editAction(kind.action, params.data()); }, steps);
        if (!run.completed || run.result != 0 || IsWindow(dialog)) return false;
    }
    return true;
}
