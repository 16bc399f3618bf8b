#pragma once
// Shared by the cycle test and the benchmark: open and cancel an editor again and again.
#include <windows.h>
#include <string>

#include "host_rig.h"
#include "resources.h"

struct EditorKind {
    const char* name;
    int action;
};
extern const EditorKind kEditorKinds[3];

bool CycleEditor(PluginApi& api, const EditorKind& kind, int cycles);
