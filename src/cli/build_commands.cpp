// The build commands: validate and build a project, and read a built game back (inspect,
// extract).
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "build/build.h"
#include "build/files.h"
#include "build/gamefile.h"
#include "build/validate.h"
#include "cli/cli.h"
#include "model/folders.h"
#include "model/projectfile.h"
#include "platform/messages.h"

namespace qbcli {
namespace {

namespace fs = std::filesystem;

int ValidateCommand(const std::vector<std::string>& args) {
    bool all = false;
    std::string folder;
    for (const std::string& arg : args) {
        if (arg == "--all" && !all) all = true;
        else if (arg.starts_with("-") || !folder.empty()) return UsageError("validate");
        else folder = arg;
    }
    if (folder.empty()) return UsageError("validate");
    const int index = OpenProjectFolder(folder);
    if (index < 0) return kFailed;
    if (all) {
        // Every problem, one a line, then the warnings; the build's one message (the last
        // error) on stderr. Warnings never fail.
        const std::vector<qb::Problem> problems = qb::ProjectProblems(*qb::ProjectAt(index));
        const qb::Problem* lastError = nullptr;
        for (const qb::Problem& problem : problems) {
            std::printf("%d\t%s%s\n", problem.objectId, problem.warning ? "warning: " : "",
                        problem.message.c_str());
            if (!problem.warning) lastError = &problem;
        }
        std::fflush(stdout);
        if (lastError) return Fail(lastError->message);
        return kDone;
    }
    qb::BuildSettings settings = qb::ValidateProject(index);
    qb::CheckGameArea(*qb::ProjectAt(index), settings);
    if (!settings.error.empty()) return Fail(settings.error);
    return kDone;
}

int BuildCommand(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("build");
    std::string folder;
    int modes = 0;
    qb::BuildMode mode = qb::BuildMode::Compile;
    for (const std::string& arg : args) {
        if (arg == "--compile") {
            mode = qb::BuildMode::Compile;
            ++modes;
        } else if (arg == "--test") {
            mode = qb::BuildMode::Test;
            ++modes;
        } else if (arg.starts_with("-") || !folder.empty()) {
            return UsageError("build");
        } else {
            folder = arg;
        }
    }
    if (modes != 1 || folder.empty()) return UsageError("build");
    const int index = OpenProjectFolder(folder);
    if (index < 0) return kFailed;

    // The build's own verdict is its result: a message such as Pixbridge's "Error!" for a
    // picture that embeds as 0 x 0 does not fail a build that went through.
    const bool built = qb::BuildGame(index, mode);
    if (built) ForgetMessagesShown();
    return built ? kDone : kFailed;
}

int InspectCommand(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("inspect");
    qb::GameFileContents game;
    std::string error;
    if (!qb::ReadGameFile(args[0], game, &error)) return Fail(error);
    std::printf("S=%u\nE=%u\npictures=%zu\n", game.projectSize, game.pictureSize,
                game.pictures.size());
    std::fwrite(game.projectText.data(), 1, game.projectText.size(), stdout);
    return kDone;
}

// libpng writes through this into an OutputFile, so a PNG appears whole or not at all.
void PngWrite(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<qb::OutputFile*>(png_get_io_ptr(png));
    if (!out->write(data, size)) png_error(png, "write failed");
}
void PngFlush(png_structp) {}

// Only plain data lives in this frame: libpng's errors return here by longjmp.
bool WritePngRows(png_structp png, png_infop info, const qb::GameFileContents& game,
                  const qb::EmbeddedPictureEntry& entry, png_bytep row) {
    if (setjmp(png_jmpbuf(png))) return false;
    // The picture's size is bounded by the block it came from; libpng's own default limit is
    // for reading untrusted files.
    png_set_user_limits(png, 0x7fffffffu, 0x7fffffffu);
    png_set_IHDR(png, info, entry.width, entry.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (std::uint32_t y = 0; y < entry.height; ++y) {
        qb::DecodePictureRow(game, entry, y, row);
        png_write_row(png, row);
    }
    png_write_end(png, info);
    return true;
}

bool WritePicturePng(const std::string& path, const qb::GameFileContents& game,
                     const qb::EmbeddedPictureEntry& entry) {
    qb::OutputFile out(path);
    if (!out.isOpen()) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<png_byte> row(3ull * entry.width);
    png_set_write_fn(png, &out, PngWrite, PngFlush);
    const bool written = WritePngRows(png, info, game, entry, row.data());
    png_destroy_write_struct(&png, &info);
    return written && out.commit();
}

int ExtractCommand(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("extract");
    const std::string& outFolder = args[1];
    // Everything is read and checked before anything is written.
    qb::GameFileContents game;
    std::string error;
    if (!qb::ReadGameFile(args[0], game, &error)) return Fail(error);

    std::error_code ec;
    if (!fs::is_directory(outFolder, ec)) {
        fs::create_directories(outFolder, ec);
        if (ec || !fs::is_directory(outFolder, ec))
            return Fail("cannot create the folder " + outFolder);
    }
    // The names are fixed and every file replaces its name inside OUTDIR (a link planted there
    // is replaced, not followed).
    const std::string projectPath = qb::JoinPath(outFolder, qb::kProjectFileName);
    if (!qb::WriteWholeFile(projectPath, game.projectText))
        return Fail("cannot write " + projectPath);
    std::printf("%s\n", projectPath.c_str());
    // A picture the build could not decode is stored as 0 x 0: there is nothing to write, and
    // a PNG cannot be empty. They are named once, the first few by name (a game may claim
    // millions of them).
    constexpr std::size_t kNamedEmpty = 10;
    std::vector<std::string> empty;
    std::size_t emptyCount = 0;
    for (std::size_t k = 0; k < game.pictures.size(); ++k) {
        const qb::EmbeddedPictureEntry& entry = game.pictures[k];
        const std::string name = "picture_" + std::to_string(k + 1) + ".png";
        if (entry.width == 0 || entry.height == 0) {
            if (emptyCount++ < kNamedEmpty) empty.push_back(name);
            continue;
        }
        const std::string path = qb::JoinPath(outFolder, name);
        if (!WritePicturePng(path, game, entry)) return Fail("cannot write " + path);
        std::printf("%s\n", path.c_str());
    }
    if (emptyCount) {
        std::string names;
        for (const std::string& name : empty) names += (names.empty() ? "" : ", ") + name;
        if (emptyCount > empty.size())
            names += " and " + std::to_string(emptyCount - empty.size()) + " more";
        std::fprintf(stderr, "%zu empty (0 x 0) pictures in the game, not written: %s\n",
                     emptyCount, names.c_str());
    }
    return kDone;
}

const CliRegistration kValidate{{"validate", "validate FOLDER [--all]", ValidateCommand}};
const CliRegistration kBuild{{"build", "build FOLDER --compile|--test", BuildCommand}};
const CliRegistration kInspect{{"inspect", "inspect GAME_SWF", InspectCommand}};
const CliRegistration kExtract{{"extract", "extract GAME_SWF OUTDIR", ExtractCommand}};

} // namespace
} // namespace qbcli
