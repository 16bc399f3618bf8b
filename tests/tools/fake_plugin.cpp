// A plug-in whose every answer is predictable, so the host tool's own handling can be checked.
// Built twice: FAKE_PLUGIN_PARTIAL leaves out two exports.
#include <windows.h>
#include <commdlg.h>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#define FAKE_EXPORT extern "C" __declspec(dllexport)

typedef int(WINAPI* AddActionFn)(int, char*, char*, int, int, int);
typedef int(WINAPI* SetVariableFn)(char*, char*);

static HWND g_host;
static SetVariableFn g_setVariable;

static char* Block(const char* text) {
    size_t n = std::strlen(text) + 1;
    char* block = static_cast<char*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, n));
    if (block) std::memcpy(block, text, n);
    return block;
}

static void Set(const char* name, const char* value) {
    if (g_setVariable) g_setVariable(Block(name), Block(value));
}

static const char* Slot(const uintptr_t* params, int i) {
    return params ? reinterpret_cast<const char*>(params[i]) : nullptr;
}

FAKE_EXPORT int WINAPI _nbInitPlugIn(HWND host, char** name, char** author, char** description) {
    g_host = host;
    if (name) *name = Block("Fake Plugin");
    if (author) *author = Block("By the host tool test");
    if (description) *description = Block("Predictable answers");
    return 0;
}

FAKE_EXPORT int WINAPI _nbRegisterPlugIn(AddActionFn add, void*, void*, SetVariableFn set) {
    g_setVariable = set;
    add(1, Block("fake_Echo"), Block("Writes each parameter slot back"), 0, -1, 3);
    add(2, Block("fake_Ask"), Block("Asks in a message box"), 2, -1, 1);
    add(3, Block("fake_NullWrite"), Block("Writes a variable with null texts"), 0, -1, 0);
    return 0;
}

FAKE_EXPORT int WINAPI _nbGetPluginInfo(char** name, char** description, void*) {
    if (name) *name = Block("FakePlugin");
    if (description) *description = nullptr;
    return 0;
}

FAKE_EXPORT int WINAPI _nbInitialize(HWND host) {
    g_host = host;
    return 0;
}

FAKE_EXPORT int WINAPI _nbExecAction(int action, uintptr_t* params) {
    switch (action) {
    case 1: {
        int texts = 0;
        const char* names[3] = {"[Fake.Slot0]", "[Fake.Slot1]", "[Fake.Slot2]"};
        for (int i = 0; i < 3; ++i) {
            const char* text = Slot(params, i);
            Set(names[i], text ? text : "<null slot>");
            texts += text != nullptr;
        }
        return texts;
    }
    case 2:
        return MessageBoxW(g_host, L"Fake question", L"Fake", MB_OKCANCEL);
    case 3:
        g_setVariable(nullptr, nullptr);
        return 7;
    }
    return -1;
}

#ifndef FAKE_PLUGIN_PARTIAL
FAKE_EXPORT int WINAPI _nbMessage(int code, void*) {
    return code + 100;
}

// Action 1: null slots get "filled", texts come back upper-cased, texts starting "=" stay as they
// are. Action 2: an unowned dialog that writes "confirmed" on OK. Action 3: the system colour
// dialog, opened on the red given in slot 0, which it writes back.
FAKE_EXPORT int WINAPI _nbEditAction(int action, uintptr_t* params) {
    if (action == 1 && params) {
        for (int i = 0; i < 3; ++i) {
            const char* text = Slot(params, i);
            if (text && text[0] == '=') continue;
            char upper[64] = "filled";
            if (text) {
                lstrcpynA(upper, text, sizeof(upper));
                CharUpperA(upper);
            }
            params[i] = reinterpret_cast<uintptr_t>(Block(upper));
        }
        return 1;
    }
    if (action == 2) {
        if (MessageBoxW(nullptr, L"Fake editor", L"Fake", MB_OKCANCEL) != IDOK) return 0;
        if (params) params[0] = reinterpret_cast<uintptr_t>(Block("confirmed"));
        return 1;
    }
    if (action == 3) {
        static COLORREF custom[16];
        const char* red = Slot(params, 0);
        CHOOSECOLORW cc = {};
        cc.lStructSize = sizeof(cc);
        cc.rgbResult = RGB(red ? atoi(red) : 0, 0, 0);
        cc.lpCustColors = custom;
        cc.Flags = CC_RGBINIT;
        if (!ChooseColorW(&cc)) return 0;
        char text[16];
        std::snprintf(text, sizeof(text), "%d", GetRValue(cc.rgbResult));
        if (params) params[0] = reinterpret_cast<uintptr_t>(Block(text));
        return 1;
    }
    return 0;
}
#endif
