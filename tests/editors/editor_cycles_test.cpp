// Opening and closing each editor many times leaves no windows, handles or memory behind.
#include "doctest_rig.h"
#include "dialog_driver.h"
#include "editor_cycles.h"
#include "host_rig.h"

TEST_CASE("two_hundred_cycles_of_each_editor_leave_nothing_behind") {
    PluginApi api;
    HWND host = MakeWindow(L"host");
    REQUIRE(StartPlugin(api, host));
    for (const EditorKind& kind : kEditorKinds) {
        REQUIRE(CycleEditor(api, kind, 10)); // first-use allocations settle here
        ResourceCounts before = CountResources();
        REQUIRE(CycleEditor(api, kind, 200));
        ResourceCounts after = CountResources();
        printf("  %s: %s -> %s\n", kind.name, Describe(before).c_str(), Describe(after).c_str());
        CHECK_EQ(after.windows, before.windows);
        CHECK(after.gdiObjects <= before.gdiObjects);
        CHECK(after.userObjects <= before.userObjects);
        CHECK(after.handles <= before.handles + 4);
        // Allocator noise stays well under what one leaked dialog per cycle would cost.
        CHECK(after.privateBytes <= before.privateBytes + 1024 * 1024);
        CHECK(after.heldBytes <= before.heldBytes + 512);
    }
    UnloadPlugin(api);
    DestroyWindow(host);
}
