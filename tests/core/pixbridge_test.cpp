// Pixbridge as the editor sees it: the real libpixbridge.so from the build, bound with
// BindPixbridge and called through LoadPicture, plus direct calls through dlsym where the host
// never goes (null size pointers, the exported global, the export list).
#include <dlfcn.h>
#include <png.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pixbridge/pixbridge.h"
#include "platform/pictures.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

// ---- a small PNG writer ----------------------------------------------------------------------

// Sample values of one pixel in the file's own channel order (grey, grey+alpha, RGB, RGBA or a
// palette index), each at the file's bit depth.
using SampleFn = std::function<std::array<unsigned, 4>(int x, int y)>;

struct PngFile {
    int width = 1;
    int height = 1;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<png_byte> transparency;  // tRNS for palette files
    int compression = Z_DEFAULT_COMPRESSION;
};

int Channels(int colourType) {
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE: return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB: return 3;
    default: return 4;
    }
}

std::vector<png_byte> PackRow(const PngFile& f, int y, const SampleFn& sample) {
    const int channels = Channels(f.colourType);
    const std::size_t bits = std::size_t(f.width) * channels * f.bitDepth;
    std::vector<png_byte> row((bits + 7) / 8, 0);
    std::size_t bit = 0;
    for (int x = 0; x < f.width; ++x) {
        const auto s = sample(x, y);
        for (int c = 0; c < channels; ++c) {
            const unsigned v = s[c];
            if (f.bitDepth == 16) {
                row[bit / 8] = png_byte(v >> 8);
                row[bit / 8 + 1] = png_byte(v);
            } else if (f.bitDepth == 8) {
                row[bit / 8] = png_byte(v);
            } else {
                const int shift = 8 - f.bitDepth - int(bit % 8);
                row[bit / 8] |= png_byte((v & ((1u << f.bitDepth) - 1)) << shift);
            }
            bit += f.bitDepth;
        }
    }
    return row;
}

struct WriteState {
    FILE* file;
    png_structp png;
    png_infop info;
    const PngFile* spec;
    std::vector<png_bytep>* rows;
};

bool WriteRows(WriteState* s) {
    if (setjmp(png_jmpbuf(s->png))) return false;
    png_init_io(s->png, s->file);
    png_set_compression_level(s->png, s->spec->compression);
    png_set_filter(s->png, 0, PNG_FILTER_NONE);
    png_set_IHDR(s->png, s->info, s->spec->width, s->spec->height, s->spec->bitDepth,
                 s->spec->colourType,
                 s->spec->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!s->spec->palette.empty())
        png_set_PLTE(s->png, s->info, s->spec->palette.data(), int(s->spec->palette.size()));
    if (!s->spec->transparency.empty())
        png_set_tRNS(s->png, s->info, s->spec->transparency.data(),
                     int(s->spec->transparency.size()), nullptr);
    png_write_info(s->png, s->info);
    png_write_image(s->png, s->rows->data());
    png_write_end(s->png, nullptr);
    return true;
}

// Rows may repeat: rowOf(y) says which stored row is row y (keeps huge test pictures cheap).
bool WritePng(const fs::path& path, const PngFile& f, const SampleFn& sample,
              int distinctRows = -1) {
    if (distinctRows < 0) distinctRows = f.height;
    std::vector<std::vector<png_byte>> stored;
    for (int y = 0; y < distinctRows; ++y) stored.push_back(PackRow(f, y, sample));
    std::vector<png_bytep> rows;
    for (int y = 0; y < f.height; ++y) rows.push_back(stored[y % distinctRows].data());

    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    WriteState state{file, png, info, &f, &rows};
    const bool ok = png && info && WriteRows(&state);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return ok;
}

// ---- raw chunk surgery -----------------------------------------------------------------------

void PutU32(std::string& s, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) s.push_back(char(v >> shift));
}

void PutChunk(std::string& s, const char* type, const std::string& data) {
    PutU32(s, std::uint32_t(data.size()));
    std::string body = std::string(type, 4) + data;
    s += body;
    PutU32(s, std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                  uInt(body.size()))));
}

// A well-formed signature + IHDR + IEND for a picture of any claimed size.
std::string HeaderOnlyPng(std::uint32_t width, std::uint32_t height) {
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string ihdr;
    PutU32(ihdr, width);
    PutU32(ihdr, height);
    ihdr += std::string("\x08\x02\x00\x00\x00", 5);
    PutChunk(png, "IHDR", ihdr);
    PutChunk(png, "IEND", "");
    return png;
}

std::uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return (r << 16) | (g << 8) | b; }

// ---- fixture ---------------------------------------------------------------------------------

class Pixbridge : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string why;
        ASSERT_TRUE(qb::BindPixbridge(QB_BIN_DIR, &why)) << why;
    }
    void SetUp() override {
        ASSERT_TRUE(qb::PixbridgeBound());
        dir_ = fs::temp_directory_path() /
               ("qb_pixbridge_" + std::to_string(getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        qb::SetMessageService(&messages_);
    }
    void TearDown() override {
        qb::SetMessageService(nullptr);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    static void* Library() {
        return dlopen((fs::path(QB_BIN_DIR) / "libpixbridge.so").c_str(),
                      RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    }

    // One failed decode: no picture, size 0 x 0, and exactly one "Error!" box.
    void ExpectRefused(const fs::path& file) {
        const std::size_t before = messages_.texts.size();
        qb::Picture pic;
        pic.width = 7;
        EXPECT_FALSE(qb::LoadPicture(file.string(), pic)) << file;
        EXPECT_EQ(pic.width, 0);
        EXPECT_EQ(pic.height, 0);
        EXPECT_TRUE(pic.pixels.empty());
        ASSERT_EQ(messages_.texts.size(), before + 1) << file;
        EXPECT_EQ(messages_.texts.back(), "Error!");
        EXPECT_EQ(messages_.captions.back(), "Error!");
    }

    // Decodes through the raw export with the given size pointers.
    PixbridgeBitmap* RawDecode(const fs::path& file, std::int32_t* w, std::int32_t* h) {
        void* lib = Library();
        if (!lib) return nullptr;
        auto decode = reinterpret_cast<decltype(&Png2BitmapExt)>(dlsym(lib, "Png2BitmapExt"));
        dlclose(lib);
        return decode ? decode(nullptr, file.c_str(), w, h) : nullptr;
    }
    void RawDelete(PixbridgeBitmap* bitmap) {
        void* lib = Library();
        ASSERT_NE(lib, nullptr);
        auto release = reinterpret_cast<decltype(&PixbridgeDeleteBitmap)>(
            dlsym(lib, "PixbridgeDeleteBitmap"));
        dlclose(lib);
        ASSERT_NE(release, nullptr);
        release(bitmap);
    }

    fs::path dir_;
    qbtest::RecordingMessages messages_;
};

// ---- decoding --------------------------------------------------------------------------------

TEST_F(Pixbridge, OneRedPixel) {
    const fs::path file = dir_ / "red.png";
    ASSERT_TRUE(WritePng(file, {}, [](int, int) { return std::array<unsigned, 4>{255, 0, 0}; }));
    qb::Picture pic;
    ASSERT_TRUE(qb::LoadPicture(file.string(), pic));
    EXPECT_EQ(pic.width, 1);
    EXPECT_EQ(pic.height, 1);
    ASSERT_EQ(pic.pixels.size(), 1u);
    EXPECT_EQ(pic.pixels[0], 0x00FF0000u);
    EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(Pixbridge, RowsComeTopFirstAndColumnsLeftFirst) {
    // A vertical gradient, and a non-square picture whose every pixel differs, catch rows
    // stored bottom-up and swapped axes.
    const fs::path gradient = dir_ / "gradient.png";
    PngFile g;
    g.width = 2;
    g.height = 256;
    ASSERT_TRUE(WritePng(gradient, g, [](int, int y) {
        return std::array<unsigned, 4>{unsigned(y), 0, 255u - y};
    }));
    qb::Picture pic;
    ASSERT_TRUE(qb::LoadPicture(gradient.string(), pic));
    ASSERT_EQ(pic.pixels.size(), 512u);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 2; ++x) ASSERT_EQ(pic.pixels[y * 2 + x], Rgb(y, 0, 255 - y)) << y;

    const fs::path oblong = dir_ / "oblong.png";
    PngFile o;
    o.width = 3;
    o.height = 5;
    ASSERT_TRUE(WritePng(oblong, o, [](int x, int y) {
        return std::array<unsigned, 4>{x * 80u + 1, y * 50u + 2, (x + y) * 20u + 3};
    }));
    ASSERT_TRUE(qb::LoadPicture(oblong.string(), pic));
    EXPECT_EQ(pic.width, 3);
    EXPECT_EQ(pic.height, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(pic.pixels[y * 3 + x], Rgb(x * 80 + 1, y * 50 + 2, (x + y) * 20 + 3));
}

struct KindCase {
    const char* name;
    PngFile file;
    SampleFn sample;
    std::function<std::uint32_t(int x, int y)> expected;
};

std::vector<png_color> TestPalette(int entries) {
    std::vector<png_color> palette;
    for (int i = 0; i < entries; ++i)
        palette.push_back({png_byte(i * 13 + 5), png_byte(250 - i * 11), png_byte(i * 7)});
    return palette;
}

std::uint32_t PaletteRgb(int i) { return Rgb(i * 13 + 5, 250 - i * 11, i * 7); }

std::vector<KindCase> KindCases() {
    std::vector<KindCase> cases;
    auto file = [](int w, int h, int type, int depth, bool interlaced = false) {
        PngFile f;
        f.width = w;
        f.height = h;
        f.colourType = type;
        f.bitDepth = depth;
        f.interlaced = interlaced;
        return f;
    };
    using A = std::array<unsigned, 4>;
    {
        KindCase c{"palette8", file(4, 4, PNG_COLOR_TYPE_PALETTE, 8), nullptr, nullptr};
        c.file.palette = TestPalette(16);
        c.sample = [](int x, int y) { return A{unsigned(x + 4 * y)}; };
        c.expected = [](int x, int y) { return PaletteRgb(x + 4 * y); };
        cases.push_back(c);
    }
    {
        // Packed indices, an odd width and transparency: tRNS becomes alpha, which is dropped.
        KindCase c{"palette2_trns", file(5, 3, PNG_COLOR_TYPE_PALETTE, 2), nullptr, nullptr};
        c.file.palette = TestPalette(4);
        c.file.transparency = {0, 128};
        c.sample = [](int x, int y) { return A{unsigned((x + y) % 4)}; };
        c.expected = [](int x, int y) { return PaletteRgb((x + y) % 4); };
        cases.push_back(c);
    }
    cases.push_back({"grey8", file(4, 3, PNG_COLOR_TYPE_GRAY, 8),
                     [](int x, int y) { return A{x * 60u + y * 5}; },
                     [](int x, int y) {
                         const unsigned v = x * 60u + y * 5;
                         return Rgb(v, v, v);
                     }});
    cases.push_back({"grey1", file(9, 2, PNG_COLOR_TYPE_GRAY, 1),
                     [](int x, int y) { return A{unsigned((x + y) & 1)}; },
                     [](int x, int y) { return (x + y) & 1 ? 0xFFFFFFu : 0u; }});
    cases.push_back({"grey16", file(3, 2, PNG_COLOR_TYPE_GRAY, 16),
                     [](int x, int y) { return A{(x * 0x1234u + y * 0x4321u + 0xFF) & 0xFFFF}; },
                     [](int x, int y) {
                         const unsigned v = ((x * 0x1234u + y * 0x4321u + 0xFF) & 0xFFFF) >> 8;
                         return Rgb(v, v, v);
                     }});
    cases.push_back({"grey_alpha8", file(3, 3, PNG_COLOR_TYPE_GRAY_ALPHA, 8),
                     [](int x, int y) { return A{x * 70u + y, y * 100u}; },
                     [](int x, int y) {
                         const unsigned v = x * 70u + y;
                         return Rgb(v, v, v);
                     }});
    cases.push_back({"rgb16", file(2, 2, PNG_COLOR_TYPE_RGB, 16),
                     [](int x, int y) { return A{0xAB00u + x, 0x1200u + y, 0xFEFFu}; },
                     [](int, int) { return Rgb(0xAB, 0x12, 0xFE); }});
    cases.push_back({"rgba8", file(3, 3, PNG_COLOR_TYPE_RGB_ALPHA, 8),
                     [](int x, int y) { return A{x * 90u, y * 90u, 33, x * 40u + y}; },
                     [](int x, int y) { return Rgb(x * 90, y * 90, 33); }});
    cases.push_back({"rgba16", file(2, 3, PNG_COLOR_TYPE_RGB_ALPHA, 16),
                     [](int x, int y) { return A{0x8000u + x, 0x4000u * y, 0x0101, 0}; },
                     [](int, int y) { return Rgb(0x80, 0x40 * y, 0x01); }});
    cases.push_back({"interlaced_rgb8", file(13, 11, PNG_COLOR_TYPE_RGB, 8, true),
                     [](int x, int y) { return A{x * 19u, y * 23u, unsigned(x * y) & 0xFF}; },
                     [](int x, int y) { return Rgb(x * 19, y * 23, (x * y) & 0xFF); }});
    {
        KindCase c{"interlaced_palette1", file(17, 9, PNG_COLOR_TYPE_PALETTE, 1, true), nullptr,
                   nullptr};
        c.file.palette = TestPalette(2);
        c.sample = [](int x, int y) { return A{unsigned((x * 3 + y) % 5 == 0)}; };
        c.expected = [](int x, int y) { return PaletteRgb((x * 3 + y) % 5 == 0); };
        cases.push_back(c);
    }
    cases.push_back({"interlaced_grey_alpha16", file(6, 7, PNG_COLOR_TYPE_GRAY_ALPHA, 16, true),
                     [](int x, int y) { return A{unsigned(x * 0x2000 + y * 0x100), 0x7777}; },
                     [](int x, int y) {
                         const unsigned v = (x * 0x2000 + y * 0x100) >> 8;
                         return Rgb(v, v, v);
                     }});
    return cases;
}

TEST_F(Pixbridge, EveryPngKindDecodesToItsRgb) {
    for (const KindCase& c : KindCases()) {
        SCOPED_TRACE(c.name);
        const fs::path file = dir_ / (std::string(c.name) + ".png");
        ASSERT_TRUE(WritePng(file, c.file, c.sample));
        qb::Picture pic;
        ASSERT_TRUE(qb::LoadPicture(file.string(), pic));
        ASSERT_EQ(pic.width, c.file.width);
        ASSERT_EQ(pic.height, c.file.height);
        ASSERT_EQ(pic.pixels.size(), std::size_t(c.file.width) * c.file.height);
        for (int y = 0; y < c.file.height; ++y)
            for (int x = 0; x < c.file.width; ++x)
                EXPECT_EQ(pic.pixels[y * c.file.width + x], c.expected(x, y))
                    << "x=" << x << " y=" << y;
    }
    EXPECT_TRUE(messages_.texts.empty());
}

// ---- refusals --------------------------------------------------------------------------------

TEST_F(Pixbridge, FilesThatAreNotPicturesAreRefusedOnce) {
    // A BMP under a .png name.
    std::string bmp("BM", 2);
    bmp.resize(70, '\0');
    qbtest::WriteFile(dir_ / "bitmap.png", bmp);
    ExpectRefused(dir_ / "bitmap.png");

    qbtest::WriteFile(dir_ / "empty.png", "");
    ExpectRefused(dir_ / "empty.png");
    qbtest::WriteFile(dir_ / "short.png", std::string("\x89PNG", 4));
    ExpectRefused(dir_ / "short.png");

    ExpectRefused(dir_ / "missing.png");
    ExpectRefused(dir_);  // a folder opens but cannot be read
}

TEST_F(Pixbridge, DamagedPngsAreRefusedOnce) {
    const fs::path good = dir_ / "good.png";
    PngFile f;
    f.width = 40;
    f.height = 30;
    ASSERT_TRUE(WritePng(good, f, [](int x, int y) {
        return std::array<unsigned, 4>{unsigned(x * 6), unsigned(y * 8), unsigned(x ^ y)};
    }));
    const std::string bytes = qbtest::ReadFile(good);
    const std::size_t idat = bytes.find("IDAT");
    ASSERT_NE(idat, std::string::npos);
    const std::uint32_t idatLength = (std::uint8_t(bytes[idat - 4]) << 24) |
                                     (std::uint8_t(bytes[idat - 3]) << 16) |
                                     (std::uint8_t(bytes[idat - 2]) << 8) |
                                     std::uint8_t(bytes[idat - 1]);
    ASSERT_LT(idat + 4 + idatLength + 4, bytes.size());

    qbtest::WriteFile(dir_ / "cut_in_header.png", bytes.substr(0, 20));
    ExpectRefused(dir_ / "cut_in_header.png");
    qbtest::WriteFile(dir_ / "cut_in_image.png", bytes.substr(0, idat + 4 + idatLength / 2));
    ExpectRefused(dir_ / "cut_in_image.png");

    std::string badCrc = bytes;
    badCrc[idat + 4 + idatLength] ^= 0x5A;  // first byte of the image chunk's CRC
    qbtest::WriteFile(dir_ / "bad_crc.png", badCrc);
    ExpectRefused(dir_ / "bad_crc.png");

    std::string badHeader = bytes;
    badHeader[8 + 8 + 9] = 7;  // IHDR colour type 7 does not exist (CRC fixed below)
    const std::uint32_t crc =
        crc32(0, reinterpret_cast<const Bytef*>(badHeader.data() + 12), 17);
    for (int i = 0; i < 4; ++i) badHeader[29 + i] = char(crc >> (24 - 8 * i));
    qbtest::WriteFile(dir_ / "bad_header.png", badHeader);
    ExpectRefused(dir_ / "bad_header.png");

    qb::Picture pic;
    EXPECT_TRUE(qb::LoadPicture(good.string(), pic));  // the original is fine
}

TEST_F(Pixbridge, PicturesTooLargeToHoldAreRefusedBeforeReadingThem) {
    // Header-only files claiming huge sizes: refused from the header alone.
    qbtest::WriteFile(dir_ / "huge.png", HeaderOnlyPng(100000, 100000));
    ExpectRefused(dir_ / "huge.png");
    qbtest::WriteFile(dir_ / "wide.png", HeaderOnlyPng(0x7FFFFFFF, 1));
    ExpectRefused(dir_ / "wide.png");

    // The side limit is 16384: one pixel more is refused even for a tiny, valid picture.
    PngFile f;
    f.width = 16384;
    f.height = 1;
    const SampleFn grey = [](int x, int) {
        return std::array<unsigned, 4>{unsigned(x & 0xFF), 1, 2};
    };
    ASSERT_TRUE(WritePng(dir_ / "side_ok.png", f, grey));
    qb::Picture pic;
    ASSERT_TRUE(qb::LoadPicture((dir_ / "side_ok.png").string(), pic));
    EXPECT_EQ(pic.width, 16384);
    EXPECT_EQ(pic.pixels[16383], Rgb(0xFF, 1, 2));
    f.width = 1;
    f.height = 16385;
    ASSERT_TRUE(WritePng(dir_ / "side_over.png", f, grey, 1));
    ExpectRefused(dir_ / "side_over.png");

    // 2^26 pixels in all is the most held: 8192 x 8193 is a valid picture one row over it.
    f.width = 8192;
    f.height = 8193;
    f.compression = 1;
    ASSERT_TRUE(WritePng(dir_ / "area_over.png", f,
                         [](int, int) { return std::array<unsigned, 4>{}; }, 1));
    ExpectRefused(dir_ / "area_over.png");
}

TEST_F(Pixbridge, HostilePngVariantsNeverCrashAndFailOnce) {
    // Every single-byte corruption and every truncation of a small interlaced RGBA picture:
    // each decode either succeeds within the limits or says "Error!" exactly once.
    const fs::path good = dir_ / "seed.png";
    PngFile f;
    f.width = 9;
    f.height = 7;
    f.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    f.interlaced = true;
    ASSERT_TRUE(WritePng(good, f, [](int x, int y) {
        return std::array<unsigned, 4>{unsigned(x * 25), unsigned(y * 30), 77, 200};
    }));
    const std::string bytes = qbtest::ReadFile(good);
    const fs::path variant = dir_ / "variant.png";
    auto check = [&](const std::string& data, const std::string& what) {
        qbtest::WriteFile(variant, data);
        const std::size_t before = messages_.texts.size();
        qb::Picture pic;
        if (qb::LoadPicture(variant.string(), pic)) {
            EXPECT_EQ(messages_.texts.size(), before) << what;
            EXPECT_GT(pic.width, 0) << what;
            EXPECT_LE(pic.width, 16384) << what;
            EXPECT_EQ(pic.pixels.size(), std::size_t(pic.width) * pic.height) << what;
        } else {
            EXPECT_EQ(messages_.texts.size(), before + 1) << what;
            EXPECT_EQ(pic.width, 0) << what;
        }
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::string corrupt = bytes;
        corrupt[i] = char(corrupt[i] ^ (i % 2 ? 0xFF : 0x10));
        check(corrupt, "byte " + std::to_string(i));
        check(bytes.substr(0, i), "length " + std::to_string(i));
    }
}

// Tiny files that claim huge work: ancillary chunks claiming 2^31 - 1 bytes, a FIFO, and a
// picture followed by compressed data that is never needed. Each runs in a child process, so
// that its peak memory can be read (and a hang ends the child, not the suite).
TEST_F(Pixbridge, TinyFilesClaimingHugeWorkCostLittle) {
    const std::string signature("\x89PNG\r\n\x1a\n", 8);
    std::string ihdr;
    PutU32(ihdr, 1);
    PutU32(ihdr, 1);
    ihdr += std::string("\x08\x02\x00\x00\x00", 5);
    std::string head = signature;
    PutChunk(head, "IHDR", ihdr);
    std::vector<fs::path> refused;
    for (const char* type : {"tEXt", "zTXt", "iTXt", "sPLT"}) {
        std::string file = head;
        PutU32(file, 0x7fffffffu);
        file += type;
        file += std::string("k\0", 2) + std::string(105 - file.size() - 2, 'x');
        ASSERT_EQ(file.size(), 105u);
        refused.push_back(dir_ / (std::string(type) + ".png"));
        qbtest::WriteFile(refused.back(), file);
    }
    const fs::path fifo = dir_ / "fifo.png";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    refused.push_back(fifo);

    // A 1 x 1 picture whose zlib stream goes on after the picture's only row: 64 MiB of zeros
    // (a bomb's inflated size is bounded only by its file), then bytes that are not deflate data
    // at all. Reading on would inflate it all and then fail; the decode stops at the last row.
    std::string raw("\x00\x10\x20\x30", 4);
    std::vector<Bytef> out(compressBound(1u << 20) + 64);
    z_stream z{};
    ASSERT_EQ(deflateInit(&z, 1), Z_OK);
    std::string idat;
    auto pump = [&](const std::string& in, int flush) {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
        z.avail_in = uInt(in.size());
        do {
            z.next_out = out.data();
            z.avail_out = uInt(out.size());
            deflate(&z, flush);
            idat.append(reinterpret_cast<char*>(out.data()), out.size() - z.avail_out);
        } while (z.avail_in > 0 || z.avail_out == 0);
    };
    pump(raw, Z_NO_FLUSH);
    const std::string zeros(1u << 20, '\0');
    for (int i = 0; i < 64; ++i) pump(zeros, Z_NO_FLUSH);
    pump("", Z_SYNC_FLUSH);
    deflateEnd(&z);
    idat += std::string(64, '\xff');  // an invalid block type: an error for whoever reads on
    std::string bomb = head;
    PutChunk(bomb, "IDAT", idat);
    PutChunk(bomb, "IEND", "");
    const fs::path bombFile = dir_ / "bomb.png";
    qbtest::WriteFile(bombFile, bomb);

    // Runs the decode in a child; answers its exit code (0 decoded, 1 refused) and peak memory.
    auto inChild = [&](const fs::path& file, long& peakKiB) {
        std::fflush(nullptr);
        const pid_t child = fork();
        if (child == 0) {
            alarm(20);  // a hang would end here
            qb::Picture pic;
            const bool ok = qb::LoadPicture(file.string(), pic);
            _exit(ok && pic.width == 1 && pic.height == 1 ? 0 : ok ? 2 : 1);
        }
        int status = 0;
        struct rusage usage {};
        EXPECT_EQ(wait4(child, &status, 0, &usage), child);
        peakKiB = usage.ru_maxrss;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    };
    struct rusage self {};
    getrusage(RUSAGE_SELF, &self);
    const long budgetKiB = self.ru_maxrss + 64 * 1024;  // what the test holds, and 64 MiB
    long peak = 0;
    bool fifoRefused = false;
    for (const fs::path& file : refused) {
        const int result = inChild(file, peak);
        EXPECT_EQ(result, 1) << file;
        EXPECT_LT(peak, budgetKiB) << file;
        fifoRefused = file == fifo && result == 1;
    }
    EXPECT_EQ(inChild(bombFile, peak), 0);
    EXPECT_LT(peak, budgetKiB);
    // And in this process: one "Error!" for the FIFO, nothing for the picture.
    if (fifoRefused) ExpectRefused(fifo);
    qb::Picture pic;
    EXPECT_TRUE(qb::LoadPicture(bombFile.string(), pic));
    ASSERT_EQ(pic.pixels.size(), 1u);
    EXPECT_EQ(pic.pixels[0], Rgb(0x10, 0x20, 0x30));
}

// ---- the raw interface -----------------------------------------------------------------------

TEST_F(Pixbridge, NullSizePointersStillGiveTheBitmap) {
    const fs::path file = dir_ / "two.png";
    PngFile f;
    f.width = 2;
    f.height = 1;
    ASSERT_TRUE(WritePng(file, f, [](int x, int) {
        return std::array<unsigned, 4>{0, unsigned(x * 255), 9};
    }));
    PixbridgeBitmap* bitmap = RawDecode(file, nullptr, nullptr);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->width, 2);
    EXPECT_EQ(bitmap->height, 1);
    EXPECT_EQ(bitmap->pixels[1], Rgb(0, 255, 9));
    RawDelete(bitmap);

    std::int32_t w = 5, h = 5;
    bitmap = RawDecode(file, &w, nullptr);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(w, 2);
    RawDelete(bitmap);

    // A failure with null pointers still reports once and writes nowhere.
    EXPECT_EQ(RawDecode(dir_ / "missing.png", nullptr, nullptr), nullptr);
    EXPECT_EQ(messages_.texts.size(), 1u);
    w = h = 5;
    EXPECT_EQ(RawDecode(dir_ / "missing.png", &w, &h), nullptr);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(RawDecode(fs::path(), nullptr, nullptr), nullptr);
    EXPECT_EQ(messages_.texts.size(), 3u);
    RawDelete(nullptr);
}

TEST_F(Pixbridge, TheLibraryObjectIsMadeOnFirstUseAndKept) {
    // A private copy of the library starts with its own, untouched global.
    const fs::path copy = dir_ / "libpixbridge.so";
    fs::copy_file(fs::path(QB_BIN_DIR) / "libpixbridge.so", copy);
    void* lib = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    auto** global = static_cast<void**>(dlsym(lib, "lpGestionePNG_GLOB"));
    auto decode = reinterpret_cast<decltype(&Png2BitmapExt)>(dlsym(lib, "Png2BitmapExt"));
    auto release =
        reinterpret_cast<decltype(&PixbridgeDeleteBitmap)>(dlsym(lib, "PixbridgeDeleteBitmap"));
    auto setHook =
        reinterpret_cast<decltype(&PixbridgeSetErrorHook)>(dlsym(lib, "PixbridgeSetErrorHook"));
    ASSERT_TRUE(global && decode && release && setHook);
    ASSERT_NE(static_cast<void*>(global), dlsym(Library(), "lpGestionePNG_GLOB"));
    static int errors;
    errors = 0;
    setHook([](const char*, const char*) { ++errors; });

    EXPECT_EQ(*global, nullptr);
    const fs::path file = dir_ / "one.png";
    ASSERT_TRUE(WritePng(file, {}, [](int, int) { return std::array<unsigned, 4>{1, 2, 3}; }));
    PixbridgeBitmap* bitmap = decode(nullptr, file.c_str(), nullptr, nullptr);
    ASSERT_NE(bitmap, nullptr);
    release(bitmap);
    void* const first = *global;
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(decode(nullptr, (dir_ / "none.png").c_str(), nullptr, nullptr), nullptr);
    bitmap = decode(nullptr, file.c_str(), nullptr, nullptr);
    ASSERT_NE(bitmap, nullptr);
    release(bitmap);
    EXPECT_EQ(*global, first);
    EXPECT_EQ(errors, 1);
    // The copy stays loaded: its object is never destroyed.
}

TEST_F(Pixbridge, OnlyTheInterfaceIsExported) {
    void* lib = Library();
    ASSERT_NE(lib, nullptr);
    for (const char* name : {"Png2BitmapExt", "PixbridgeDeleteBitmap", "PixbridgeSetErrorHook",
                             "lpGestionePNG_GLOB"})
        EXPECT_NE(dlsym(lib, name), nullptr) << name;
    for (const char* name : {"_ZN11GestionePng8LeggiPngEPKcPiS2_PPj",
                             "_ZN11GestionePng10Png2BitmapEPvPKcPiS3_",
                             "_ZN11GestionePng4abs2Ei", "_ZTV11GestionePng",
                             "_ZTI11GestionePng", "_ZN11GestionePngD1Ev"})
        EXPECT_EQ(dlsym(lib, name), nullptr) << name;
    dlclose(lib);

    // The dynamic symbol table holds the four names and nothing else of ours.
    const std::string command =
        "nm -D --defined-only '" + (fs::path(QB_BIN_DIR) / "libpixbridge.so").string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        const std::size_t space = text.rfind(' ');
        if (space != std::string::npos) names.insert(text.substr(space + 1));
    }
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(names, (std::set<std::string>{"Png2BitmapExt", "PixbridgeDeleteBitmap",
                                             "PixbridgeSetErrorHook", "lpGestionePNG_GLOB"}));
}

} // namespace
