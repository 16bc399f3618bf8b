#include "plugin/catalogue.h"
#include "plugin/exports.h"
#include "plugin/host_bridge.h"

int WINAPI _nbExecAction(int action, uintptr_t* params) noexcept {
    const ActionEntry* entry = FindAction(action);
    if (!entry) return 0;
    int args[4];
    const char* texts[4] = {};
    for (int i = 0; i < 4; ++i)
        args[i] = entry->defaults[i];
    // All addresses are fetched before any text is read, as the host laid them out.
    if (params)
        for (int i = 0; i < entry->slotCount; ++i)
            texts[i] = reinterpret_cast<const char*>(params[i]);
    for (int i = 0; i < entry->slotCount; ++i)
        args[i] = ReadNumberText(texts[i], args[i]);
    return entry->run(args);
}
