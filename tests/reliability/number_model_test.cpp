// Number reading against a small model written independently of it, on random texts.
#include <random>

#include "doctest_rig.h"
#include "plugin/host_bridge.h"

// The model: digits by lookup in a per-base digit string, accumulated with modular arithmetic.
static uint64_t ModelRead(const std::wstring& text) {
    size_t at = text.find_first_not_of(L" \t");
    if (at == std::wstring::npos) return 0;
    bool minus = text[at] == L'-';
    if (text[at] == L'-' || text[at] == L'+') ++at;
    std::wstring digits = L"0123456789";
    if (at < text.size() && text[at] == L'$')
        digits = L"0123456789abcdef", ++at;
    else if (at < text.size() && text[at] == L'%')
        digits = L"01", ++at;
    uint64_t value = 0;
    for (; at < text.size(); ++at) {
        size_t digit = digits.find(static_cast<wchar_t>(towlower(text[at])));
        if (digit == std::wstring::npos) break;
        value = value * digits.size() + digit;
    }
    return minus ? ~value + 1 : value;
}

TEST_CASE("number_reading_matches_the_model_on_random_texts") {
    std::mt19937 random(20261208);
    const wchar_t alphabet[] = L" \t+-$%0123456789abcdefABCDEFgxZ";
    int mismatches = 0;
    for (int round = 0; round < 200000 && mismatches < 5; ++round) {
        std::wstring text;
        int length = random() % (round % 10 == 0 ? 40 : 12);
        for (int i = 0; i < length; ++i)
            text += alphabet[random() % (sizeof alphabet / 2 - 1)];
        uint64_t expected = ModelRead(text),
                 actual = static_cast<uint64_t>(ParseNumber(text.c_str()));
        if (actual != expected) {
            ++mismatches;
            CHECK_EQ(Narrow(text) + " -> " + std::to_string(actual),
                     Narrow(text) + " -> " + std::to_string(expected));
        }
    }
    CHECK_EQ(mismatches, 0);
}
