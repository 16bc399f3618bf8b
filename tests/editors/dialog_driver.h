#pragma once
// Plays a script against a modal editor from a timer on the editor's own thread, so steps may
// inspect controls directly while keystrokes still reach the editor's loop as posted messages.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

// A step is retried on every tick until it returns true or its deadline passes.
using Step = std::function<bool()>;

struct ScriptRun {
    int result;
    bool completed; // every step finished before the editor returned
};

ScriptRun RunScripted(const std::function<int()>& openEditor, const std::vector<Step>& steps,
                      int stepTimeoutMs = 5000);

HWND FindEditor(const wchar_t* title);   // visible top-level window of this thread with that title
HWND FindColorDialog();                  // visible, enabled "#32770" window of this thread
std::vector<HWND> Children(HWND dialog); // in creation order
std::wstring WindowText(HWND window);    // without sending a message
int CountThreadWindows();                // top-level windows of this thread and all their children

// Ready-made steps.
Step WaitForEditor(const wchar_t* title, HWND& found);
Step WaitForColorDialog(HWND& found);
Step Pause(int milliseconds);
Step PostTo(const HWND& window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
Step ClickChild(const HWND& dialog, int index);
Step PressKey(const HWND& dialog, WORD key, bool shift = false); // to the focused control
