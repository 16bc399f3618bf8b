// Prints GDI/USER objects, handles, windows and private memory across editor open/close cycles.
#include <cstdio>
#include <cstdlib>

#include "editor_cycles.h"

int main(int argc, char** argv) {
    int cycles = argc > 1 ? atoi(argv[1]) : 200;
    PluginApi api;
    HWND host = MakeWindow(L"host");
    if (!StartPlugin(api, host)) {
        printf("cannot load the plug-in\n");
        return 1;
    }
    for (const EditorKind& kind : kEditorKinds) {
        printf("%s\n", kind.name);
        printf("  %5d cycles: %s\n", 0, Describe(CountResources()).c_str());
        for (int done = 0; done < cycles;) {
            int step = cycles - done < 50 ? cycles - done : 50;
            if (!CycleEditor(api, kind, step)) {
                printf("  cycle failed\n");
                return 1;
            }
            done += step;
            printf("  %5d cycles: %s\n", done, Describe(CountResources()).c_str());
        }
    }
    UnloadPlugin(api);
    DestroyWindow(host);
    return 0;
}
