#pragma once
#include <windows.h>

// Windows already styled automatically, in the order they were coloured.
struct WindowList {
    HWND* items;
    int count;
    int capacity;
};

bool WindowListContains(const WindowList& list, HWND window) noexcept;
bool WindowListAppend(WindowList& list, HWND window) noexcept;
void WindowListRemoveDestroyed(WindowList& list) noexcept;
void WindowListClear(WindowList& list) noexcept;
void WindowListFree(WindowList& list) noexcept;
