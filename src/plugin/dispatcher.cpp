#include "plugin/catalogue.h"
#include "plugin/exports.h"
#include "plugin/host_bridge.h"

int WINAPI _nbExecAction(int action, uintptr_t* params) noexcept {
    const ActionEntry* entry = FindAction(action);
    if (!entry) return 0;
    int args[kMaxParameterSlots];
    for (int i = 0; i < kMaxParameterSlots; ++i)
        args[i] = entry->defaults[i];
    if (params) ReadSlotNumbers(params, args, entry->slotCount);
    return entry->run(args);
}
