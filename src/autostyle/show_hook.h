#pragma once
#include <windows.h>

// How long after its creation a hidden window is waited for: dialogs are shown only once their
// initialisation returns, which can take hundreds of milliseconds when it fills lists.
constexpr DWORD kShowWaitMs = 1000;

void InstallShowHook() noexcept;
void RemoveShowHook() noexcept;
void ExpirePendingShows() noexcept;
