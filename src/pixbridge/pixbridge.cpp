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
// The file is fed to libpng's progressive reader in small pieces, and decoding stops as soon as
// the last row of the picture is complete: compressed data after it (a decompression bomb
// behind a tiny picture) is never inflated. libpng's limits bound the ancillary chunks it
// buffers, and its benign errors count as errors. Only regular files are opened.
//
// Every failure shows "Error!" (title "Error!") exactly once through the host's hook, and the
// call answers null with width and height 0.
#include "pixbridge.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#define PIXBRIDGE_EXPORT __attribute__((visibility("default")))

extern "C" {
PIXBRIDGE_EXPORT GestionePng* lpGestionePNG_GLOB = nullptr;
}

namespace {

constexpr png_uint_32 kMaxSide = kPixbridgeMaxSide;
constexpr std::uint64_t kMaxPixels = kPixbridgeMaxPixels;
// Ancillary chunks (text, ICC profiles...) are never needed; this bounds what libpng buffers.
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;
constexpr png_uint_32 kMaxCachedChunks = 1000;
// The file is handed to libpng in pieces of this size; after the last row nothing more is read.
constexpr std::size_t kReadPiece = 4096;

void StderrHook(const char* text, const char* title) {
    std::fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
}

PixbridgeErrorHook g_hook = StderrHook;

void ReportError() { g_hook("Error!", "Error!"); }

// libpng's defaults print; errors return to the decoder's setjmp point, warnings are dropped.
void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnPngWarning(png_structp, png_const_charp) {}

// Opens a regular file for reading. A FIFO or device is refused without being opened (opening
// one could wait for ever, reading it never end).
std::FILE* OpenRegularFile(const char* path) {
    struct stat st {};
    if (::stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return nullptr;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) ::close(fd);
    return file;
}

struct Decode {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::uint32_t* pixels = nullptr;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int lastPass = 0;
    bool refused = false;   // the header asks for a picture this library does not hold
    bool complete = false;  // the last row of the last pass has arrived
};

// Called by libpng once the header chunks are read: checks the size, sets the transforms and
// allocates the pixels.
void OnInfo(png_structp png, png_infop info) {
    auto* d = static_cast<Decode*>(png_get_progressive_ptr(png));
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
        std::uint64_t{width} * height > kMaxPixels) {
        d->refused = true;
        png_error(png, "refused");
    }
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
    d->lastPass = png_set_interlace_handling(png) - 1;
    png_read_update_info(png, info);

    // The transforms above must have produced exactly one 32-bit value per pixel; anything
    // else would make libpng write past the rows.
    const std::uint64_t bytes = std::uint64_t{width} * height * 4;
    if (png_get_rowbytes(png, info) != std::size_t{width} * 4 ||
        png_get_bit_depth(png, info) != 8 || bytes > SIZE_MAX) {
        d->refused = true;
        png_error(png, "refused");
    }
    // Zeroed: the rows of an interlaced picture are combined into what is already there.
    d->pixels = static_cast<std::uint32_t*>(std::calloc(static_cast<std::size_t>(bytes), 1));
    if (!d->pixels) {
        d->refused = true;
        png_error(png, "refused");
    }
    d->width = width;
    d->height = height;
}

void OnRow(png_structp png, png_bytep row, png_uint_32 y, int pass) {
    auto* d = static_cast<Decode*>(png_get_progressive_ptr(png));
    if (!d->pixels || y >= d->height) return;
    if (row)
        png_progressive_combine_row(
            png, reinterpret_cast<png_bytep>(d->pixels + std::size_t{y} * d->width), row);
    // The picture is whole: no more of the file is handed over, so compressed data that
    // follows is never inflated and the work stays bounded by the size the header declares
    // (libpng itself inflates nothing after the last row of the piece it holds).
    if (pass == d->lastPass && y + 1 == d->height) d->complete = true;
}

// Kept apart from LeggiPng so that no local of the function holding setjmp changes between
// setjmp and a longjmp: all state lives in *d. Reads the file in small pieces through libpng's
// progressive reader and stops as soon as the last row is there.
bool ReadImage(Decode* d) {
    png_structp png = d->png;
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_chunk_cache_max(png, kMaxCachedChunks);
    // Problems libpng would otherwise only warn about (a text chunk that does not fit its
    // limits, a damaged ancillary chunk) end the decode.
    png_set_benign_errors(png, 0);
    png_set_progressive_read_fn(png, d, OnInfo, OnRow, nullptr);

    static png_byte signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    png_process_data(png, d->info, signature, sizeof signature);
    png_byte buffer[kReadPiece];
    while (!d->complete && !d->refused) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, d->file);
        if (got == 0) return false;  // the file ended before the picture did
        png_process_data(png, d->info, buffer, got);
    }
    return d->complete && !d->refused;
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
    if (path && (d.file = OpenRegularFile(path))) {
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
