#pragma once
#include <windows.h>

constexpr UINT_PTR kAutoStyleTimerId = 9999;
constexpr UINT kAutoStyleIntervalMs = 100;
constexpr int kPruneEveryTicks = 10;

int EnableAutoStyle() noexcept;
int DisableAutoStyle() noexcept;
int GetAutoStyleStatus() noexcept;
int StopAutoStyle() noexcept;
void ReleaseAutoStyle() noexcept;
void CALLBACK AutoStyleTick(HWND, UINT, UINT_PTR, DWORD) noexcept;
int IsOwnProcessWindow(HWND window) noexcept;
bool QualifiesForAutoStyle(HWND window) noexcept;
void ColorAndTrack(HWND window) noexcept;
