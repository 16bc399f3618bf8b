#pragma once
#include <cstdint>

#include "plugin/host_bridge.h"

typedef int (*ActionRunner)(const int* args);

struct ActionEntry {
    int number;
    const wchar_t* name;
    const wchar_t* hint;
    int editorKind;   // registered as argument 4: 2 when the action has an editor
    int unusedMinus1; // registered as argument 5
    int slotCount;    // registered as argument 6: parameter slots the action reads
    int defaults[kMaxParameterSlots];
    ActionRunner run;
};

constexpr int kActionCount = 12;
extern const ActionEntry kActions[kActionCount];

const ActionEntry* FindAction(int number) noexcept;
void RegisterActions() noexcept;
