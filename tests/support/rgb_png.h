#pragma once
// Writes and reads 8-bit RGB PNG files with libpng, for tests that need pictures of known
// pixels (link the test with PNG::PNG).
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace qbtest {

// pixels: width * height values 0x00RRGGBB, top row first.
inline bool WriteRgbPng(const std::string& path, int width, int height,
                        const std::vector<std::uint32_t>& pixels) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_byte> row(3 * static_cast<std::size_t>(width));
    bool ok = png && info;
    if (ok && setjmp(png_jmpbuf(png))) ok = false;
    if (ok) {
        png_init_io(png, file);
        png_set_compression_level(png, 6);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                     8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
                row[3 * x] = static_cast<png_byte>(p >> 16);
                row[3 * x + 1] = static_cast<png_byte>(p >> 8);
                row[3 * x + 2] = static_cast<png_byte>(p);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, info);
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

struct RgbImage {
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int colourType = -1;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB
};

// Reads an 8-bit RGB PNG as written by quillbox-cli extract; false for anything else.
inline bool ReadRgbPng(const std::string& path, RgbImage& out) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info;
    std::vector<png_byte> row;
    if (ok && setjmp(png_jmpbuf(png))) ok = false;
    if (ok) {
        png_init_io(png, file);
        png_read_info(png, info);
        out.width = static_cast<int>(png_get_image_width(png, info));
        out.height = static_cast<int>(png_get_image_height(png, info));
        out.bitDepth = png_get_bit_depth(png, info);
        out.colourType = png_get_color_type(png, info);
        ok = out.bitDepth == 8 && out.colourType == PNG_COLOR_TYPE_RGB;
        if (ok) {
            row.resize(3 * static_cast<std::size_t>(out.width));
            out.pixels.clear();
            for (int y = 0; y < out.height; ++y) {
                png_read_row(png, row.data(), nullptr);
                for (int x = 0; x < out.width; ++x)
                    out.pixels.push_back((std::uint32_t(row[3 * x]) << 16) |
                                         (std::uint32_t(row[3 * x + 1]) << 8) | row[3 * x + 2]);
            }
            png_read_end(png, nullptr);
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return ok;
}

} // namespace qbtest
