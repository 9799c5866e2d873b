// The host side of Pixbridge (binding, messages, LoadPicture) and the default assets that New
// item copies into projects.
#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/pictures.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

fs::path Assets() { return qbtest::SourceDir() / "assets"; }

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : path_(fs::temp_directory_path() /
                ("qb_pictures_" + std::to_string(getpid()) + "_" + name)) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Each ctest case runs in its own process, so this one starts with nothing bound.
TEST(PixbridgeBinding, BindsOnlyALibraryWithEveryFunction) {
    qbtest::RecordingMessages messages;
    qb::SetMessageService(&messages);
    const bool fresh = !qb::PixbridgeBound();
    const std::string asset = (Assets() / "SpritesDefault.png").string();
    ScratchFolder scratch("bind");
    std::string why;

    // No library in the folder.
    EXPECT_FALSE(qb::BindPixbridge(scratch.path().string(), &why));
    EXPECT_NE(why.find("libpixbridge.so"), std::string::npos) << why;

    // Something that is not a shared library.
    qbtest::WriteFile(scratch.path() / "libpixbridge.so", "not a library");
    why.clear();
    EXPECT_FALSE(qb::BindPixbridge(scratch.path().string(), &why));
    EXPECT_FALSE(why.empty());

    // A real shared library without the functions: a copy of libz.
    void* zlib = dlopen("libz.so.1", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(zlib, nullptr);
    Dl_info where{};
    ASSERT_NE(dladdr(dlsym(zlib, "zlibVersion"), &where), 0);
    fs::copy_file(where.dli_fname, scratch.path() / "libpixbridge.so",
                  fs::copy_options::overwrite_existing);
    dlclose(zlib);
    why.clear();
    EXPECT_FALSE(qb::BindPixbridge(scratch.path().string(), &why));
    EXPECT_NE(why.find("Png2BitmapExt"), std::string::npos) << why;

    if (fresh) {
        // Nothing bound: pictures simply do not load, and nothing is called or shown.
        EXPECT_FALSE(qb::PixbridgeBound());
        qb::InstallPixbridgeMessageHook();
        qb::Picture pic;
        pic.width = 3;
        pic.pixels.assign(4, 1);
        EXPECT_FALSE(qb::LoadPicture(asset, pic));
        EXPECT_EQ(pic.width, 0);
        EXPECT_TRUE(pic.pixels.empty());
        EXPECT_TRUE(messages.texts.empty());
    }

    ASSERT_TRUE(qb::BindPixbridge(QB_BIN_DIR, &why)) << why;
    EXPECT_TRUE(why.empty());
    EXPECT_TRUE(qb::PixbridgeBound());
    qb::Picture pic;
    EXPECT_TRUE(qb::LoadPicture(asset, pic));

    // A later failed bind keeps the working library.
    EXPECT_FALSE(qb::BindPixbridge(scratch.path().string()));
    EXPECT_TRUE(qb::PixbridgeBound());
    EXPECT_TRUE(qb::LoadPicture(asset, pic));
    EXPECT_TRUE(messages.texts.empty());
    qb::SetMessageService(nullptr);
}

TEST(PixbridgeBinding, ExecutableFolderIsTheProgramsOwn) {
    EXPECT_TRUE(fs::equivalent(qb::ExecutableFolder(), QB_BIN_DIR)) << qb::ExecutableFolder();
}

TEST(PixbridgeBinding, ErrorsReachTheMessageService) {
    ASSERT_TRUE(qb::BindPixbridge(QB_BIN_DIR));
    qbtest::RecordingMessages messages;
    qb::SetMessageService(&messages);
    ScratchFolder scratch("errors");
    qb::Picture pic;
    EXPECT_FALSE(qb::LoadPicture((scratch.path() / "absent.png").string(), pic));
    EXPECT_EQ(messages.texts, (std::vector<std::string>{"Error!"}));
    EXPECT_EQ(messages.captions, (std::vector<std::string>{"Error!"}));

    // Installing the hook again does not double the messages.
    qb::InstallPixbridgeMessageHook();
    qbtest::WriteFile(scratch.path() / "text.png", "hello");
    EXPECT_FALSE(qb::LoadPicture((scratch.path() / "text.png").string(), pic));
    EXPECT_EQ(messages.texts.size(), 2u);
    qb::SetMessageService(nullptr);
}

// ---- default assets --------------------------------------------------------------------------

class DefaultAssets : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(qb::BindPixbridge(QB_BIN_DIR));
        qb::SetMessageService(&messages_);
    }
    void TearDown() override {
        EXPECT_TRUE(messages_.texts.empty());
        qb::SetMessageService(nullptr);
    }

    // Decodes an asset and checks that it is a plain 8-bit RGB PNG, which any reader takes.
    qb::Picture Load(const char* name) {
        const fs::path file = Assets() / name;
        const std::string bytes = qbtest::ReadFile(file);
        EXPECT_GT(bytes.size(), 33u) << name;
        if (bytes.size() > 33) {
            EXPECT_EQ(bytes.compare(12, 4, "IHDR"), 0) << name;
            EXPECT_EQ(bytes[24], 8) << name << ": bit depth";
            EXPECT_EQ(bytes[25], 2) << name << ": colour type";
        }
        qb::Picture pic;
        EXPECT_TRUE(qb::LoadPicture(file.string(), pic)) << name;
        return pic;
    }

    static std::vector<std::uint32_t> Cell(const qb::Picture& pic, int left, int top, int w,
                                           int h) {
        std::vector<std::uint32_t> cell;
        for (int y = top; y < top + h; ++y)
            for (int x = left; x < left + w; ++x) cell.push_back(pic.pixels[y * pic.width + x]);
        return cell;
    }
    static int Colours(const std::vector<std::uint32_t>& cell) {
        return int(std::set<std::uint32_t>(cell.begin(), cell.end()).size());
    }

    qbtest::RecordingMessages messages_;
};

TEST_F(DefaultAssets, BackgroundIsAGridOfDistinctTextured32PixelTiles) {
    const qb::Picture pic = Load("BackgroundDefault.png");
    ASSERT_GE(pic.width, 320);
    ASSERT_GE(pic.height, 320);
    EXPECT_EQ(pic.width % 32, 0);
    EXPECT_EQ(pic.height % 32, 0);
    std::set<std::vector<std::uint32_t>> tiles;
    for (int ty = 0; ty < pic.height / 32; ++ty)
        for (int tx = 0; tx < pic.width / 32; ++tx) {
            const auto tile = Cell(pic, tx * 32, ty * 32, 32, 32);
            EXPECT_GE(Colours(tile), 3) << "tile " << tx << "," << ty << " is flat";
            EXPECT_TRUE(tiles.insert(tile).second) << "tile " << tx << "," << ty << " repeats";
        }
}

TEST_F(DefaultAssets, SpritesFill32PixelCellsOnBlack) {
    const qb::Picture pic = Load("SpritesDefault.png");
    ASSERT_GT(pic.width, 0);
    EXPECT_EQ(pic.width % 32, 0);
    EXPECT_EQ(pic.height % 32, 0);
    int drawn = 0;
    for (int cy = 0; cy < pic.height / 32; ++cy)
        for (int cx = 0; cx < pic.width / 32; ++cx) {
            const auto cell = Cell(pic, cx * 32, cy * 32, 32, 32);
            if (Colours(cell) > 1) ++drawn;
            // A sprite keeps a black border so that neighbouring cells never touch.
            for (int i = 0; i < 32; ++i) {
                EXPECT_EQ(cell[i], 0u) << cx << "," << cy;              // top row
                EXPECT_EQ(cell[i * 32], 0u) << cx << "," << cy;         // left column
            }
        }
    EXPECT_GE(drawn, 32);
    // The first cell (the player's ship, the first sprite a new project shows) is drawn.
    EXPECT_GT(Colours(Cell(pic, 0, 0, 32, 32)), 2);
}

TEST_F(DefaultAssets, SplashIsAFullScreenPicture) {
    const qb::Picture pic = Load("SplashDefault.png");
    EXPECT_EQ(pic.width, 640);
    EXPECT_EQ(pic.height, 480);
    EXPECT_GT(Colours(pic.pixels), 50);
}

TEST_F(DefaultAssets, FontHoldsEveryPrintableCharacterIn16PixelCells) {
    // One row of 16 x 16 cells, characters 32 to 127 in order.
    const qb::Picture pic = Load("FontDefault16.PNG");
    ASSERT_EQ(pic.height, 16);
    ASSERT_EQ(pic.width, 96 * 16);
    std::set<std::vector<std::uint32_t>> glyphs;
    for (int c = 32; c < 128; ++c) {
        const auto cell = Cell(pic, (c - 32) * 16, 0, 16, 16);
        if (c == ' ') {
            EXPECT_EQ(Colours(cell), 1);
            EXPECT_EQ(cell[0], 0u);
            continue;
        }
        EXPECT_GT(Colours(cell), 1) << "character " << c << " is blank";
        EXPECT_TRUE(glyphs.insert(cell).second) << "character " << c << " repeats";
    }
}

TEST_F(DefaultAssets, TestSoundIsAShortValidMp3) {
    const std::string mp3 = qbtest::ReadFile(Assets() / "test.mp3");
    ASSERT_GT(mp3.size(), 1000u);
    auto byte = [&](std::size_t i) { return unsigned(std::uint8_t(mp3[i])); };
    std::size_t pos = 0;
    if (mp3.compare(0, 3, "ID3") == 0)
        pos = 10 + ((byte(6) << 21) | (byte(7) << 14) | (byte(8) << 7) | byte(9));
    std::size_t end = mp3.size();
    if (end >= 128 && mp3.compare(end - 128, 3, "TAG") == 0) end -= 128;

    static const int kBitrates[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static const int kRates[] = {44100, 48000, 32000};
    int frames = 0, rate = 0;
    while (pos + 4 <= end) {
        ASSERT_EQ(byte(pos), 0xFFu) << "no frame sync at " << pos;
        ASSERT_EQ(byte(pos + 1) & 0xFE, 0xFAu) << "not MPEG-1 Layer III at " << pos;
        const unsigned bitrateIndex = byte(pos + 2) >> 4, rateIndex = (byte(pos + 2) >> 2) & 3;
        ASSERT_TRUE(bitrateIndex >= 1 && bitrateIndex <= 14 && rateIndex < 3) << pos;
        if (rate == 0) rate = kRates[rateIndex];
        ASSERT_EQ(rate, kRates[rateIndex]) << "sample rate changes at " << pos;
        pos += 144000 * kBitrates[bitrateIndex] / rate + ((byte(pos + 2) >> 1) & 1);
        ++frames;
    }
    EXPECT_EQ(pos, end) << "the last frame is cut";
    const double seconds = frames * 1152.0 / rate;
    EXPECT_GE(seconds, 0.5);
    EXPECT_LE(seconds, 3.0);
}

} // namespace
