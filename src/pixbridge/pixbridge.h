#pragma once
// Pixbridge: the PNG library. It turns a PNG file into a bitmap and reports its width and
// height. Hosts load it at run time (dlopen of libpixbridge.so) and look up Png2BitmapExt.
//
// The bitmap is toolkit-free: width x height 32-bit pixels 0x00RRGGBB, top row first. The
// caller owns it and deletes it with PixbridgeDeleteBitmap. Every failure ("Error!") is reported
// once per call through the host's hook and answers null with width and height 0.
#include <cstdint>

extern "C" {

struct PixbridgeBitmap {
    std::int32_t width;
    std::int32_t height;
    std::uint32_t* pixels;  // width * height values, row after row from the top
};

// The largest picture decoded: each side at most this many pixels, and at most this many pixels
// in all (a 256 MiB pixel array). Larger pictures are refused before any pixel is allocated.
constexpr std::uint32_t kPixbridgeMaxSide = 16384;
constexpr std::uint64_t kPixbridgeMaxPixels = std::uint64_t{1} << 26;

// Message hook: the host shows text with a title (the editor: a message box; the CLI: stderr).
typedef void (*PixbridgeErrorHook)(const char* text, const char* title);

// window: an opaque handle of the host's window (unused by the decoder); width/height may be
// null.
PixbridgeBitmap* Png2BitmapExt(void* window, const char* path, std::int32_t* width,
                               std::int32_t* height);
void PixbridgeDeleteBitmap(PixbridgeBitmap* bitmap);
void PixbridgeSetErrorHook(PixbridgeErrorHook hook);
}

#ifdef PIXBRIDGE_INTERNAL
class GestionePng {
public:
    GestionePng() = default;
    virtual ~GestionePng();
    // Decodes a PNG into width * height 0x00RRGGBB pixels; false (after "Error!") on failure.
    bool LeggiPng(const char* path, std::int32_t* width, std::int32_t* height,
                  std::uint32_t** pixels);
    PixbridgeBitmap* Png2Bitmap(void* window, const char* path, std::int32_t* width,
                                std::int32_t* height);
    std::int32_t abs2(std::int32_t value);
};
extern "C" GestionePng* lpGestionePNG_GLOB;
#endif
