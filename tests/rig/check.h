#pragma once
// A small test runner: TEST_CASE registers a case, CHECK* record failures and go on.
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <string>

typedef void (*TestFn)();
void RegisterTest(const char* name, TestFn fn);
void ReportFailure(const char* file, int line, const std::string& what);
std::string Narrow(const std::wstring& text);

struct TestRegistrar {
    TestRegistrar(const char* name, TestFn fn) { RegisterTest(name, fn); }
};

#define TEST_CASE(name)                                                                            \
    static void name();                                                                            \
    static TestRegistrar registrar_##name(#name, name);                                            \
    static void name()

inline std::string ToText(const std::string& v) {
    return "\"" + v + "\"";
}
inline std::string ToText(const char* v) {
    return v ? "\"" + std::string(v) + "\"" : "null";
}
inline std::string ToText(const std::wstring& v) {
    return "L\"" + Narrow(v) + "\"";
}
inline std::string ToText(const wchar_t* v) {
    return v ? ToText(std::wstring(v)) : "null";
}
inline std::string ToText(bool v) {
    return v ? "true" : "false";
}
template <typename T> std::string ToText(T* v) {
    char text[32];
    snprintf(text, sizeof text, "%p", static_cast<const void*>(v));
    return text;
}
template <typename T> std::string ToText(const T& v) {
    char text[48];
    snprintf(text, sizeof text, "%lld (0x%llx)", static_cast<long long>(v),
             static_cast<unsigned long long>(v));
    return text;
}

#define CHECK(cond)                                                                                \
    do {                                                                                           \
        if (!(cond)) ReportFailure(__FILE__, __LINE__, "CHECK(" #cond ")");                        \
    } while (0)

#define CHECK_EQ(actual, expected)                                                                 \
    do {                                                                                           \
        auto&& a_ = (actual);                                                                      \
        auto&& e_ = (expected);                                                                    \
        if (!(a_ == e_))                                                                           \
            ReportFailure(__FILE__, __LINE__,                                                      \
                          #actual " == " #expected ": got " + ToText(a_) + ", want " +             \
                              ToText(e_));                                                         \
    } while (0)

// Stops the current case when a precondition for the rest of it fails.
#define REQUIRE(cond)                                                                              \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            ReportFailure(__FILE__, __LINE__, "REQUIRE(" #cond ")");                               \
            return;                                                                                \
        }                                                                                          \
    } while (0)
