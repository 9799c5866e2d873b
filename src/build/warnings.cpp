// Warnings: what the build lets through but the game trips over. They are listed beside the
// build's problems and never fail a build.
#include <algorithm>
#include <array>
#include <cctype>
#include <initializer_list>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <system_error>
#include <unordered_map>

#include "build/validate.h"
#include "model/catalogue.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/enemy.h"
#include "model/layouts/explosion_bonus.h"
#include "model/layouts/jigsaw_main.h"
#include "model/layouts/racing_main.h"
#include "model/layouts/ship.h"
#include "model/layouts/shootemup_main.h"
#include "model/layouts/sound.h"
#include "model/references.h"
#include "platform/pictures.h"

namespace qb {

namespace {

namespace L = layout;

std::string Quoted(const ObjectRecord& object) { return "'" + object.sDescrizione + "'"; }

void Warn(std::vector<Problem>& out, const ObjectRecord& object, Warning kind,
          std::string message, std::string advice) {
    Problem problem;
    problem.objectId = object.IDoggetto;
    problem.message = std::move(message);
    problem.advice = std::move(advice);
    problem.warning = true;
    problem.warningKind = kind;
    out.push_back(std::move(problem));
}

void CheckFile(std::vector<Problem>& out, const ObjectRecord& object) {
    const std::string path = object.record().text(L::file_backed::kPath, L::file_backed::kPathSize);
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec))
        Warn(out, object, Warning::MissingFile,
             "the file of " + Quoted(object) + " is missing: " +
                 (path.empty() ? std::string("no file named") : path),
             "Put the file back in the project folder, or delete " + Quoted(object) + ".");
}

void CheckJigsaw(std::vector<Problem>& out, const ObjectRecord& object) {
    namespace J = L::jigsaw_main;
    const ConstRecordView r = object.record();
    if (r.i32(J::kPiecesAcross) <= 0 || r.i32(J::kPiecesDown) <= 0)
        Warn(out, object, Warning::NoPieces, "the jigsaw of " + Quoted(object) + " has no pieces",
             "Give the jigsaw at least one piece across and one down in " + Quoted(object) + ".");
}

// --- Files that are there but cannot be used ---------------------------------------------------

// Whether an MP3 holds an MPEG audio frame header: 11 sync bits, then a version, layer, bit
// rate and sample rate that are not the reserved values. An ID3v2 tag in front is skipped.
bool HasMpegFrameSync(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    constexpr std::size_t kScan = 1u << 20;  // a frame starts long before this in any MP3
    std::array<unsigned char, 10> tag{};
    in.read(reinterpret_cast<char*>(tag.data()), tag.size());
    std::uint64_t start = 0;
    if (in.gcount() == 10 && tag[0] == 'I' && tag[1] == 'D' && tag[2] == '3') {
        const std::uint64_t size = (std::uint64_t(tag[6] & 0x7F) << 21) |
                                   (std::uint64_t(tag[7] & 0x7F) << 14) |
                                   (std::uint64_t(tag[8] & 0x7F) << 7) | (tag[9] & 0x7F);
        start = 10 + size + ((tag[5] & 0x10) ? 10 : 0);
    }
    in.clear();
    in.seekg(static_cast<std::streamoff>(start));
    std::vector<unsigned char> bytes(kScan);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const std::size_t n = in.gcount() > 0 ? static_cast<std::size_t>(in.gcount()) : 0;
    for (std::size_t i = 0; i + 2 < n; ++i) {
        if (bytes[i] != 0xFF || (bytes[i + 1] & 0xE0) != 0xE0) continue;
        const unsigned version = (bytes[i + 1] >> 3) & 3u, layer = (bytes[i + 1] >> 1) & 3u;
        const unsigned bitrate = bytes[i + 2] >> 4, rate = (bytes[i + 2] >> 2) & 3u;
        if (version != 1 && layer != 0 && bitrate != 15 && rate != 3) return true;
    }
    return false;
}

// What was found about each file, while it keeps its size and time: the panel asks again after
// every save, and decoding every picture each time would cost more than the save.
struct FileVerdict {
    std::filesystem::file_time_type time;
    std::uintmax_t size = 0;
    bool usable = false;
};
std::mutex g_verdictsMutex;
std::map<std::string, FileVerdict> g_verdicts;
constexpr std::size_t kMaxVerdicts = 4096;

// Whether the item's file, a regular file that exists, can be used: a PNG that Pixbridge
// decodes, an MP3 with a frame. Links and special files are left to the missing-file check.
bool FileUsable(const std::string& path, bool sound) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (ec || !fs::is_regular_file(status)) return true;
    const fs::file_time_type time = fs::last_write_time(path, ec);
    if (ec) return true;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) return true;
    {
        std::lock_guard lock(g_verdictsMutex);
        const auto found = g_verdicts.find(path);
        if (found != g_verdicts.end() && found->second.time == time && found->second.size == size)
            return found->second.usable;
    }
    bool usable = true;
    if (sound) {
        usable = HasMpegFrameSync(path);
    } else {
        const DecodeResult result = TryDecodePicture(path);
        if (result == DecodeResult::Unknown) return true;  // nothing to decode with: no verdict
        usable = result == DecodeResult::Decodes;
    }
    std::lock_guard lock(g_verdictsMutex);
    if (g_verdicts.size() >= kMaxVerdicts) g_verdicts.clear();
    g_verdicts[path] = {time, size, usable};
    return usable;
}

void CheckFileContents(std::vector<Problem>& out, const ObjectRecord& object) {
    const ConstRecordView r = object.record();
    const bool sound = object.tipoOggetto == 5;
    // A sound played from the engine's library does not use its file.
    if (sound && r.u32(L::sound::kSource) == L::sound::kSourceLibrary) return;
    const std::string path = r.text(L::file_backed::kPath, L::file_backed::kPathSize);
    if (path.empty() || FileUsable(path, sound)) return;
    if (sound)
        Warn(out, object, Warning::UndecodableFile,
             "the file of " + Quoted(object) + " is not an MP3 sound: " + path,
             "Import an MP3 sound into " + Quoted(object) + ".");
    else
        Warn(out, object, Warning::UndecodableFile,
             "the picture of " + Quoted(object) + " cannot be read as a PNG: " + path,
             "Save the picture of " + Quoted(object) + " again as a PNG file.");
}

// --- References --------------------------------------------------------------------------------

// Sound pairs whose switch the build itself checks: they are reported there.
bool SoundCheckedByBuild(const Reference& ref) {
    static constexpr std::pair<std::uint32_t, std::size_t> kChecked[] = {
        {7, L::enemy::kFireSound}, {10, L::ship_fire::kSound}, {12, L::explosion::kSound},
        {13, L::splash_bitmap::kSound}, {14, L::bonus::kSound}};
    if (ref.referrerType == 8 && ref.count == RunCount::BehindRun) return true;
    return std::any_of(std::begin(kChecked), std::end(kChecked), [&](const auto& checked) {
        return checked.first == ref.referrerType && checked.second == ref.first;
    });
}

std::string Article(const std::string& name) {
    const char c = name.empty() ? 'x' : static_cast<char>(std::tolower(name[0]));
    return (c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u') ? "an " : "a ";
}

// Each field naming an item that is gone or of another type: one warning per field and record.
void CheckReferences(std::vector<Problem>& out, const ObjectRecord& object,
                     const std::unordered_map<std::int32_t, const ObjectRecord*>& byId,
                     std::uint32_t gameType) {
    const ConstRecordView r = object.record();
    for (const Reference& ref : ReferencesOf(object.tipoOggetto)) {
        if (ref.soundPair && !SoundCheckedByBuild(ref) && ReferenceLive(ref, r)) {
            bool none = false;
            VisitIds(ref, r, [&none](std::size_t, std::int32_t id) { return none = id == 0; });
            if (none) {
                Warn(out, object, Warning::SoundNotChosen,
                     "the " + std::string(ref.what) + " of " + Quoted(object) +
                         " is switched on but no sound is chosen",
                     "Choose a sound for the " + std::string(ref.what) + " of " +
                         Quoted(object) + ", or switch it off.");
                continue;
            }
        }
        std::int32_t missing = 0;
        const ObjectRecord* wrong = nullptr;
        VisitIds(ref, r, [&](std::size_t, std::int32_t id) {
            if (id == 0) return false;
            const auto found = byId.find(id);
            if (found == byId.end()) missing = id;
            else if (!ref.mayName(found->second->tipoOggetto)) wrong = found->second;
            return missing != 0 || wrong != nullptr;
        });
        const std::string field = "the " + std::string(ref.what) + " of " + Quoted(object);
        const std::string wanted = ItemTypeName(ref.targets[0], gameType);
        if (missing != 0)
            Warn(out, object, Warning::MissingItem,
                 field + " names item " + std::to_string(missing) + ", which does not exist",
                 "Choose another item for " + field + ", or clear it.");
        else if (wrong)
            Warn(out, object, Warning::WrongType,
                 field + " names " + Quoted(*wrong) + " (" +
                     ItemTypeName(wrong->tipoOggetto, gameType) + "), not " + Article(wanted) +
                     wanted + " item",
                 "Choose " + Article(wanted) + wanted + " item for " + field + ".");
    }
}

// --- Positions outside the game area -----------------------------------------------------------

struct Position {
    const char* what;
    std::size_t x, y;
    std::size_t shownFlag = kNoWord;  // read only while this flag is set
};

// The texts of the shoot'em-up and racing information lines, the jigsaw's time: points that
// must lie inside the game area.
void CheckPositions(std::vector<Problem>& out, const ObjectRecord& object, std::int32_t width,
                    std::int32_t height, std::initializer_list<Position> positions) {
    if (width <= 0 || height <= 0) return;
    const ConstRecordView r = object.record();
    const std::string area = std::to_string(width) + " x " + std::to_string(height);
    for (const Position& p : positions) {
        if (!r.holds(p.x, 4) || !r.holds(p.y, 4)) continue;
        if (p.shownFlag != kNoWord && r.u32(p.shownFlag) == 0) continue;
        const std::int32_t x = r.i32(p.x), y = r.i32(p.y);
        if (x >= 0 && y >= 0 && x < width && y < height) continue;
        Warn(out, object, Warning::OutsideArea,
             "the " + std::string(p.what) + " of " + Quoted(object) + " (" + std::to_string(x) +
                 ", " + std::to_string(y) + ") lies outside the game area of " + area,
             "Move the " + std::string(p.what) + " of " + Quoted(object) + " inside the " + area +
                 " game area.");
    }
}

// A rectangle given by its edges or by its corner and size.
void CheckRectangle(std::vector<Problem>& out, const ObjectRecord& object, const char* what,
                    std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                    std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) return;
    if (left >= 0 && top >= 0 && right <= width && bottom <= height) return;
    const std::string area = std::to_string(width) + " x " + std::to_string(height);
    Warn(out, object, Warning::OutsideArea,
         "the " + std::string(what) + " of " + Quoted(object) + " (" + std::to_string(left) +
             ", " + std::to_string(top) + ") - (" + std::to_string(right) + ", " +
             std::to_string(bottom) + ") reaches outside the game area of " + area,
         "Keep the " + std::string(what) + " of " + Quoted(object) + " inside the " + area +
             " game area.");
}

// shooter: the project's shoot'em-up Main parameters, whose game area holds the ship's area.
void CheckArea(std::vector<Problem>& out, const ObjectRecord& object, const ObjectRecord* shooter) {
    const ConstRecordView r = object.record();
    switch (object.tipoOggetto) {
    case 1: {
        namespace M = L::shootemup_main;
        CheckPositions(out, object, r.i32(M::kGameAreaWidth), r.i32(M::kGameAreaHeight),
                       {{"'Score' text", M::kScoreTextX, M::kScoreTextY},
                        {"score", M::kScoreX, M::kScoreY},
                        {"'Lives' text", M::kLivesTextX, M::kLivesTextY, M::kLivesShown},
                        {"lives", M::kLivesX, M::kLivesY, M::kLivesShown},
                        {"'High' text", M::kHighTextX, M::kHighTextY, M::kHighShown},
                        {"high score", M::kHighX, M::kHighY, M::kHighShown}});
        break;
    }
    case 9: {
        // The player's ship moves inside its area, which lies inside the game area.
        namespace M = L::shootemup_main;
        namespace S = L::ship;
        if (!shooter || !r.holds(S::kAreaYf, 4)) break;
        const ConstRecordView main = shooter->record();
        CheckRectangle(out, object, "ship's area", r.i32(S::kAreaXi), r.i32(S::kAreaYi),
                       r.i32(S::kAreaXf), r.i32(S::kAreaYf), main.i32(M::kGameAreaWidth),
                       main.i32(M::kGameAreaHeight));
        break;
    }
    case 100: {
        namespace M = L::racing_main;
        CheckPositions(out, object, r.i32(M::kGameAreaWidth), r.i32(M::kGameAreaHeight),
                       {{"'Current lap' text", M::kCurrentLapTextX, M::kCurrentLapTextY},
                        {"current lap", M::kCurrentLapX, M::kCurrentLapY},
                        {"'Best lap' text", M::kBestLapTextX, M::kBestLapTextY},
                        {"best lap", M::kBestLapX, M::kBestLapY},
                        {"'Laps to go' text", M::kLapsToGoTextX, M::kLapsToGoTextY},
                        {"laps to go", M::kLapsToGoX, M::kLapsToGoY}});
        break;
    }
    case 600: {
        namespace J = L::jigsaw_main;
        const std::int32_t width = r.i32(J::kGameAreaWidth), height = r.i32(J::kGameAreaHeight);
        CheckPositions(out, object, width, height, {{"time", J::kTimeX, J::kTimeY}});
        if (!r.holds(J::kPuzzleHeight, 4)) break;
        const std::int64_t x = r.i32(J::kPuzzleX), y = r.i32(J::kPuzzleY);
        CheckRectangle(out, object, "puzzle area", x, y, x + r.i32(J::kPuzzleWidth),
                       y + r.i32(J::kPuzzleHeight), width, height);
        break;
    }
    default: break;
    }
}

} // namespace

std::vector<Problem> ProjectWarnings(const ProjectRecord& project) {
    std::vector<Problem> out;
    std::unordered_map<std::int32_t, const ObjectRecord*> byId;
    byId.reserve(project.objects.size());
    const ObjectRecord* shooter = nullptr;
    for (const ObjectRecord& object : project.objects) {
        byId.emplace(object.IDoggetto, &object);
        if (!shooter && object.tipoOggetto == 1 && !object.lpDatiOggetto.empty()) shooter = &object;
    }
    for (const ObjectRecord& object : project.objects) {
        if (object.lpDatiOggetto.empty()) continue;
        if (IsFileBackedType(object.tipoOggetto)) {
            const std::size_t before = out.size();
            CheckFile(out, object);
            if (out.size() == before) CheckFileContents(out, object);
        }
        if (object.tipoOggetto == 600) CheckJigsaw(out, object);
        CheckReferences(out, object, byId, project.tipoGioco);
        CheckArea(out, object, shooter);
    }
    return out;
}

} // namespace qb
