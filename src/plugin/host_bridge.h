#pragma once
#include <windows.h>
#include <cstdint>

// Host callbacks; their results are never looked at.
typedef int(WINAPI* AddActionCallback)(int number, const char* name, const char* hint, int arg4,
                                       int arg5, int arg6);
typedef int(WINAPI* SetVariableCallback)(const char* name, const char* value);

// No action reads more parameter slots than this.
constexpr int kMaxParameterSlots = 4;

char* MakeHostString(const wchar_t* text) noexcept;
void SetHostVariable(const wchar_t* name, const wchar_t* value) noexcept;
void SetHostVariableInt(const wchar_t* name, int value) noexcept;
void ReportLastError(const wchar_t* text) noexcept;
// A UTF-16 copy of a host text, released when it goes out of scope.
struct HostText {
    wchar_t* text = nullptr;
    HostText() = default;
    HostText(const HostText&) = delete;
    HostText& operator=(const HostText&) = delete;
    ~HostText();
};

bool ReadHostString(const char* source, HostText& out) noexcept;
int64_t ParseNumber(const wchar_t* text) noexcept;
int ReadNumberText(const char* text, int fallback) noexcept;
void ReadSlotNumbers(const uintptr_t* params, int* values, int count) noexcept;
void WriteSlotNumber(uintptr_t* params, int slot, int value) noexcept;
