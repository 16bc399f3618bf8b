#pragma once
// In-process tests: the module's code linked into the test program, its state reset per case.
#include "host_rig.h"
#include "plugin/exports.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

// What the DLL's load does, then what a host does before it runs actions.
inline void StartCore(HWND hostWindow) {
    DetachModule();
    AttachModule();
    _nbInitPlugIn(hostWindow, nullptr, nullptr, nullptr);
    _nbRegisterPlugIn(nullptr, nullptr, nullptr, reinterpret_cast<void*>(RecordSetVariable));
    _nbInitialize(hostWindow);
    ClearHostRecords();
}

inline int ExecCore(int action, std::initializer_list<const char*> values) {
    Params params(values);
    return _nbExecAction(action, params.data());
}

inline std::string StoredCaption() {
    return std::to_string(g_state.captionColorRed) + "," +
           std::to_string(g_state.captionColorGreen) + "," +
           std::to_string(g_state.captionColorBlue);
}

inline std::string StoredText() {
    return std::to_string(g_state.textColorRed) + "," + std::to_string(g_state.textColorGreen) +
           "," + std::to_string(g_state.textColorBlue);
}

inline bool SameCall(const DwmCall& call, HWND window, DWORD attribute, DWORD value) {
    return call.window == window && call.attribute == attribute && call.value == value &&
           call.size == 4;
}
