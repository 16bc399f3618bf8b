#pragma once
// A 24-bit drawing surface for the picture tools, and its BMP file.
#include <windows.h>

struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    void* bits = nullptr;
    int width = 0, height = 0;

    Canvas() = default;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas();

    // A bottom-up 24-bit DIB section selected into a memory DC; false when GDI refuses.
    bool Create(int width, int height);
    // Writes the pixels as an uncompressed 24-bit BMP file.
    bool Save(const char* path) const;
};
