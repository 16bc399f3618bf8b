// The design-time editors as the host sees them: real dialogs under the exported entry point.
#include "doctest_rig.h"
#include "dialog_driver.h"
#include "host_rig.h"

static const char* kThemeNames[20] = {
    "Charcoal",    "Clean White",  "Crimson Red",   "Cyber Purple",  "Dark Gray",
    "Dark Mode",   "Deep Teal",    "Electric Blue", "Forest Green",  "Gold",
    "Hot Pink",    "Light Mode",   "Lime Green",    "Matrix Green",  "Midnight Blue",
    "Office Blue", "Royal Purple", "Steel Blue",    "Sunset Orange", "Warm Gray"};

constexpr int kColorRedEdit = 706, kColorGreenEdit = 707, kColorBlueEdit = 708;
enum { kThemeList = 1, kThemeOk = 2, kThemeCancel = 3 };
enum { kCloseBox = 1, kMinBox = 2, kMaxBox = 3, kButtonsOk = 5, kButtonsCancel = 6 };

// The plug-in loaded and started for one test, with a host window in front.
struct Session {
    PluginApi api;
    HWND host = MakeWindow(L"host");
    bool ready = StartPlugin(api, host);
    Session() {
        SetForegroundWindow(host);
        Pump(20);
    }
    ~Session() {
        UnloadPlugin(api);
        DestroyWindow(host);
    }
    ScriptRun Edit(int action, uintptr_t* params, const std::vector<Step>& steps) {
        return RunScripted([&] { return api.editAction(action, params); }, steps);
    }
};

// The value a slot now holds, the block checked and freed when the editor made it.
static std::string Written(Params& params, const std::vector<uintptr_t>& before, int slot) {
    if (params.slots[slot] == before[slot]) return "<unchanged>";
    char* block = reinterpret_cast<char*>(params.slots[slot]);
    params.slots[slot] = before[slot];
    return TakeHostBlock(block);
}

static int g_createdWindows;
static LRESULT CALLBACK CountCreations(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) ++g_createdWindows;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_CASE("edit_numbers_without_an_editor_answer_at_once_and_show_nothing") {
    Session s;
    REQUIRE(s.ready);
    HHOOK hook = SetWindowsHookExW(WH_CBT, CountCreations, nullptr, GetCurrentThreadId());
    g_createdWindows = 0;
    // An address that faults if read: these numbers must not touch the array.
    uintptr_t* bad = reinterpret_cast<uintptr_t*>(16);
    for (int action : {4, 0, 13, -1, 14})
        CHECK_EQ(s.api.editAction(action, bad), 0);
    for (int action : {5, 7, 8, 9})
        CHECK_EQ(s.api.editAction(action, bad), 1);
    UnhookWindowsHookEx(hook);
    CHECK_EQ(g_createdWindows, 0);
    CHECK(g_writes.empty());
}

struct ColorCase {
    std::initializer_list<const char*> slots;
    int red, green, blue;
};

TEST_CASE("colour_picker_opens_at_the_slot_colour_clamped_and_ok_writes_it_back") {
    Session s;
    REQUIRE(s.ready);
    const ColorCase cases[] = {
        {{"255", "128", "0", "4242"}, 255, 128, 0},
        {{"$FF", "%1010", "7", "4242"}, 255, 10, 7},
        {{"10", nullptr, "20", "4242"}, 10, 0, 20},
        {{"300", "0", "0", "4242"}, 255, 0, 0}, // unclamped this opened at 44,1,0
        {{"-1", "5", "6", "4242"}, 0, 5, 6},
        {{"12", "-70000", "999", "4242"}, 12, 0, 255},
    };
    for (const ColorCase& c : cases) {
        for (int action : {1, 2, 11}) {
            Params params(c.slots);
            std::vector<uintptr_t> before = params.slots;
            HWND dialog = nullptr;
            int shown[3] = {-1, -1, -1};
            ScriptRun run =
                s.Edit(action, params.data(),
                       {WaitForColorDialog(dialog), Pause(50),
                        [&] {
                            int ids[3] = {kColorRedEdit, kColorGreenEdit, kColorBlueEdit};
                            for (int i = 0; i < 3; ++i)
                                shown[i] = GetDlgItemInt(dialog, ids[i], nullptr, 0);
                            return true;
                        },
                        PostTo(dialog, WM_COMMAND, IDOK)});
            CHECK(run.completed);
            CHECK_EQ(run.result, 1);
            CHECK_EQ(shown[0], c.red);
            CHECK_EQ(shown[1], c.green);
            CHECK_EQ(shown[2], c.blue);
            CHECK_EQ(Written(params, before, 0), std::to_string(c.red));
            CHECK_EQ(Written(params, before, 1), std::to_string(c.green));
            CHECK_EQ(Written(params, before, 2), std::to_string(c.blue));
            CHECK_EQ(params.slots[3], before[3]);
        }
    }
    CHECK_EQ(g_badBlocks, 0);
}

TEST_CASE("colour_picker_writes_a_changed_colour") {
    Session s;
    REQUIRE(s.ready);
    Params params({"1", "2", "3", nullptr});
    std::vector<uintptr_t> before = params.slots;
    HWND dialog = nullptr;
    ScriptRun run = s.Edit(1, params.data(),
                           {WaitForColorDialog(dialog),
                            [&] {
                                SetDlgItemInt(dialog, kColorRedEdit, 200, FALSE);
                                SetDlgItemInt(dialog, kColorGreenEdit, 100, FALSE);
                                SetDlgItemInt(dialog, kColorBlueEdit, 50, FALSE);
                                return true;
                            },
                            Pause(50), PostTo(dialog, WM_COMMAND, IDOK)});
    CHECK(run.completed);
    CHECK_EQ(run.result, 1);
    CHECK_EQ(Written(params, before, 0), std::string("200"));
    CHECK_EQ(Written(params, before, 1), std::string("100"));
    CHECK_EQ(Written(params, before, 2), std::string("50"));
    CHECK_EQ(params.slots[3], uintptr_t(0));
}

static bool ColorLibraryLoaded() {
    return GetModuleHandleW(L"comdlg32.dll") != nullptr;
}

TEST_CASE("colour_picker_cancel_and_close_box_leave_every_slot") {
    {
        Session s;
        REQUIRE(s.ready);
        // The common-dialog library comes with the first picker, not with the plug-in's load.
        CHECK_FALSE(ColorLibraryLoaded());
        for (int how = 0; how < 2; ++how) {
            Params params({"9", "8", "7", "6"});
            std::vector<uintptr_t> before = params.slots;
            HWND dialog = nullptr;
            ScriptRun run =
                s.Edit(1, params.data(),
                       {WaitForColorDialog(dialog), how ? PostTo(dialog, WM_SYSCOMMAND, SC_CLOSE)
                                                        : PostTo(dialog, WM_COMMAND, IDCANCEL)});
            CHECK(run.completed);
            CHECK_EQ(run.result, 0);
            CHECK(params.slots == before);
        }
        CHECK(ColorLibraryLoaded());
    }
    CHECK_FALSE(ColorLibraryLoaded());
}

// Run alone with comdlg32.dll disabled (editors_without_comdlg32): the picker is then a cancel.
TEST_CASE("colour_picker_without_its_library_returns_zero_and_writes_nothing" * doctest::skip()) {
    REQUIRE_FALSE(LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    Session s;
    REQUIRE(s.ready);
    for (int action : {1, 2}) {
        Params params({"9", "8", "7", "6"});
        std::vector<uintptr_t> before = params.slots;
        CHECK_EQ(s.api.editAction(action, params.data()), 0);
        CHECK(params.slots == before);
    }
}

TEST_CASE("colour_picker_with_a_null_array_opens_at_black_and_returns_ok") {
    Session s;
    REQUIRE(s.ready);
    HWND dialog = nullptr;
    int red = -1;
    ScriptRun run = s.Edit(2, nullptr,
                           {WaitForColorDialog(dialog), Pause(50),
                            [&] {
                                red = GetDlgItemInt(dialog, kColorRedEdit, nullptr, 0);
                                return true;
                            },
                            PostTo(dialog, WM_COMMAND, IDOK)});
    CHECK(run.completed);
    CHECK_EQ(run.result, 1);
    CHECK_EQ(red, 0);
}

static bool Topmost(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

TEST_CASE("colour_picker_sets_the_thread_windows_aside_and_restores_them_exactly") {
    Session s;
    REQUIRE(s.ready);
    HWND plain = MakeWindow(L"plain");
    HWND disabled = MakeWindow(L"disabled");
    EnableWindow(disabled, FALSE);
    HWND topmost = MakeWindow(L"topmost", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, WS_EX_TOPMOST);
    HWND hidden = MakeWindow(L"hidden", WS_OVERLAPPEDWINDOW);
    SetForegroundWindow(s.host);
    Pump(50);
    bool hostInFront = GetForegroundWindow() == s.host;
    Params params({"1", "2", "3", nullptr});
    HWND dialog = nullptr;
    bool plainEnabled = true, disabledEnabled = true, topmostEnabled = true, hiddenEnabled = false,
         stillTopmost = true;
    HWND owner = nullptr;
    ScriptRun run = s.Edit(1, params.data(),
                           {WaitForColorDialog(dialog),
                            [&] {
                                plainEnabled = IsWindowEnabled(plain);
                                disabledEnabled = IsWindowEnabled(disabled);
                                topmostEnabled = IsWindowEnabled(topmost);
                                hiddenEnabled = IsWindowEnabled(hidden);
                                stillTopmost = Topmost(topmost);
                                owner = GetWindow(dialog, GW_OWNER);
                                return true;
                            },
                            PostTo(dialog, WM_COMMAND, IDCANCEL)});
    CHECK(run.completed);
    CHECK(!plainEnabled);
    CHECK(!disabledEnabled);
    CHECK(!topmostEnabled);
    CHECK(hiddenEnabled);
    CHECK(!stillTopmost);
    if (hostInFront) CHECK_EQ(owner, s.host);
    CHECK(IsWindowEnabled(plain));
    CHECK(!IsWindowEnabled(disabled));
    CHECK(IsWindowEnabled(topmost));
    CHECK(Topmost(topmost));
    CHECK(!Topmost(plain));
    CHECK(IsWindowEnabled(hidden));
    CHECK(IsWindowEnabled(s.host));
    for (HWND window : {plain, disabled, topmost, hidden})
        DestroyWindow(window);
}

TEST_CASE("theme_chooser_preselects_from_slot_zero_and_ok_writes_the_number_back") {
    Session s;
    REQUIRE(s.ready);
    struct {
        const char* text;
        int item;
    } cases[] = {{"7", 6}, {"$14", 19}, {" 1", 0}};
    for (auto c : cases) {
        for (int action : {3, 6}) {
            Params params = action == 3 ? Params({c.text, "555"}) : Params({c.text});
            std::vector<uintptr_t> before = params.slots;
            HWND dialog = nullptr;
            int selected = -2;
            ScriptRun run = s.Edit(action, params.data(),
                                   {WaitForEditor(L"Choose Theme", dialog),
                                    [&] {
                                        selected = static_cast<int>(SendMessageW(
                                            Children(dialog)[kThemeList], LB_GETCURSEL, 0, 0));
                                        return true;
                                    },
                                    ClickChild(dialog, kThemeOk)});
            CHECK(run.completed);
            CHECK_EQ(run.result, 1);
            CHECK_EQ(selected, c.item);
            CHECK_EQ(Written(params, before, 0), std::to_string(c.item + 1));
            if (action == 3) CHECK_EQ(params.slots[1], before[1]);
            CHECK(!IsWindow(dialog));
        }
    }
}

TEST_CASE("theme_chooser_without_a_preselection_treats_ok_as_cancel") {
    Session s;
    REQUIRE(s.ready);
    for (const char* text : std::vector<const char*>{"0", "21", "abc", "", "-3", nullptr}) {
        Params params({text, "1"});
        std::vector<uintptr_t> before = params.slots;
        HWND dialog = nullptr;
        int selected = -2;
        ScriptRun run = s.Edit(3, params.data(),
                               {WaitForEditor(L"Choose Theme", dialog),
                                [&] {
                                    selected = static_cast<int>(SendMessageW(
                                        Children(dialog)[kThemeList], LB_GETCURSEL, 0, 0));
                                    return true;
                                },
                                ClickChild(dialog, kThemeOk)});
        CHECK(run.completed);
        CHECK_EQ(run.result, 0);
        CHECK_EQ(selected, -1);
        CHECK(params.slots == before);
    }
}

TEST_CASE("theme_chooser_writes_the_picked_item_and_only_on_ok") {
    Session s;
    REQUIRE(s.ready);
    for (int item : {0, 19, 4}) {
        Params params({"3"});
        std::vector<uintptr_t> before = params.slots;
        HWND dialog = nullptr;
        ScriptRun run =
            s.Edit(6, params.data(),
                   {WaitForEditor(L"Choose Theme", dialog),
                    [&] {
                        SendMessageW(Children(dialog)[kThemeList], LB_SETCURSEL, item, 0);
                        return true;
                    },
                    ClickChild(dialog, kThemeOk)});
        CHECK_EQ(run.result, 1);
        CHECK_EQ(Written(params, before, 0), std::to_string(item + 1));
    }
    // Cancel, the close box, Alt+F4 and a plain close all cancel after a pick.
    for (int how = 0; how < 4; ++how) {
        Params params({"3"});
        std::vector<uintptr_t> before = params.slots;
        HWND dialog = nullptr;
        Step close = how == 0   ? ClickChild(dialog, kThemeCancel)
                     : how == 1 ? PostTo(dialog, WM_SYSCOMMAND, SC_CLOSE)
                     : how == 2 ? PostTo(dialog, WM_SYSKEYDOWN, VK_F4, 0x20000001)
                                : PostTo(dialog, WM_CLOSE);
        ScriptRun run = s.Edit(3, params.data(),
                               {WaitForEditor(L"Choose Theme", dialog),
                                [&] {
                                    SendMessageW(Children(dialog)[kThemeList], LB_SETCURSEL, 10, 0);
                                    return true;
                                },
                                close});
        CHECK(run.completed);
        CHECK_EQ(run.result, 0);
        CHECK(params.slots == before);
        CHECK(!IsWindow(dialog));
    }
    // A null array: OK with a pick confirms and writes nothing.
    HWND dialog = nullptr;
    ScriptRun run = s.Edit(3, nullptr,
                           {WaitForEditor(L"Choose Theme", dialog),
                            [&] {
                                SendMessageW(Children(dialog)[kThemeList], LB_SETCURSEL, 2, 0);
                                return true;
                            },
                            ClickChild(dialog, kThemeOk)});
    CHECK_EQ(run.result, 1);
}

static std::vector<std::string> ListItems(HWND list) {
    std::vector<std::string> items;
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(Narrow(text));
    }
    return items;
}

TEST_CASE("theme_chooser_lists_the_twenty_names_under_its_texts") {
    Session s;
    REQUIRE(s.ready);
    for (int action : {3, 6}) {
        HWND dialog = nullptr;
        std::vector<std::string> items;
        std::vector<std::wstring> texts;
        ScriptRun run = s.Edit(action, nullptr,
                               {WaitForEditor(L"Choose Theme", dialog),
                                [&] {
                                    for (HWND child : Children(dialog))
                                        texts.push_back(WindowText(child));
                                    items = ListItems(Children(dialog)[kThemeList]);
                                    return true;
                                },
                                ClickChild(dialog, kThemeCancel)});
        CHECK(run.completed);
        REQUIRE(texts.size() == 4u);
        CHECK_EQ(texts[0], std::wstring(L"Select a predefined theme:"));
        CHECK_EQ(texts[2], std::wstring(L"OK"));
        CHECK_EQ(texts[3], std::wstring(L"Cancel"));
        REQUIRE(items.size() == 20u);
        for (int i = 0; i < 20; ++i)
            CHECK_EQ(items[i], std::string(kThemeNames[i]));
    }
}

TEST_CASE("theme_chooser_before_the_theme_table_lists_empty_names") {
    PluginApi api;
    REQUIRE(LoadPlugin(api));
    Params params({"2"});
    std::vector<uintptr_t> before = params.slots;
    HWND dialog = nullptr;
    std::vector<std::string> items;
    ScriptRun run = RunScripted([&] { return api.editAction(3, params.data()); },
                                {WaitForEditor(L"Choose Theme", dialog),
                                 [&] {
                                     items = ListItems(Children(dialog)[kThemeList]);
                                     SendMessageW(Children(dialog)[kThemeList], LB_SETCURSEL, 4, 0);
                                     return true;
                                 },
                                 ClickChild(dialog, kThemeOk)});
    CHECK_EQ(run.result, 1);
    CHECK(items == std::vector<std::string>(20, ""));
    CHECK_EQ(Written(params, before, 0), std::string("5"));
    UnloadPlugin(api);
}

static std::vector<bool> BoxStates(HWND dialog) {
    std::vector<bool> states;
    for (int i : {kCloseBox, kMinBox, kMaxBox})
        states.push_back(SendMessageW(Children(dialog)[i], BM_GETCHECK, 0, 0) == BST_CHECKED);
    return states;
}

TEST_CASE("caption_buttons_start_from_the_slots_and_ok_writes_ones_and_zeros") {
    Session s;
    REQUIRE(s.ready);
    struct {
        std::initializer_list<const char*> slots;
        std::vector<bool> states;
    } cases[] = {{{"0", "1", "0", "777"}, {false, true, false}},
                 {{"", "abc", "2", "777"}, {false, false, true}},
                 {{"-1", nullptr, "0", "777"}, {true, true, false}},
                 {{"$0", "%1", " 5", nullptr}, {false, true, true}}};
    for (auto& c : cases) {
        Params params(c.slots);
        std::vector<uintptr_t> before = params.slots;
        HWND dialog = nullptr;
        std::vector<bool> states;
        ScriptRun run = s.Edit(10, params.data(),
                               {WaitForEditor(L"Title Bar Buttons", dialog),
                                [&] {
                                    states = BoxStates(dialog);
                                    return true;
                                },
                                ClickChild(dialog, kButtonsOk)});
        CHECK(run.completed);
        CHECK_EQ(run.result, 1);
        CHECK(states == c.states);
        for (int i = 0; i < 3; ++i)
            CHECK_EQ(Written(params, before, i), std::string(c.states[i] ? "1" : "0"));
        CHECK_EQ(params.slots[3], before[3]);
    }
    HWND dialog = nullptr;
    std::vector<bool> states;
    ScriptRun run = s.Edit(10, nullptr,
                           {WaitForEditor(L"Title Bar Buttons", dialog),
                            [&] {
                                states = BoxStates(dialog);
                                return true;
                            },
                            ClickChild(dialog, kButtonsOk)});
    CHECK_EQ(run.result, 1);
    CHECK(states == std::vector<bool>(3, true));
}

TEST_CASE("caption_buttons_toggle_independently_and_cancel_keeps_the_slots") {
    Session s;
    REQUIRE(s.ready);
    Params params({"1", "1", "1", nullptr});
    std::vector<uintptr_t> before = params.slots;
    HWND dialog = nullptr;
    std::vector<std::vector<bool>> seen;
    bool allEnabled = true;
    auto note = [&] {
        seen.push_back(BoxStates(dialog));
        for (int i : {kCloseBox, kMinBox, kMaxBox})
            allEnabled = allEnabled && IsWindowEnabled(Children(dialog)[i]);
        return true;
    };
    ScriptRun run =
        s.Edit(10, params.data(),
               {WaitForEditor(L"Title Bar Buttons", dialog), ClickChild(dialog, kMinBox), Pause(30),
                note, ClickChild(dialog, kCloseBox), Pause(30), note, ClickChild(dialog, kMaxBox),
                Pause(30), note, ClickChild(dialog, kButtonsOk)});
    CHECK(run.completed);
    CHECK_EQ(run.result, 1);
    REQUIRE(seen.size() == 3u);
    CHECK(seen[0] == std::vector<bool>({true, false, true}));
    CHECK(seen[1] == std::vector<bool>({false, false, true}));
    CHECK(seen[2] == std::vector<bool>({false, false, false}));
    CHECK(allEnabled);
    for (int i = 0; i < 3; ++i)
        CHECK_EQ(Written(params, before, i), std::string("0"));

    for (int how = 0; how < 2; ++how) {
        Params kept({"0", "1", "0", "5"});
        std::vector<uintptr_t> keptBefore = kept.slots;
        ScriptRun cancelled = s.Edit(
            10, kept.data(),
            {WaitForEditor(L"Title Bar Buttons", dialog), ClickChild(dialog, kCloseBox),
             ClickChild(dialog, kMaxBox),
             how ? PostTo(dialog, WM_SYSCOMMAND, SC_CLOSE) : ClickChild(dialog, kButtonsCancel)});
        CHECK(cancelled.completed);
        CHECK_EQ(cancelled.result, 0);
        CHECK(kept.slots == keptBefore);
    }
}

// The check-box frame of the caption-buttons dialog, over slot 0 alone; slot 1 is left.
TEST_CASE("dark_mode_box_starts_from_slot_zero_and_ok_writes_one_or_zero") {
    Session s;
    REQUIRE(s.ready);
    for (auto c : {std::pair<const char*, const char*>{"1", "1"},
                   {"0", "0"},
                   {nullptr, "1"},
                   {"abc", "0"},
                   {"-2", "1"}}) {
        Params params({c.first, "4242"});
        std::vector<uintptr_t> before = params.slots;
        HWND dialog = nullptr;
        ScriptRun run = s.Edit(12, params.data(),
                               {WaitForEditor(L"Title Bar Mode", dialog), ClickChild(dialog, 1)});
        CHECK_EQ(run.result, 1);
        CHECK_EQ(Written(params, before, 0), std::string(c.second));
        CHECK_EQ(params.slots[1], before[1]);
    }
}

static Step ExpectFocus(const HWND& dialog, int index, int* mismatches) {
    return [&dialog, index, mismatches] {
        HWND expected = index < 0 ? nullptr : Children(dialog)[index];
        HWND focus = GetFocus();
        bool onControl = focus && GetParent(focus) == dialog;
        if ((index < 0 && onControl) || (index >= 0 && focus != expected)) {
            printf("  focus not on control %d\n", index);
            ++*mismatches;
        }
        return true;
    };
}

TEST_CASE("tab_and_shift_tab_walk_the_controls_in_creation_order_and_wrap") {
    Session s;
    REQUIRE(s.ready);
    int mismatches = 0;
    HWND dialog = nullptr;
    ScriptRun run = s.Edit(10, nullptr,
                           {WaitForEditor(L"Title Bar Buttons", dialog),
                            Pause(50),
                            ExpectFocus(dialog, -1, &mismatches),
                            PressKey(dialog, VK_TAB),
                            ExpectFocus(dialog, kCloseBox, &mismatches),
                            PressKey(dialog, VK_TAB),
                            ExpectFocus(dialog, kMinBox, &mismatches),
                            PressKey(dialog, VK_TAB),
                            ExpectFocus(dialog, kMaxBox, &mismatches),
                            PressKey(dialog, VK_TAB),
                            ExpectFocus(dialog, kButtonsOk, &mismatches),
                            PressKey(dialog, VK_TAB),
                            ExpectFocus(dialog, kButtonsCancel, &mismatches),
                            PressKey(dialog, VK_TAB),
                            ExpectFocus(dialog, kCloseBox, &mismatches),
                            PressKey(dialog, VK_TAB, true),
                            ExpectFocus(dialog, kButtonsCancel, &mismatches),
                            PressKey(dialog, VK_TAB, true),
                            ExpectFocus(dialog, kButtonsOk, &mismatches),
                            ClickChild(dialog, kButtonsCancel)});
    CHECK(run.completed);
    CHECK_EQ(mismatches, 0);

    // Arrow keys in the list pick a theme and keep the focus there: the list's selection change
    // carries the notification code a Tab accelerator does.
    Params params({"5"});
    std::vector<uintptr_t> before = params.slots;
    HWND chooser = nullptr;
    run = s.Edit(6, params.data(),
                 {WaitForEditor(L"Choose Theme", chooser), Pause(50),
                  PressKey(chooser, VK_TAB, true), ExpectFocus(chooser, kThemeCancel, &mismatches),
                  PressKey(chooser, VK_TAB), ExpectFocus(chooser, kThemeList, &mismatches),
                  PressKey(chooser, VK_DOWN), PressKey(chooser, VK_DOWN),
                  ExpectFocus(chooser, kThemeList, &mismatches), PressKey(chooser, VK_TAB),
                  ExpectFocus(chooser, kThemeOk, &mismatches), ClickChild(chooser, kThemeOk)});
    CHECK(run.completed);
    CHECK_EQ(mismatches, 0);
    CHECK_EQ(Written(params, before, 0), std::string("7"));
}

TEST_CASE("enter_and_escape_do_nothing_and_space_presses_the_focused_control") {
    Session s;
    REQUIRE(s.ready);
    Params params({"1", "1", "1", nullptr});
    std::vector<uintptr_t> before = params.slots;
    HWND dialog = nullptr;
    bool openAfterKeys = false;
    ScriptRun run =
        s.Edit(10, params.data(),
               {WaitForEditor(L"Title Bar Buttons", dialog), Pause(50), PressKey(dialog, VK_RETURN),
                PressKey(dialog, VK_ESCAPE), PressKey(dialog, VK_TAB), PressKey(dialog, VK_RETURN),
                PressKey(dialog, VK_ESCAPE), PressKey(dialog, VK_SPACE), Pause(100),
                [&] {
                    openAfterKeys = IsWindowVisible(dialog) != FALSE;
                    return true;
                },
                PressKey(dialog, VK_TAB), PressKey(dialog, VK_TAB), PressKey(dialog, VK_TAB),
                PressKey(dialog, VK_RETURN), PressKey(dialog, VK_ESCAPE), Pause(100),
                PressKey(dialog, VK_SPACE)});
    CHECK(run.completed);
    CHECK(openAfterKeys);
    CHECK_EQ(run.result, 1);
    CHECK_EQ(Written(params, before, 0), std::string("0"));
    CHECK_EQ(Written(params, before, 1), std::string("1"));
    CHECK_EQ(Written(params, before, 2), std::string("1"));
}

TEST_CASE("focus_returns_to_the_same_control_after_deactivation") {
    Session s;
    REQUIRE(s.ready);
    HWND other = MakeWindow(L"other");
    HWND dialog = nullptr;
    int mismatches = 0;
    bool wasInactive = false;
    ScriptRun run = s.Edit(
        3, nullptr,
        {WaitForEditor(L"Choose Theme", dialog), Pause(50), PressKey(dialog, VK_TAB),
         PressKey(dialog, VK_TAB), ExpectFocus(dialog, kThemeOk, &mismatches),
         [&] {
             SetForegroundWindow(other);
             return true;
         },
         Pause(50),
         [&] {
             wasInactive = GetActiveWindow() != dialog;
             SetFocus(other);
             SetForegroundWindow(dialog);
             return true;
         },
         Pause(50), ExpectFocus(dialog, kThemeOk, &mismatches), ClickChild(dialog, kThemeCancel)});
    CHECK(run.completed);
    CHECK(wasInactive);
    CHECK_EQ(mismatches, 0);
    DestroyWindow(other);
}

TEST_CASE("a_second_edit_while_one_is_open_returns_zero_and_raises_the_open_one") {
    Session s;
    REQUIRE(s.ready);
    HWND other = MakeWindow(L"other");
    Params inner({"1", "1", "1", nullptr});
    std::vector<uintptr_t> innerBefore = inner.slots;
    HWND dialog = nullptr;
    int second = -1, third = -1, noEditor = -1, windowsBefore = 0, windowsAfter = 0;
    HWND inFront = nullptr;
    ScriptRun run = s.Edit(3, nullptr,
                           {WaitForEditor(L"Choose Theme", dialog),
                            [&] {
                                SetForegroundWindow(other);
                                return true;
                            },
                            Pause(50),
                            [&] {
                                windowsBefore = CountThreadWindows();
                                second = s.api.editAction(10, inner.data());
                                third = s.api.editAction(1, inner.data());
                                noEditor = s.api.editAction(7, nullptr);
                                windowsAfter = CountThreadWindows();
                                return true;
                            },
                            Pause(50),
                            [&] {
                                inFront = GetForegroundWindow();
                                return true;
                            },
                            ClickChild(dialog, kThemeCancel)});
    CHECK(run.completed);
    CHECK_EQ(second, 0);
    CHECK_EQ(third, 0);
    CHECK_EQ(noEditor, 1);
    CHECK_EQ(windowsAfter, windowsBefore);
    CHECK_EQ(inFront, dialog);
    CHECK(inner.slots == innerBefore);

    // The colour dialog is guarded and raised the same way, and editing works again once it is
    // closed.
    HWND colour = nullptr;
    int during = -1;
    run = s.Edit(1, nullptr,
                 {WaitForColorDialog(colour),
                  [&] {
                      SetForegroundWindow(other);
                      return true;
                  },
                  Pause(50),
                  [&] {
                      during = s.api.editAction(3, inner.data());
                      return true;
                  },
                  Pause(50),
                  [&] {
                      inFront = GetForegroundWindow();
                      return FindEditor(L"Choose Theme") == nullptr;
                  },
                  PostTo(colour, WM_COMMAND, IDCANCEL)});
    CHECK(run.completed);
    CHECK_EQ(during, 0);
    CHECK_EQ(inFront, colour);
    run = s.Edit(10, nullptr,
                 {WaitForEditor(L"Title Bar Buttons", dialog), ClickChild(dialog, kButtonsOk)});
    CHECK_EQ(run.result, 1);
    DestroyWindow(other);
}

TEST_CASE("two_copies_of_the_plug_in_in_one_host_each_open_their_editor") {
    Session s;
    REQUIRE(s.ready);
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(s.api.module, path, MAX_PATH);
    std::wstring copy = std::wstring(path) + L".copy.dll";
    REQUIRE(CopyFileW(path, copy.c_str(), FALSE));
    PluginApi second;
    REQUIRE(LoadPlugin(second, copy.c_str()));
    for (PluginApi* api : {&s.api, &second}) {
        HWND dialog = nullptr;
        ScriptRun run = RunScripted(
            [&] { return api->editAction(10, nullptr); },
            {WaitForEditor(L"Title Bar Buttons", dialog), ClickChild(dialog, kButtonsOk)});
        CHECK(run.completed);
        CHECK_EQ(run.result, 1);
    }
    UnloadPlugin(second);
    DeleteFileW(copy.c_str());
}

TEST_CASE("a_quit_message_cancels_the_editor_and_is_posted_again") {
    Session s;
    REQUIRE(s.ready);
    for (int action : {3, 10}) {
        Params params({"7", "1", "1", nullptr});
        std::vector<uintptr_t> before = params.slots;
        HWND dialog = nullptr;
        ScriptRun run = s.Edit(
            action, params.data(),
            {WaitForEditor(action == 3 ? L"Choose Theme" : L"Title Bar Buttons", dialog), [] {
                 PostQuitMessage(42 + 0);
                 return true;
             }});
        CHECK(run.completed);
        CHECK_EQ(run.result, 0);
        CHECK(params.slots == before);
        CHECK(!IsWindow(dialog));
        MSG msg = {};
        CHECK(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        CHECK_EQ(msg.message, static_cast<UINT>(WM_QUIT));
        CHECK_EQ(msg.wParam, static_cast<WPARAM>(42));
    }
}

// Sent from another thread, as automation, a host shutting down or End task do. The editor's wait
// must end with no other input; a close posted two seconds later would end it, and says so.
static DWORD WINAPI SendFromOutside(void* target) {
    HWND window = static_cast<HWND>(target), dialog = GetAncestor(window, GA_ROOT);
    Sleep(300); // until the wait has nothing left to take
    SendMessageW(window, window == dialog ? WM_CLOSE : BM_CLICK, 0, 0);
    Sleep(2000);
    return PostMessageW(dialog, WM_CLOSE, 0, 0);
}

TEST_CASE("an_editor_closed_from_outside_ends_at_once") {
    Session s;
    REQUIRE(s.ready);
    for (int action : {10, 6}) {
        Params params({"4"});
        HWND dialog = nullptr;
        HANDLE sender = nullptr;
        ScriptRun run =
            s.Edit(action, params.data(),
                   {WaitForEditor(action == 6 ? L"Choose Theme" : L"Title Bar Buttons", dialog),
                    [&] { // a close request to one, OK to the other
                        HWND to = action == 6 ? Children(dialog).at(kThemeOk) : dialog;
                        sender = CreateThread(nullptr, 0, SendFromOutside, to, 0, nullptr);
                        return true;
                    }});
        DWORD late = 1;
        CHECK((!WaitForSingleObject(sender, 5000) && GetExitCodeThread(sender, &late) && !late));
        CloseHandle(sender);
        CHECK_EQ(run.result, action == 6 ? 1 : 0);
    }
    // Destroyed by someone else: a cancel.
    Params params({"4"});
    std::vector<uintptr_t> before = params.slots;
    HWND dialog = nullptr;
    ScriptRun run = s.Edit(6, params.data(), {WaitForEditor(L"Choose Theme", dialog), [&] {
                                                  DestroyWindow(dialog);
                                                  return true;
                                              }});
    CHECK(run.completed);
    CHECK_EQ(run.result, 0);
    CHECK(params.slots == before);
}

// A window of this process that another thread shows, out of reach of the show hook.
static DWORD WINAPI ShowForeignWindow(LPVOID context) {
    auto* shared = static_cast<std::pair<HWND, volatile LONG>*>(context);
    HWND window = MakeWindow(L"other thread", WS_OVERLAPPEDWINDOW);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    shared->first = window;
    while (!shared->second)
        Pump(10);
    DestroyWindow(window);
    return 0;
}

TEST_CASE("the_auto_style_timer_keeps_ticking_while_an_editor_is_open") {
    Session s;
    REQUIRE(s.ready);
    REQUIRE(Exec(s.api, 1, {"10", "20", "30", nullptr}) == 1);
    REQUIRE(Exec(s.api, 7, {}) == 1);
    DwmReset();
    std::pair<HWND, volatile LONG> shared{nullptr, 0};
    HANDLE thread = nullptr;
    HWND dialog = nullptr;
    bool coloured = false;
    ScriptRun run =
        s.Edit(3, nullptr,
               {WaitForEditor(L"Choose Theme", dialog),
                [&] {
                    thread = CreateThread(nullptr, 0, ShowForeignWindow, &shared, 0, nullptr);
                    return true;
                },
                [&] {
                    for (const DwmCall& call : DwmCalls())
                        if (shared.first && call.window == shared.first && call.attribute == 35)
                            coloured = true;
                    return coloured;
                },
                ClickChild(dialog, kThemeCancel)});
    shared.second = 1;
    if (thread) WaitForSingleObject(thread, 5000), CloseHandle(thread);
    CHECK(run.completed);
    CHECK(coloured);
    Exec(s.api, 8, {});
}
