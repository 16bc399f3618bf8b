#pragma once
#include <windows.h>

void InstallShowHook() noexcept;
void RemoveShowHook() noexcept;
