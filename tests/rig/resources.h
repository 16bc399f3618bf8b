#pragma once
// What a process holds, for leak checks. Under Wine 8 the GDI, USER and handle counts and
// PrivateUsage read 0: windows, heap bytes and committed memory are the figures that move there.
#include <windows.h>
#include <string>

struct ResourceCounts {
    DWORD gdiObjects, userObjects, handles;
    int windows;         // top-level windows of the process and all their children
    SIZE_T privateBytes; // committed private memory
    SIZE_T heapBytes;    // busy blocks on every heap of the process
};

ResourceCounts CountResources();
std::string Describe(const ResourceCounts& counts);
