#pragma once
// Shared by the cycle test and the benchmark: open and cancel an editor again and again.
#include <windows.h>
#include <string>

#include "host_rig.h"

struct EditorKind {
    const char* name;
    int action;
};
extern const EditorKind kEditorKinds[3];

struct ResourceCounts {
    DWORD gdiObjects, userObjects, handles;
    int windows;
    SIZE_T privateBytes; // committed private memory
    SIZE_T heapBytes;    // busy blocks on every heap of the process
};

ResourceCounts CountResources();
std::string Describe(const ResourceCounts& counts);
bool CycleEditor(PluginApi& api, const EditorKind& kind, int cycles);
