#pragma once
// doctest for the test programs, with the Windows texts the tests compare printed as text.
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <string>

#include <doctest.h>

std::string Narrow(const std::wstring& text); // UTF-8

namespace doctest {
template <> struct StringMaker<std::string> {
    static String convert(const std::string& v) { return ("\"" + v + "\"").c_str(); }
};
template <> struct StringMaker<std::wstring> {
    static String convert(const std::wstring& v) { return ("L\"" + Narrow(v) + "\"").c_str(); }
};
template <> struct StringMaker<const wchar_t*> {
    static String convert(const wchar_t* v) {
        return v ? StringMaker<std::wstring>::convert(v) : String("null");
    }
};
template <> struct StringMaker<wchar_t*> : StringMaker<const wchar_t*> {};
} // namespace doctest
