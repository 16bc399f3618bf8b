#pragma once
#include <windows.h>
#include <cstdint>

#define ZARNEL_EXPORT extern "C" __declspec(dllexport)

ZARNEL_EXPORT int WINAPI _nbInitPlugIn(HWND hostWindow, char** name, char** author,
                                       char** description) noexcept;
ZARNEL_EXPORT int WINAPI _nbRegisterPlugIn(void* addAction, void* unused1, void* unused2,
                                           void* setVariable) noexcept;
ZARNEL_EXPORT int WINAPI _nbGetPluginInfo(char** name, char** description, void* unused) noexcept;
ZARNEL_EXPORT int WINAPI _nbInitialize(HWND hostWindow) noexcept;
ZARNEL_EXPORT int WINAPI _nbMessage(int code, void* unused) noexcept;
ZARNEL_EXPORT int WINAPI _nbExecAction(int action, uintptr_t* params) noexcept;
ZARNEL_EXPORT int WINAPI _nbEditAction(int action, uintptr_t* params) noexcept;

// What loading and unloading the DLL do; in-process tests call them to start afresh.
void AttachModule() noexcept;
void DetachModule() noexcept;
