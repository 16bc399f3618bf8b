#include "plugin/host_bridge.h"

#include "plugin/plugin_state.h"

// The replacement character: no ANSI code page holds it, so it converts to the default one.
constexpr wchar_t kNoCodePageCharacter = 0xFFFD;

// A copy with each surrogate pair as one character no code page has, or null when none is needed.
static wchar_t* JoinSurrogatePairs(const wchar_t* text) noexcept {
    int length = lstrlenW(text), pairs = 0;
    for (int i = 0; i + 1 < length; ++i)
        if (IS_HIGH_SURROGATE(text[i]) && IS_LOW_SURROGATE(text[i + 1])) ++pairs, ++i;
    if (!pairs) return nullptr;
    auto* joined = static_cast<wchar_t*>(
        HeapAlloc(GetProcessHeap(), 0, (length - pairs + 1) * sizeof(wchar_t)));
    if (!joined) return nullptr;
    int out = 0;
    for (int i = 0; i < length; ++i) {
        bool pair = i + 1 < length && IS_HIGH_SURROGATE(text[i]) && IS_LOW_SURROGATE(text[i + 1]);
        joined[out++] = pair ? kNoCodePageCharacter : text[i];
        i += pair;
    }
    joined[out] = L'\0';
    return joined;
}

char* MakeHostString(const wchar_t* text) noexcept {
    // Best fit would hand a fullwidth quote or bracket to the script as '"' or ']'; UTF-8 takes
    // no flags and has every character.
    bool utf8 = GetACP() == CP_UTF8;
    DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    // Each half of a pair would become a default character of its own.
    wchar_t* joined = utf8 ? nullptr : JoinSurrogatePairs(text);
    const wchar_t* source = joined ? joined : text;
    int bytes = WideCharToMultiByte(CP_ACP, flags, source, -1, nullptr, 0, nullptr, nullptr);
    int length = bytes > 0 ? bytes - 1 : 0;
    // Fixed memory: the handle is the address, and the host owns the block from here on.
    char* block = static_cast<char*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, length + 1));
    if (block && length > 0)
        WideCharToMultiByte(CP_ACP, flags, source, -1, block, length + 1, nullptr, nullptr);
    if (joined) HeapFree(GetProcessHeap(), 0, joined);
    return block;
}

void SetHostVariable(const wchar_t* name, const wchar_t* value) noexcept {
    if (!g_state.setVariableCallback) return;
    char* valueBlock = MakeHostString(value);
    char* nameBlock = MakeHostString(name);
    g_state.setVariableCallback(nameBlock, valueBlock);
}

void SetHostVariableInt(const wchar_t* name, int value) noexcept {
    wchar_t text[16];
    wsprintfW(text, L"%d", value);
    SetHostVariable(name, text);
}

void ReportLastError(const wchar_t* text) noexcept {
    SetHostVariable(L"[Zarnel.LastError]", text);
}

HostText::~HostText() {
    if (text) HeapFree(GetProcessHeap(), 0, text);
}

bool ReadHostString(const char* source, HostText& out) noexcept {
    int bytes = lstrlenA(source);
    int chars = bytes ? MultiByteToWideChar(CP_ACP, 0, source, bytes, nullptr, 0) : 0;
    out.text = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, (chars + 1) * sizeof(wchar_t)));
    if (!out.text) return false;
    if (chars) MultiByteToWideChar(CP_ACP, 0, source, bytes, out.text, chars);
    out.text[chars] = L'\0';
    return true;
}

static int DigitValue(wchar_t c, int base) noexcept {
    int value = base;
    if (c >= L'0' && c <= L'9')
        value = c - L'0';
    else if (c >= L'a' && c <= L'f')
        value = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F')
        value = c - L'A' + 10;
    return value < base ? value : -1;
}

int64_t ParseNumber(const wchar_t* text) noexcept {
    while (*text == L' ' || *text == L'\t')
        ++text;
    bool negative = false;
    if (*text == L'-' || *text == L'+') negative = *text++ == L'-';
    int base = 10;
    if (*text == L'$')
        base = 16, ++text;
    else if (*text == L'%')
        base = 2, ++text;
    // Unsigned arithmetic: values past 64 bits wrap instead of overflowing.
    uint64_t value = 0;
    for (int digit; (digit = DigitValue(*text, base)) >= 0; ++text)
        value = value * base + digit;
    return static_cast<int64_t>(negative ? 0 - value : value);
}

int ReadNumberText(const char* text, int fallback) noexcept {
    if (!text) return fallback;
    HostText wide;
    // A text too large to convert reads like any other text without digits.
    if (!ReadHostString(text, wide)) return 0;
    return static_cast<int32_t>(static_cast<uint32_t>(ParseNumber(wide.text)));
}

// Values keep their defaults for null slots; a slot's text replaces them even when it holds no
// digits.
void ReadSlotNumbers(const uintptr_t* params, int* values, int count) noexcept {
    const char* texts[kMaxParameterSlots] = {};
    // Every address is fetched before any text is read, as the host laid them out.
    for (int i = 0; i < count; ++i)
        texts[i] = reinterpret_cast<const char*>(params[i]);
    for (int i = 0; i < count; ++i)
        values[i] = ReadNumberText(texts[i], values[i]);
}

void WriteSlotNumber(uintptr_t* params, int slot, int value) noexcept {
    wchar_t text[16];
    wsprintfW(text, L"%d", value);
    params[slot] = reinterpret_cast<uintptr_t>(MakeHostString(text));
}
