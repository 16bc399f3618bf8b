#pragma once
// Dismisses the next window that the host thread opens (a message box, an editor dialog) from a
// helper thread, so that scripts run unattended.
#include <windows.h>
#include <vector>

class DialogCloser {
  public:
    DialogCloser() = default;
    DialogCloser(const DialogCloser&) = delete;
    DialogCloser& operator=(const DialogCloser&) = delete;
    ~DialogCloser() { Finish(); }

    // After milliseconds, presses OK (confirm) or closes the first visible, enabled top-level
    // window of hostThread other than the windows in ignore.
    void Start(int milliseconds, bool confirm, DWORD hostThread, std::vector<HWND> ignore);
    // Stops the helper; returns the window it dismissed, or null.
    HWND Finish();

  private:
    static DWORD WINAPI Run(void* self);
    HANDLE thread_ = nullptr;
    HANDLE stop_ = nullptr;
    int delay_ = 0;
    bool confirm_ = true;
    DWORD hostThread_ = 0;
    std::vector<HWND> ignore_;
    HWND dismissed_ = nullptr;
};
