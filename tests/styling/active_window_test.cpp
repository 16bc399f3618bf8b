// The foreground window's handle and title as the script receives them.
#include "doctest_rig.h"
#include "core_rig.h"

TEST_CASE("reports_the_foreground_handle_and_title") {
    HWND host = MakeWindow(L"host"), front = MakeWindow(L"Front window \x00e9t\x00e9");
    StartCore(host);
    REQUIRE(BringToFront(front));
    int result = ExecCore(4, {});
    CHECK_EQ(result, static_cast<int>(reinterpret_cast<intptr_t>(front)));
    REQUIRE(g_writes.size() == 3u);
    CHECK_EQ(g_writes[0].name + "=" + g_writes[0].value,
             "[Zarnel.ActiveWindowHandle]=" + HandleText(front));
    CHECK_EQ(g_writes[1].name, std::string("[Zarnel.ActiveWindowTitle]"));
    CHECK_EQ(g_writes[1].value, std::string("Front window \xe9t\xe9"));
    CHECK_EQ(g_writes[2].value, std::string("OK - Active window info retrieved"));
    // The handle text goes back in as a window parameter and names the same window.
    CHECK_EQ(ExecCore(10, {"1", "0", "0", g_writes[0].value.c_str()}), 1);
    CHECK_EQ(GetWindowLongW(front, GWL_STYLE) & WS_MINIMIZEBOX, 0);
    DestroyWindow(front);
    DestroyWindow(host);
}

TEST_CASE("empty_title_reads_no_title_and_long_titles_are_cut_to_511") {
    HWND host = MakeWindow(L"host"), front = MakeWindow(L"");
    StartCore(host);
    REQUIRE(BringToFront(front));
    ExecCore(4, {});
    CHECK_EQ(LastValue("[Zarnel.ActiveWindowTitle]"), std::string("(No Title)"));
    std::wstring title;
    for (int i = 0; i < 600; ++i)
        title += static_cast<wchar_t>(L'a' + i % 26);
    SetWindowTextW(front, title.c_str());
    ExecCore(4, {});
    CHECK_EQ(LastValue("[Zarnel.ActiveWindowTitle]"), Narrow(title.substr(0, 511)));
    DestroyWindow(front);
    DestroyWindow(host);
}
