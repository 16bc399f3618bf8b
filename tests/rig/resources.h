#pragma once
// What a process holds, for leak checks. Under Wine 8 the GDI, USER and handle counts and
// PrivateUsage read 0: windows, the plug-in's blocks and committed memory are the figures that move
// there.
#include <windows.h>
#include <string>

struct ResourceCounts {
    DWORD gdiObjects, userObjects, handles;
    int windows;         // top-level windows of the process and all their children
    SIZE_T privateBytes; // committed private memory
    SIZE_T heldBytes;    // bytes asked for in the tracked modules' blocks that nobody freed yet
    SIZE_T heldBlocks;
};

ResourceCounts CountResources();
std::string Describe(const ResourceCounts& counts);

// From now on the module's heap, GlobalAlloc and C runtime blocks count as held until freed.
void TrackAllocations(HMODULE module);
// A block the plug-in handed over is no longer its own: the host is about to free it.
void ForgetAllocation(const void* block);
