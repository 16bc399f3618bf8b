#include "dialog_closer.h"

#include <algorithm>

constexpr DWORD kFindWindowMs = 10000;
constexpr DWORD kPollMs = 20;
constexpr DWORD kCloseMs = 2000;

void DialogCloser::Start(int milliseconds, bool confirm, DWORD hostThread,
                         std::vector<HWND> ignore) {
    Finish();
    delay_ = milliseconds;
    confirm_ = confirm;
    hostThread_ = hostThread;
    ignore_ = std::move(ignore);
    dismissed_ = nullptr;
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

HWND DialogCloser::Finish() {
    if (thread_) {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(stop_);
        thread_ = stop_ = nullptr;
    }
    return dismissed_;
}

struct Search {
    const std::vector<HWND>* ignore;
    HWND found;
};

static BOOL CALLBACK TakeCandidate(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    const std::vector<HWND>& ignore = *search->ignore;
    if (std::find(ignore.begin(), ignore.end(), window) != ignore.end()) return TRUE;
    search->found = window;
    return FALSE;
}

// Only posted messages: a message sent into another thread's modal loop can stall it under Wine.
DWORD WINAPI DialogCloser::Run(void* param) {
    auto* self = static_cast<DialogCloser*>(param);
    if (WaitForSingleObject(self->stop_, self->delay_) == WAIT_OBJECT_0) return 0;
    DWORD deadline = GetTickCount() + kFindWindowMs;
    for (;;) {
        Search search = {&self->ignore_, nullptr};
        EnumThreadWindows(self->hostThread_, TakeCandidate, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            // The plug-in's own editors number their controls freely; their OK says so.
            HWND ok = self->confirm_ ? GetDlgItem(search.found, IDOK) : nullptr;
            if (self->confirm_ && !ok) ok = FindWindowExW(search.found, nullptr, L"Button", L"OK");
            if (ok && IsWindowEnabled(ok))
                PostMessageW(ok, BM_CLICK, 0, 0);
            else
                PostMessageW(search.found, WM_CLOSE, 0, 0);
            self->dismissed_ = search.found;
            // A dialog that stays open after OK (nothing chosen, say) is closed instead.
            DWORD closeBy = GetTickCount() + kCloseMs;
            while (IsWindow(search.found) && static_cast<int>(closeBy - GetTickCount()) > 0)
                if (WaitForSingleObject(self->stop_, kPollMs) == WAIT_OBJECT_0) return 0;
            if (IsWindow(search.found)) PostMessageW(search.found, WM_CLOSE, 0, 0);
            return 0;
        }
        if (static_cast<int>(deadline - GetTickCount()) <= 0) return 0;
        if (WaitForSingleObject(self->stop_, kPollMs) == WAIT_OBJECT_0) return 0;
    }
}
