#include "autostyle/window_list.h"

constexpr int kInitialCapacity = 16;

bool WindowListContains(const WindowList& list, HWND window) noexcept {
    for (int i = 0; i < list.count; ++i)
        if (list.items[i] == window) return true;
    return false;
}

bool WindowListAppend(WindowList& list, HWND window) noexcept {
    if (list.count == list.capacity) {
        int capacity = list.capacity ? list.capacity * 2 : kInitialCapacity;
        SIZE_T bytes = capacity * sizeof(HWND);
        void* grown = list.items ? HeapReAlloc(GetProcessHeap(), 0, list.items, bytes)
                                 : HeapAlloc(GetProcessHeap(), 0, bytes);
        if (!grown) return false;
        list.items = static_cast<HWND*>(grown);
        list.capacity = capacity;
    }
    list.items[list.count++] = window;
    return true;
}

void WindowListRemoveDestroyed(WindowList& list) noexcept {
    int kept = 0;
    for (int i = 0; i < list.count; ++i)
        if (IsWindow(list.items[i])) list.items[kept++] = list.items[i];
    list.count = kept;
}

void WindowListClear(WindowList& list) noexcept {
    list.count = 0;
}

void WindowListFree(WindowList& list) noexcept {
    if (list.items) HeapFree(GetProcessHeap(), 0, list.items);
    list = WindowList{nullptr, 0, 0};
}
