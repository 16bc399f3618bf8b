#include "resources.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "host_rig.h"

// Counted at the module's imports, not walked: Wine 10's low-fragmentation heap shows each group of
// small blocks, freed ones and all, as one busy block in HeapWalk, where Windows shows each block
// (https://learn.microsoft.com/windows/win32/memory/low-fragmentation-heap).
struct Ledger {
    SRWLOCK lock = SRWLOCK_INIT;
    std::unordered_map<uintptr_t, SIZE_T> blocks; // by address: the block may be gone already
    SIZE_T bytes = 0;
};
static Ledger g_ledger;
constexpr UINT kHeapFaultExitCode = 3; // as heap_check.cpp ends a program at Wine's own report

static void Replace(uintptr_t old, const void* block, SIZE_T size) {
    AcquireSRWLockExclusive(&g_ledger.lock);
    auto found = old ? g_ledger.blocks.find(old) : g_ledger.blocks.end();
    if (found != g_ledger.blocks.end()) {
        g_ledger.bytes -= found->second;
        g_ledger.blocks.erase(found);
    }
    if (block) {
        SIZE_T& held = g_ledger.blocks[reinterpret_cast<uintptr_t>(block)];
        g_ledger.bytes += size - held;
        held = size;
    }
    ReleaseSRWLockExclusive(&g_ledger.lock);
}

void ForgetAllocation(const void* block) {
    Replace(reinterpret_cast<uintptr_t>(block), nullptr, 0);
}

// Wine 10's whole-heap check (WINEDEBUG=+heap) never looks inside its low-fragmentation groups,
// and a freed block is refilled before it could: each block is checked as the plug-in lets it go.
static void CheckBlock(HANDLE heap, const void* block) {
    if (!block || HeapValidate(heap, 0, block)) return;
    fprintf(stderr, "heap block %p of the plug-in is damaged\n", block);
    TerminateProcess(GetCurrentProcess(), kHeapFaultExitCode);
}

static LPVOID WINAPI TrackHeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
    LPVOID block = HeapAlloc(heap, flags, bytes);
    Replace(0, block, bytes);
    return block;
}

static LPVOID WINAPI TrackHeapReAlloc(HANDLE heap, DWORD flags, LPVOID old, SIZE_T bytes) {
    CheckBlock(heap, old);
    LPVOID block = HeapReAlloc(heap, flags, old, bytes);
    if (block) Replace(reinterpret_cast<uintptr_t>(old), block, bytes);
    return block;
}

static BOOL WINAPI TrackHeapFree(HANDLE heap, DWORD flags, LPVOID block) {
    CheckBlock(heap, block);
    ForgetAllocation(block);
    return HeapFree(heap, flags, block);
}

static HGLOBAL WINAPI TrackGlobalAlloc(UINT flags, SIZE_T bytes) {
    HGLOBAL block = GlobalAlloc(flags, bytes);
    Replace(0, block, bytes);
    return block;
}

static void* TrackMalloc(size_t bytes) {
    void* block = malloc(bytes);
    Replace(0, block, bytes);
    return block;
}

static void* TrackCalloc(size_t count, size_t size) {
    void* block = calloc(count, size);
    Replace(0, block, count * size);
    return block;
}

// The old address is only a key once realloc has moved the block.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
static void* TrackRealloc(void* old, size_t bytes) {
    void* block = realloc(old, bytes);
    // realloc(old, 0) frees the block and returns null.
    if (block || !bytes) Replace(reinterpret_cast<uintptr_t>(old), block, bytes);
    return block;
}
#pragma GCC diagnostic pop

static void TrackFree(void* block) {
    ForgetAllocation(block);
    free(block);
}

// The allocation entries the plug-in imports, and malloc for a new operator new; one it starts to
// import goes uncounted until it is added here.
struct TrackedImport {
    const wchar_t* library;
    const char* name;
    void* tracker;
};

// clang-format off
static const TrackedImport kTrackedImports[] = {
    {L"kernel32", "HeapAlloc",     reinterpret_cast<void*>(TrackHeapAlloc)},
    {L"kernel32", "HeapReAlloc",   reinterpret_cast<void*>(TrackHeapReAlloc)},
    {L"kernel32", "HeapFree",      reinterpret_cast<void*>(TrackHeapFree)},
    {L"kernel32", "GlobalAlloc",   reinterpret_cast<void*>(TrackGlobalAlloc)},
    {L"msvcrt",   "malloc",        reinterpret_cast<void*>(TrackMalloc)},
    {L"msvcrt",   "calloc",        reinterpret_cast<void*>(TrackCalloc)},
    {L"msvcrt",   "realloc",       reinterpret_cast<void*>(TrackRealloc)},
    {L"msvcrt",   "free",          reinterpret_cast<void*>(TrackFree)},
};
// clang-format on

void TrackAllocations(HMODULE module) {
    for (const TrackedImport& import : kTrackedImports) {
        // The loader's own address for the entry, forwarded as it is to ntdll for some.
        void* real =
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(import.library), import.name));
        if (real) RedirectImport(module, real, import.tracker);
    }
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
    AcquireSRWLockShared(&g_ledger.lock);
    counts.heldBytes = g_ledger.bytes;
    counts.heldBlocks = g_ledger.blocks.size();
    ReleaseSRWLockShared(&g_ledger.lock);
    return counts;
}

std::string Describe(const ResourceCounts& c) {
    char text[200];
    snprintf(text, sizeof text,
             "committed %zu KB, held %zu bytes in %zu blocks, windows %d, GDI %lu, USER %lu, "
             "handles %lu",
             static_cast<size_t>(c.privateBytes / 1024), static_cast<size_t>(c.heldBytes),
             static_cast<size_t>(c.heldBlocks), c.windows, c.gdiObjects, c.userObjects, c.handles);
    return text;
}
