#pragma once
#include <windows.h>

// Entry points resolved at run time go through this cast to keep -Wcast-function-type quiet.
template <typename Fn> Fn ResolveEntry(HMODULE module, const char* name) noexcept {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}

HMODULE LoadSystemLibrary(const wchar_t* name) noexcept;
