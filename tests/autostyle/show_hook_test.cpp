// Windows of the host thread are coloured as they are shown, before their first paint.
#include "doctest_rig.h"
#include "core_rig.h"
#include "autostyle/auto_style.h"

// Exactly the two caption calls with the current colours, made before the window was visible.
static bool ColouredBeforeShown(HWND window) {
    std::vector<DwmCall> calls = DwmCallsFor(window);
    return calls.size() == 2 && SameCall(calls[0], window, DWMWA_CAPTION_COLOR, 0x00808000) &&
           SameCall(calls[1], window, DWMWA_TEXT_COLOR, 0x00FFFFFF) && !calls[0].visible &&
           !calls[1].visible && !calls[0].painted;
}

static HWND StartStyling() {
    HWND host = MakeWindow(L"host");
    StartCore(host);
    SetForegroundWindow(host);
    ExecCore(6, {"7"});
    ExecCore(7, {});
    DwmReset();
    return host;
}

static HWND g_box;

static DWORD WINAPI CloseMessageBoxOnceColoured(void*) {
    PumpUntil([] { return (g_box = FindWindowW(L"#32770", L"hooked")) != nullptr; }, 3000);
    PumpUntil([] { return DwmCallsFor(g_box).size() >= 2; }, 3000);
    PostMessageW(g_box, WM_CLOSE, 0, 0);
    return 0;
}

TEST_CASE("message_box_of_the_host_thread_is_coloured_before_it_is_visible") {
    HWND host = StartStyling();
    HANDLE closer = CreateThread(nullptr, 0, CloseMessageBoxOnceColoured, nullptr, 0, nullptr);
    MessageBoxW(host, L"coloured before shown", L"hooked", MB_OK);
    WaitForSingleObject(closer, 5000);
    CloseHandle(closer);
    CHECK(ColouredBeforeShown(g_box));
    CHECK(g_state.lastHandledWindow == g_box);
    StopAutoStyle();
    DestroyWindow(host);
}

TEST_CASE("visible_windows_and_dialogs_are_coloured_at_creation_and_tracked_once") {
    HWND host = StartStyling();
    HWND window = MakeWindow(L"created visible");
    CHECK(ColouredBeforeShown(window));
    CHECK(WindowListContains(g_state.trackedWindows, window));
    // The tick passes over it afterwards: still two calls.
    ShowWindow(window, SW_HIDE);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    Pump(300);
    CHECK_EQ(DwmCallsFor(window).size(), 2u);

    struct {
        DLGTEMPLATE frame;
        WORD menu, windowClass, title;
    } dialog = {};
    dialog.frame.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
    dialog.frame.cx = 120;
    dialog.frame.cy = 60;
    HWND box = CreateDialogIndirectParamW(nullptr, &dialog.frame, host, nullptr, 0);
    REQUIRE(box != nullptr);
    CHECK(ColouredBeforeShown(box));
    DestroyWindow(box);
    DestroyWindow(window);
    StopAutoStyle();
    DestroyWindow(host);
}

TEST_CASE("hidden_captionless_and_child_windows_wait_or_are_left_alone") {
    HWND host = StartStyling();
    HWND hidden = MakeWindow(L"hidden", WS_OVERLAPPEDWINDOW);
    HWND child = MakeWindow(L"child", WS_CHILD | WS_CAPTION | WS_VISIBLE, host);
    HWND popup = MakeWindow(L"popup", WS_POPUP | WS_VISIBLE);
    Pump(150);
    CHECK(DwmCallsFor(hidden).empty());
    CHECK(DwmCallsFor(child).empty());
    CHECK(DwmCallsFor(popup).empty());
    ShowWindow(hidden, SW_SHOW);
    CHECK(ColouredBeforeShown(hidden));
    // A caption gained later is the tick's to find, on a window already visible.
    SetWindowLongW(popup, GWL_STYLE, GetWindowLongW(popup, GWL_STYLE) | WS_CAPTION);
    SetForegroundWindow(popup);
    CHECK(PumpUntil([&] { return DwmCallsFor(popup).size() == 2; }, 2000));
    CHECK(DwmCallsFor(popup)[0].visible);
    CHECK(DwmCallsFor(child).empty());
    DestroyWindow(hidden);
    DestroyWindow(popup);
    StopAutoStyle();
    DestroyWindow(host);
}

static DWORD WINAPI ShowWorkerWindow(void* result) {
    HWND window = MakeWindow(L"worker");
    SetForegroundWindow(window);
    PumpUntil([&] { return DwmCallsFor(window).size() == 2; }, 3000);
    std::vector<DwmCall> calls = DwmCallsFor(window);
    *static_cast<bool*>(result) = calls.size() == 2 && calls[0].visible;
    DestroyWindow(window);
    return 0;
}

TEST_CASE("windows_of_other_threads_are_left_to_the_tick") {
    HWND host = StartStyling();
    bool colouredByTick = false;
    HANDLE worker = CreateThread(nullptr, 0, ShowWorkerWindow, &colouredByTick, 0, nullptr);
    PumpUntil([&] { return WaitForSingleObject(worker, 0) == WAIT_OBJECT_0; }, 5000);
    CloseHandle(worker);
    CHECK(colouredByTick);
    StopAutoStyle();
    DestroyWindow(host);
}

TEST_CASE("no_window_is_hooked_after_disable_or_message_2") {
    for (int stop = 0; stop < 2; ++stop) {
        HWND host = StartStyling();
        CHECK(g_state.createHook != nullptr);
        if (stop)
            _nbMessage(2, nullptr);
        else
            ExecCore(8, {});
        CHECK((g_state.createHook == nullptr && g_state.showHook == nullptr));
        HWND late = MakeWindow(L"late");
        CHECK(DwmCallsFor(late).empty());
        DestroyWindow(late);
        DestroyWindow(host);
    }
}
