// Pixbridge: PNG file -> 0x00RRGGBB bitmap, top row first.
//
// Every PNG kind is accepted: libpng expands palette, grey and low bit depths, drops the
// second byte of 16-bit samples, drops the alpha channel (the colour values are kept as stored,
// not blended over any background), turns grey into RGB, de-interlaces, and appends a zero
// filler byte in the order that makes each pixel one native 32-bit 0x00RRGGBB value. libpng
// therefore writes the rows straight into the final buffer; there is no per-pixel pass here.
//
// Pictures too large to hold are refused before any pixel memory is allocated: each side at
// most kMaxSide pixels (checked by libpng while it reads the header) and at most kMaxPixels
// pixels in all (a 256 MiB pixel array).
//
// Every failure shows "Error!" (title "Error!") exactly once through the host's hook, and the
// call answers null with width and height 0.
#include "pixbridge.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <new>

#define PIXBRIDGE_EXPORT __attribute__((visibility("default")))

extern "C" {
PIXBRIDGE_EXPORT GestionePng* lpGestionePNG_GLOB = nullptr;
}

namespace {

constexpr png_uint_32 kMaxSide = 16384;
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 26;
// Ancillary chunks (text, ICC profiles...) are never needed; this bounds what libpng buffers.
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;
constexpr png_uint_32 kMaxCachedChunks = 1000;

void StderrHook(const char* text, const char* title) {
    std::fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
}

PixbridgeErrorHook g_hook = StderrHook;

void ReportError() { g_hook("Error!", "Error!"); }

// libpng's defaults print; errors return to the decoder's setjmp point, warnings are dropped.
void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnPngWarning(png_structp, png_const_charp) {}

struct Decode {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::uint32_t* pixels = nullptr;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
};

// Kept apart from LeggiPng so that no local of the function holding setjmp changes between
// setjmp and a longjmp: all state lives in *d.
bool ReadImage(Decode* d) {
    png_structp png = d->png;
    png_infop info = d->info;
    if (setjmp(png_jmpbuf(png))) return false;

    png_init_io(png, d->file);
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_chunk_cache_max(png, kMaxCachedChunks);
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
        std::uint64_t{width} * height > kMaxPixels)
        return false;

    const int colourType = png_get_color_type(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
#else
    png_set_filler(png, 0, PNG_FILLER_BEFORE);
#endif
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);

    // The transforms above must have produced exactly one 32-bit value per pixel; anything
    // else would make libpng write past the rows.
    if (png_get_rowbytes(png, info) != std::size_t{width} * 4 || png_get_bit_depth(png, info) != 8)
        return false;

    const std::uint64_t bytes = std::uint64_t{width} * height * 4;
    if (bytes > SIZE_MAX) return false;
    d->pixels = static_cast<std::uint32_t*>(std::malloc(static_cast<std::size_t>(bytes)));
    if (!d->pixels) return false;
    d->width = width;
    d->height = height;

    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, reinterpret_cast<png_bytep>(d->pixels + std::size_t{y} * width),
                         nullptr);
    return true;
}

} // namespace

GestionePng::~GestionePng() = default;

std::int32_t GestionePng::abs2(std::int32_t value) {
    // The most negative value has no positive counterpart; it saturates instead of overflowing.
    if (value == INT32_MIN) return INT32_MAX;
    return value < 0 ? -value : value;
}

bool GestionePng::LeggiPng(const char* path, std::int32_t* width, std::int32_t* height,
                           std::uint32_t** pixels) {
    if (width) *width = 0;
    if (height) *height = 0;
    if (pixels) *pixels = nullptr;

    Decode d;
    bool ok = false;
    if (path && (d.file = std::fopen(path, "rb"))) {
        png_byte signature[8];
        if (std::fread(signature, 1, sizeof signature, d.file) == sizeof signature &&
            png_sig_cmp(signature, 0, sizeof signature) == 0) {
            d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError,
                                           OnPngWarning);
            if (d.png) d.info = png_create_info_struct(d.png);
            if (d.png && d.info) ok = ReadImage(&d);
        }
    }
    if (d.png) png_destroy_read_struct(&d.png, d.info ? &d.info : nullptr, nullptr);
    if (d.file) std::fclose(d.file);

    if (!ok || !pixels) {
        std::free(d.pixels);
        if (!ok) {
            ReportError();
            return false;
        }
    } else {
        *pixels = d.pixels;
    }
    if (width) *width = static_cast<std::int32_t>(d.width);
    if (height) *height = static_cast<std::int32_t>(d.height);
    return true;
}

PixbridgeBitmap* GestionePng::Png2Bitmap(void*, const char* path, std::int32_t* width,
                                         std::int32_t* height) {
    if (width) *width = 0;
    if (height) *height = 0;
    std::int32_t w = 0, h = 0;
    std::uint32_t* pixels = nullptr;
    if (!LeggiPng(path, &w, &h, &pixels)) return nullptr;

    auto* bitmap = new (std::nothrow) PixbridgeBitmap{w, h, pixels};
    if (!bitmap) {
        std::free(pixels);
        ReportError();
        return nullptr;
    }
    if (width) *width = w;
    if (height) *height = h;
    return bitmap;
}

extern "C" {

PIXBRIDGE_EXPORT PixbridgeBitmap* Png2BitmapExt(void* window, const char* path,
                                                std::int32_t* width, std::int32_t* height) {
    if (!lpGestionePNG_GLOB) {
        lpGestionePNG_GLOB = new (std::nothrow) GestionePng;
        if (!lpGestionePNG_GLOB) {
            if (width) *width = 0;
            if (height) *height = 0;
            ReportError();
            return nullptr;
        }
    }
    return lpGestionePNG_GLOB->Png2Bitmap(window, path, width, height);
}

PIXBRIDGE_EXPORT void PixbridgeDeleteBitmap(PixbridgeBitmap* bitmap) {
    if (!bitmap) return;
    std::free(bitmap->pixels);
    delete bitmap;
}

// A null hook restores the default, which writes to stderr.
PIXBRIDGE_EXPORT void PixbridgeSetErrorHook(PixbridgeErrorHook hook) {
    g_hook = hook ? hook : StderrHook;
}

} // extern "C"
