#include "resources.h"

#include <psapi.h>

#include <cstdio>

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

static BOOL CALLBACK CountChild(HWND, LPARAM context) {
    ++*reinterpret_cast<int*>(context);
    return TRUE;
}

static BOOL CALLBACK CountOwnWindow(HWND window, LPARAM context) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<int*>(context);
    EnumChildWindows(window, CountChild, context);
    return TRUE;
}

static int CountProcessWindows() {
    int count = 0;
    EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

ResourceCounts CountResources() {
    ResourceCounts counts = {};
    counts.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    counts.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    GetProcessHandleCount(GetCurrentProcess(), &counts.handles);
    counts.windows = CountProcessWindows();
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
    snprintf(text, sizeof text,
             "committed %zu KB, heap busy %zu bytes, windows %d, GDI %lu, USER %lu, handles %lu",
             static_cast<size_t>(c.privateBytes / 1024), static_cast<size_t>(c.heapBytes),
             c.windows, c.gdiObjects, c.userObjects, c.handles);
    return text;
}
