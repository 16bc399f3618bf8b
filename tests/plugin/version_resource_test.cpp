// The version resource as a file's Properties dialog reads it, for the DLL and the host tool.
#include "doctest_rig.h"
#include "zarnel_version.h"

#include <vector>

static std::string ReadVersionString(const std::vector<BYTE>& info, const wchar_t* block,
                                     const wchar_t* name) {
    wchar_t* value = nullptr;
    UINT length = 0;
    std::wstring path = std::wstring(L"\\StringFileInfo\\") + block + L"\\" + name;
    if (!VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        return "<missing>";
    return Narrow(value);
}

TEST_CASE("version_resource_names_the_version_and_the_file") {
    wchar_t exe[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dir(exe, length);
    dir.resize(dir.find_last_of(L'\\') + 1);
    const DWORD wantMs = MAKELONG(ZARNEL_VERSION_MINOR, ZARNEL_VERSION_MAJOR);
    const DWORD wantLs = MAKELONG(0, ZARNEL_VERSION_PATCH);
    for (const wchar_t* file : {L"ZarnelPlugin_Enhanced.dll", L"plugin_host.exe"}) {
        std::wstring path = dir + file;
        DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
        REQUIRE(size > 0);
        std::vector<BYTE> info(size);
        REQUIRE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT fixedSize = 0;
        REQUIRE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
        CHECK_EQ(fixed->dwFileVersionMS, wantMs);
        CHECK_EQ(fixed->dwFileVersionLS, wantLs);
        CHECK_EQ(fixed->dwProductVersionMS, wantMs);
        CHECK_EQ(fixed->dwProductVersionLS, wantLs);
        // Properties finds the strings through the translation entry, so both must agree.
        WORD* translation = nullptr;
        UINT translationSize = 0;
        REQUIRE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &translationSize));
        REQUIRE(translationSize >= 2 * sizeof(WORD));
        wchar_t block[9];
        swprintf(block, 9, L"%04X%04X", translation[0], translation[1]);
        CHECK_EQ(ReadVersionString(info, block, L"FileVersion"), std::string(ZARNEL_VERSION_TEXT));
        CHECK_EQ(ReadVersionString(info, block, L"ProductVersion"),
                 std::string(ZARNEL_VERSION_TEXT));
        CHECK_EQ(ReadVersionString(info, block, L"OriginalFilename"), Narrow(file));
        CHECK_EQ(ReadVersionString(info, block, L"ProductName"),
                 std::string("Zarnel Plugin Enhanced"));
    }
}
