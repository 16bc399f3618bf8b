// The dialog frame in-process: layout scaled by the screen DPI, control kinds and the font.
#include "doctest_rig.h"
#include "dialog_driver.h"
#include "host_rig.h"

#include "editors/editors.h"
#include "plugin/exports.h"
#include "plugin/plugin_state.h"
#include "styling/styling.h"

struct Expected {
    const wchar_t* className;
    DWORD style; // the bits that matter; WS_CHILD | WS_VISIBLE always
    int x, y, width, height;
};

static const Expected kThemeChooser[] = {
    {L"Static", WS_GROUP | SS_NOTIFY | SS_NOPREFIX, 20, 20, 360, 20},
    {L"ListBox", WS_GROUP | WS_TABSTOP | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, 20, 50,
     360, 320},
    {L"Button", WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 220, 390, 65, 28},
    {L"Button", WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 295, 390, 65, 28},
};

static const Expected kCaptionButtons[] = {
    {L"Static", WS_GROUP | SS_NOTIFY, 20, 18, 280, 20},
    {L"Button", WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX, 30, 50, 240, 22},
    {L"Button", WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX, 30, 78, 240, 22},
    {L"Button", WS_GROUP | WS_TABSTOP | BS_AUTOCHECKBOX, 30, 106, 240, 22},
    {L"Static", WS_GROUP | SS_NOTIFY, 20, 138, 280, 32},
    {L"Button", WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 145, 188, 70, 28},
    {L"Button", WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 225, 188, 70, 28},
};

struct Measured {
    RECT client = {}, outer = {};
    DWORD style = 0, exStyle = 0;
    std::vector<std::wstring> classes;
    std::vector<DWORD> styles;
    std::vector<RECT> rects;
    std::vector<HFONT> fonts;
};

static Step Measure(const HWND& dialog, Measured& m) {
    return [&dialog, &m] {
        GetClientRect(dialog, &m.client);
        GetWindowRect(dialog, &m.outer);
        m.style = GetWindowLongW(dialog, GWL_STYLE);
        m.exStyle = GetWindowLongW(dialog, GWL_EXSTYLE);
        for (HWND child : Children(dialog)) {
            wchar_t name[32] = {};
            GetClassNameW(child, name, 32);
            m.classes.push_back(name);
            m.styles.push_back(GetWindowLongW(child, GWL_STYLE));
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            m.rects.push_back(r);
            m.fonts.push_back(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
        }
        return true;
    };
}

static int Scale(int v, int dpi) {
    return MulDiv(v, dpi, 96);
}

static void CheckLayout(const Measured& m, const Expected* rows, size_t count, int width96,
                        int height96, int dpi) {
    CHECK_EQ(m.client.right, Scale(width96, dpi));
    CHECK_EQ(m.client.bottom, Scale(height96, dpi));
    DWORD frameBits = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX |
                      WS_POPUP | WS_CHILD;
    CHECK_EQ(m.style & frameBits, static_cast<DWORD>(WS_CAPTION | WS_SYSMENU));
    CHECK_EQ(m.exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), 0u);
    // Centred on the primary screen, never at a negative position.
    int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int width = m.outer.right - m.outer.left, height = m.outer.bottom - m.outer.top;
    CHECK_EQ(m.outer.left, (screenWidth - std::min(screenWidth, width)) / 2);
    CHECK_EQ(m.outer.top, (screenHeight - std::min(screenHeight, height)) / 2);
    REQUIRE(m.classes.size() == count);
    for (size_t i = 0; i < count; ++i) {
        const Expected& e = rows[i];
        CHECK_EQ(m.classes[i], std::wstring(e.className));
        CHECK_EQ(m.styles[i] & (e.style | WS_CHILD | WS_VISIBLE), e.style | WS_CHILD | WS_VISIBLE);
        if (e.style & BS_PUSHBUTTON || e.style & BS_AUTOCHECKBOX)
            CHECK_EQ(m.styles[i] & BS_TYPEMASK, e.style & BS_TYPEMASK);
        if (!(e.style & WS_TABSTOP)) CHECK_EQ(m.styles[i] & WS_TABSTOP, 0u);
        CHECK_EQ(m.rects[i].left, Scale(e.x, dpi));
        CHECK_EQ(m.rects[i].top, Scale(e.y, dpi));
        CHECK_EQ(m.rects[i].right - m.rects[i].left, Scale(e.width, dpi));
        CHECK_EQ(m.rects[i].bottom - m.rects[i].top, Scale(e.height, dpi));
        CHECK_EQ(m.fonts[i], g_state.dialogFont);
    }
}

TEST_CASE("dialogs_scale_their_layout_with_the_screen_dpi") {
    AttachModule();
    InitThemeTable();
    REQUIRE(g_state.dialogFont != nullptr);
    for (int dpi : {96, 144, 120}) {
        g_state.dpiX = g_state.dpiY = dpi;
        HWND dialog = nullptr;
        Measured theme;
        ScriptRun run = RunScripted([] { return ThemeChooserDialog(nullptr); },
                                    {WaitForEditor(L"Choose Theme", dialog), Measure(dialog, theme),
                                     PostTo(dialog, WM_CLOSE)});
        CHECK(run.completed);
        CheckLayout(theme, kThemeChooser, 4, 400, 450, dpi);
        Measured buttons;
        run = RunScripted([] { return CaptionButtonsDialog(nullptr); },
                          {WaitForEditor(L"Title Bar Buttons", dialog), Measure(dialog, buttons),
                           PostTo(dialog, WM_CLOSE)});
        CHECK(run.completed);
        CheckLayout(buttons, kCaptionButtons, 7, 320, 230, dpi);
    }
    DetachModule();
}

TEST_CASE("a_dialog_larger_than_the_screen_opens_at_its_top_left_corner") {
    AttachModule();
    g_state.dpiX = g_state.dpiY = 96 * 6;
    HWND dialog = nullptr;
    RECT outer = {-1, -1, -1, -1};
    ScriptRun run = RunScripted([] { return ThemeChooserDialog(nullptr); },
                                {WaitForEditor(L"Choose Theme", dialog),
                                 [&] {
                                     GetWindowRect(dialog, &outer);
                                     return true;
                                 },
                                 PostTo(dialog, WM_CLOSE)});
    CHECK(run.completed);
    CHECK_EQ(outer.left, 0);
    CHECK_EQ(outer.top, 0);
    DetachModule();
}

TEST_CASE("resources_live_from_init_to_release") {
    // The screen DC read for the DPI goes back to the system's cache, so the next one is the same.
    HDC screen = GetDC(nullptr);
    ReleaseDC(nullptr, screen);
    AttachModule();
    HFONT font = g_state.dialogFont;
    HACCEL keys = g_state.dialogAccelerators;
    CHECK(font != nullptr);
    CHECK(keys != nullptr);
    CHECK((g_state.dpiX > 0 && g_state.dpiY > 0));
    LOGFONTW logical = {};
    CHECK(GetObjectW(font, sizeof logical, &logical) == sizeof logical);
    for (COLORREF color : g_state.customColors)
        CHECK_EQ(color, 0u);
    DetachModule();
    CHECK_EQ(g_state.dialogFont, static_cast<HFONT>(nullptr));
    CHECK_EQ(GetObjectW(font, sizeof logical, &logical), 0);
    CHECK_EQ(CopyAcceleratorTableW(keys, nullptr, 0), 0);
    HDC again = GetDC(nullptr);
    ReleaseDC(nullptr, again);
    CHECK(again == screen);
}
