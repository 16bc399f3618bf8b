#pragma once
#include <windows.h>
#include <cstdint>

void InitEditorResources() noexcept;
void ReleaseEditorResources() noexcept;

int ColorParamEditor(uintptr_t* params) noexcept;
int ThemeChooserDialog(uintptr_t* params) noexcept;
int CaptionButtonsDialog(uintptr_t* params) noexcept;
int DarkModeDialog(uintptr_t* params) noexcept;
