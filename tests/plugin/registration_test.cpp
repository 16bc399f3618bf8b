// The host's view of the plug-in's informational exports and action catalogue.
#include "doctest_rig.h"
#include "host_rig.h"

struct ExpectedAction {
    const char* name;
    const char* hint;
    int arg4, arg6;
};

static const ExpectedAction kExpected[12] = {
    {"zrnZarnel_SetColor", "Set title bar background color using color picker", 2, 4},
    {"zrnZarnel_SetTextColor", "Set title bar text color using color picker", 2, 4},
    {"zrnZarnel_ApplyTheme", "Apply a predefined theme to title bar", 2, 2},
    {"zrnZarnel_GetActiveWindow", "Get active window title and handle", 0, 0},
    {"zrnZarnel_RemoveStyle", "Reset title bar to Windows default appearance", 0, 1},
    {"zrnZarnel_SetGlobalTheme", "Set global theme for automatic child window styling", 2, 1},
    {"zrnZarnel_EnableAutoStyle",
     "Enable automatic styling of child windows (dialogs, alerts, etc.)", 0, 0},
    {"zrnZarnel_DisableAutoStyle", "Disable automatic styling of child windows", 0, 0},
    {"zrnZarnel_GetAutoStyleStatus", "Get current auto-styling status and global theme info", 0, 0},
    {"zrnZarnel_SetButtons", "Show or hide title bar Close / Minimize / Maximize buttons", 2, 4},
    {"zrnZarnel_SetBorderColor",
     "Set window border color using color picker (red -1: as the title bar)", 2, 4},
    {"zrnZarnel_SetDarkMode", "Give a window the dark (1) or light (0) title bar of Windows", 2, 2},
};

static void CheckCatalogue(size_t first) {
    REQUIRE(g_registrations.size() >= first + 12);
    for (int i = 0; i < 12; ++i) {
        const Registration& r = g_registrations[first + i];
        CHECK_EQ(r.number, i + 1);
        CHECK_EQ(r.name, std::string(kExpected[i].name));
        CHECK_EQ(r.hint, std::string(kExpected[i].hint));
        CHECK_EQ(r.arg4, kExpected[i].arg4);
        CHECK_EQ(r.arg5, -1);
        CHECK_EQ(r.arg6, kExpected[i].arg6);
    }
}

TEST_CASE("registers_the_catalogue_in_order_and_again_on_a_second_call") {
    PluginApi api;
    REQUIRE(LoadPlugin(api));
    ClearHostRecords();
    CHECK_EQ(api.registerPlugIn(reinterpret_cast<void*>(RecordAddAction), nullptr, nullptr,
                                reinterpret_cast<void*>(RecordSetVariable)),
             0);
    CHECK_EQ(g_registrations.size(), 12u);
    CheckCatalogue(0);
    api.registerPlugIn(reinterpret_cast<void*>(RecordAddAction), nullptr, nullptr,
                       reinterpret_cast<void*>(RecordSetVariable));
    CHECK_EQ(g_registrations.size(), 24u);
    CheckCatalogue(12);
    CHECK_EQ(g_badBlocks, 0);
    CHECK(g_writes.empty());
    UnloadPlugin(api);
}

TEST_CASE("null_add_action_callback_still_stores_the_variable_callback") {
    PluginApi api;
    REQUIRE(LoadPlugin(api));
    ClearHostRecords();
    api.registerPlugIn(nullptr, nullptr, nullptr, reinterpret_cast<void*>(RecordSetVariable));
    CHECK(g_registrations.empty());
    CHECK_EQ(Exec(api, 6, {"14"}), 1);
    CHECK_EQ(LastValue("[Zarnel.GlobalTheme]"), std::string("Matrix Green"));
    // A later registration without a set-variable callback silences the status lines.
    ClearHostRecords();
    api.registerPlugIn(reinterpret_cast<void*>(RecordAddAction), nullptr, nullptr, nullptr);
    CHECK_EQ(g_registrations.size(), 12u);
    CHECK_EQ(Exec(api, 6, {"2"}), 1);
    CHECK(g_writes.empty());
    UnloadPlugin(api);
}

TEST_CASE("info_exports_hand_over_fresh_exact_blocks_and_skip_null_out_pointers") {
    PluginApi api;
    REQUIRE(LoadPlugin(api));
    ClearHostRecords();
    char *name = nullptr, *author = nullptr, *description = nullptr;
    HWND host = MakeWindow(L"host");
    CHECK_EQ(api.initPlugIn(host, &name, &author, &description), 0);
    CHECK_EQ(TakeHostBlock(name), std::string("Zarnel Plugin Enhanced"));
    CHECK(!TakeHostBlock(author).empty());
    CHECK_EQ(TakeHostBlock(description),
             std::string("Customize Windows title bar with auto-styling for child windows"));
    CHECK_EQ(api.getPluginInfo(&name, &description, reinterpret_cast<void*>(1)), 0);
    CHECK_EQ(TakeHostBlock(name), std::string("ZarnelPlugin_Enhanced"));
    CHECK_EQ(
        TakeHostBlock(description),
        std::string("Windows 10/11 Title Bar customization with auto-styling for child windows"));
    CHECK_EQ(g_badBlocks, 0);

    // All out-pointers null: still the host window and the theme table are set up.
    CHECK_EQ(api.initPlugIn(host, nullptr, nullptr, nullptr), 0);
    CHECK_EQ(api.getPluginInfo(nullptr, nullptr, nullptr), 0);
    api.registerPlugIn(nullptr, nullptr, nullptr, reinterpret_cast<void*>(RecordSetVariable));
    CHECK_EQ(Exec(api, 10, {}), 1);
    CHECK_EQ(LastValue("[Zarnel.LastError]"), std::string("OK - Button visibility applied"));
    DestroyWindow(host);
    UnloadPlugin(api);
}

TEST_CASE("the_window_given_last_is_the_host_window") {
    PluginApi api;
    REQUIRE(LoadPlugin(api));
    HWND first = MakeWindow(L"first"), second = MakeWindow(L"second");
    api.initPlugIn(first, nullptr, nullptr, nullptr);
    api.registerPlugIn(nullptr, nullptr, nullptr, reinterpret_cast<void*>(RecordSetVariable));
    api.initialize(second);
    Exec(api, 10, {"1", "0", "0"});
    CHECK_EQ(GetWindowLongW(second, GWL_STYLE) & WS_MINIMIZEBOX, 0);
    CHECK((GetWindowLongW(first, GWL_STYLE) & WS_MINIMIZEBOX));
    api.initPlugIn(first, nullptr, nullptr, nullptr);
    Exec(api, 10, {"1", "0", "0"});
    CHECK_EQ(GetWindowLongW(first, GWL_STYLE) & WS_MINIMIZEBOX, 0);
    DestroyWindow(first);
    DestroyWindow(second);
    UnloadPlugin(api);
}

TEST_CASE("messages_other_than_stop_and_out_of_range_actions_do_nothing") {
    PluginApi api;
    HWND host = MakeWindow(L"host");
    REQUIRE(StartPlugin(api, host));
    for (int code : {0, 1, 2, 3, 99, -1})
        CHECK_EQ(api.message(code, nullptr), 0);
    // An invalid array address proves the dispatcher never reads it for these numbers.
    uintptr_t* invalid = reinterpret_cast<uintptr_t*>(static_cast<uintptr_t>(0x10));
    for (int action : {0, -1, 13, 1000})
        CHECK_EQ(api.execAction(action, invalid), 0);
    CHECK(g_writes.empty());
    DestroyWindow(host);
    UnloadPlugin(api);
}
