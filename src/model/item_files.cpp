#include "model/item_files.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "model/catalogue.h"
#include "model/commands.h"
#include "model/folders.h"
#include "model/history.h"
#include "model/layouts/bitmaps.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "pixbridge/pixbridge.h"
#include "platform/pictures.h"
#include "platform/temporaries.h"

namespace qb {

namespace fs = std::filesystem;

namespace {

constexpr std::array<unsigned char, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::string Quoted(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    return "\"" + (name.empty() ? path : name) + "\"";
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

const char* ExtensionOf(ItemFileKind kind) { return kind == ItemFileKind::Sound ? ".mp3" : ".png"; }
const char* WhatOf(ItemFileKind kind) {
    return kind == ItemFileKind::Sound ? "an MP3 sound" : "a PNG picture";
}

// The first bytes of a file (fewer when it is shorter).
std::string Head(const std::string& path, std::size_t count) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(in ? count : static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

std::uint32_t BigEndian32(const std::string& b, std::size_t at) {
    return (std::uint32_t(static_cast<unsigned char>(b[at])) << 24) |
           (std::uint32_t(static_cast<unsigned char>(b[at + 1])) << 16) |
           (std::uint32_t(static_cast<unsigned char>(b[at + 2])) << 8) |
           std::uint32_t(static_cast<unsigned char>(b[at + 3]));
}

bool HasPngSignature(const std::string& head) {
    return head.size() >= kPngSignature.size() &&
           std::equal(kPngSignature.begin(), kPngSignature.end(), head.begin(),
                      [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); });
}

// An ID3v2 tag header ("ID3", version, flags, a size of four 7-bit bytes) or the header of an
// MPEG audio frame (eleven sync bits, then a version, layer, bit rate and sampling rate that
// exist).
bool LooksLikeMp3(const std::string& head) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(head[i]); };
    if (head.size() >= 10 && head.compare(0, 3, "ID3") == 0)
        return byte(3) != 0xFF && byte(4) != 0xFF &&
               ((byte(6) | byte(7) | byte(8) | byte(9)) & 0x80) == 0;
    if (head.size() < 4 || byte(0) != 0xFF || (byte(1) & 0xE0) != 0xE0) return false;
    const unsigned version = (byte(1) >> 3) & 3u, layer = (byte(1) >> 1) & 3u;
    const unsigned bitrate = byte(2) >> 4, sampling = (byte(2) >> 2) & 3u;
    return version != 1 && layer != 0 && bitrate != 15 && sampling != 3;
}

std::string PictureProblem(const std::string& source, const std::string& head) {
    const std::string name = Quoted(source);
    if (!HasPngSignature(head)) return name + " is not a PNG picture: its content is not PNG data.";
    const DecodeResult decoded = TryDecodePicture(source);
    if (decoded == DecodeResult::Decodes) return {};
    if (decoded == DecodeResult::Unknown)
        return "Pictures cannot be checked because the PNG library Pixbridge is missing.";
    // The header says how large the picture is: a picture beyond the decoder's limits gets a
    // message that says so, and what to do.
    if (head.size() >= 24 && head.compare(12, 4, "IHDR") == 0) {
        const std::uint32_t width = BigEndian32(head, 16), height = BigEndian32(head, 20);
        if (width > kPixbridgeMaxSide || height > kPixbridgeMaxSide ||
            std::uint64_t{width} * height > kPixbridgeMaxPixels)
            return name + " is " + std::to_string(width) + " x " + std::to_string(height) +
                   " pixels, too large: pictures can be at most " +
                   std::to_string(kPixbridgeMaxSide) + " pixels wide and high, and " +
                   std::to_string(kPixbridgeMaxPixels) +
                   " pixels in all. Make it smaller in an image program first.";
    }
    return name + " is damaged or is not a PNG picture that can be read.";
}

// Where an item's file may be replaced: a path in the project folder itself (never the project
// file, never a folder). Answers the path, or empty.
std::string ReplaceableItemFile(const ProjectRecord& project, const ObjectRecord& object) {
    const std::string path = object.record().text(layout::file_backed::kPath,
                                                  layout::file_backed::kPathSize);
    if (path.empty()) return {};
    const fs::path file = fs::path(path).lexically_normal();
    if (!file.is_absolute() || !file.has_filename() || file.filename() == kProjectFileName)
        return {};
    const fs::path folder = (fs::path(project.sPathProgetto) / "").lexically_normal();
    if ((file.parent_path() / "").lexically_normal() != folder) return {};
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(file, ec);
    if (!ec && fs::exists(status) && !fs::is_regular_file(status) && !fs::is_symlink(status))
        return {};
    return file.string();
}

} // namespace

ItemFileKind ItemFileKindOfType(std::uint32_t type) {
    const DefaultAsset* asset = DefaultAssetOfType(type);
    if (!asset) return ItemFileKind::None;
    if (asset->extension == ".png") return ItemFileKind::Picture;
    if (asset->extension == ".mp3") return ItemFileKind::Sound;
    return ItemFileKind::None;
}

ItemFileKind ItemFileKindOfName(const std::string& path) {
    const std::string extension = Lower(fs::path(path).extension().string());
    if (extension == ".png") return ItemFileKind::Picture;
    if (extension == ".mp3") return ItemFileKind::Sound;
    return ItemFileKind::None;
}

std::string ItemFileProblem(const std::string& source, ItemFileKind kind) {
    if (kind == ItemFileKind::None) return "This item has no file of its own.";
    const std::string name = Quoted(source);
    std::error_code ec;
    const fs::file_status status = fs::status(source, ec);
    if (source.empty() || !fs::exists(status)) return name + " cannot be found.";
    if (fs::is_directory(status))
        return name + " is a folder: choose " + WhatOf(kind) + " (" + ExtensionOf(kind) +
               ") instead.";
    if (!fs::is_regular_file(status)) return name + " is not a file.";
    if (ItemFileKindOfName(source) != kind)
        return name + " is not a " + ExtensionOf(kind) + " file: only " +
               (kind == ItemFileKind::Sound ? "MP3 sounds" : "PNG pictures") + " can be used here.";
    const std::uintmax_t size = fs::file_size(source, ec);
    if (ec) return name + " cannot be read.";
    if (size == 0) return name + " is empty (0 bytes).";
    const std::string head = Head(source, 24);
    if (head.empty()) return name + " cannot be read.";
    if (kind == ItemFileKind::Picture) return PictureProblem(source, head);
    if (!LooksLikeMp3(head))
        return name + " is not an MP3 sound: it begins with neither an ID3 tag nor an MPEG audio frame.";
    return {};
}

bool ReplaceFileWithCopy(const std::string& source, const std::string& destination) {
    std::error_code ec;
    if (source.empty() || destination.empty() || !fs::is_regular_file(source, ec)) return false;
    if (fs::exists(destination, ec) && fs::equivalent(source, destination, ec)) return false;
    if (fs::is_directory(destination, ec)) return false;
    const fs::path target(destination);
    const std::string folder = target.parent_path().string();
    if (!fs::is_directory(folder, ec)) return false;
    const fs::path temporary = TemporaryNameFor(folder, target.filename().string()) + "new";
    fs::remove(temporary, ec);
    if (!fs::copy_file(source, temporary, fs::copy_options::overwrite_existing, ec) || ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

std::string ImportItemFile(int projectIndex, std::int32_t objectId, const std::string& source) {
    ProjectRecord* project = ProjectAt(projectIndex);
    const ObjectRecord* object = project ? FindObject(*project, objectId) : nullptr;
    if (!object) return "The item is no longer in the project.";
    const ItemFileKind kind = ItemFileKindOfType(object->tipoOggetto);
    if (std::string problem = ItemFileProblem(source, kind); !problem.empty()) return problem;
    const std::string target = ReplaceableItemFile(*project, *object);
    if (target.empty())
        return "The item's file is not a file in the project folder, so it is not replaced.";
    std::error_code ec;
    if (fs::exists(target, ec) && fs::equivalent(source, target, ec)) return {};  // its own file
    // The file being replaced is kept in the project's history first: Undo brings it back.
    {
        const ChangeLabel change(std::string(kind == ItemFileKind::Sound ? "Import sound "
                                                                         : "Import picture ") +
                                     object->sDescrizione,
                                 objectId);
        KeepVersionBeforeChange(project->sPathProgetto);
    }
    if (!ReplaceFileWithCopy(source, target))
        return Quoted(source) + " could not be copied over " + Quoted(target) +
               " in the project folder (is the disk full or the folder read-only?).";
    return {};
}

std::string NewItemFromFile(int projectIndex, std::int32_t groupObjectId,
                            const std::string& source, std::int32_t& newId) {
    newId = 0;
    const ObjectRecord* group = FindObject(groupObjectId, projectIndex);
    if (!group || group->tipoOggetto != 0) return "The group is no longer in the project.";
    const ItemFileKind kind = ItemFileKindOfType(group->sottoTipoOggetto);
    if (kind == ItemFileKind::None) return "Items of this group have no file of their own.";
    if (std::string problem = ItemFileProblem(source, kind); !problem.empty()) return problem;
    const std::int32_t id = NewItem(projectIndex, groupObjectId);
    if (id == 0) return "No new item could be made in this group.";
    if (std::string problem = ImportItemFile(projectIndex, id, source); !problem.empty()) {
        // The item is taken back with its default file: a drop that failed leaves nothing.
        DeleteItem(projectIndex, id);
        return problem;
    }
    newId = id;
    return {};
}

} // namespace qb
