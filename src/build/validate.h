#pragma once
// Validation before a build: one pass over a project's items that checks what the engine needs
// and gathers the build settings from the Main parameters item.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/record.h"
#include "model/workspace.h"

namespace qb {

// Where the built game finds its resources.
namespace location {
constexpr std::uint32_t BesideGame = 0, SpecificPath = 1, Embedded = 2;
}

struct BuildSettings {
    std::string error;  // empty = no error; otherwise one "#error '...'" line
    std::int32_t dimX = 0;
    std::int32_t dimY = 0;
    std::uint32_t compilazioneTipo = 0;
    std::string sPathExternalFiles;       // with a trailing "/" unless empty
    std::string descriptionWhileLoading;
    std::uint32_t nExternalObj = 0;
    std::uint32_t engineTemplate = 0;     // 0..4 picks Quillbox.DLL .. Quillbox4.DLL
};

// Smallest game area the shoot'em-up engine plays in.
constexpr std::int32_t kMinGameWidth = 320;
constexpr std::int32_t kMinGameHeight = 256;

// The checks of the validation, each with its message literal.
enum class Check : std::uint8_t {
    SitePath, NoShip, NoShipFire, NoLevel, NoSplashTitle, NoSplashEnd, NoDefaultFont,
    NoAnimation, NoExplosion, NoShield, NoSprite, NoSound, NoBackground, NoNextPower, NoFire,
    GameArea,  // the build's own check, after the pass
};

// Things the build does not check but the game will trip over; they never fail a build.
enum class Warning : std::uint8_t {
    MissingItem, WrongType, SoundNotChosen, MissingFile, UndecodableFile, NoPieces, OutsideArea,
};

// One failed check: the item, the message as the validation words it (literal + the item's
// description), the check, and a plain sentence saying what to do about it.
struct Problem {
    std::int32_t objectId = 0;
    std::string message;
    Check check = Check::SitePath;
    std::string advice;
    bool warning = false;  // a warning: never fails a build
    Warning warningKind = Warning::MissingItem;
};

// True when n <= 0, otherwise whether each of the n 8-byte sprite frames from offset names a
// sheet (low 16 bits of its first word). Frames the record does not hold read as zero, that is
// as frames without a sprite.
bool AllFramesHaveSprite(const ConstRecordView& record, std::size_t offset, std::int32_t n);

// The pass; it never changes the project. The last failed check in item and check order is
// the one reported.
BuildSettings ValidateProject(const ProjectRecord& project);
BuildSettings ValidateProject(int projectIndex);

// The same pass, answering every failed check in item and check order; ValidateProject's error
// is the message of the last of them (both come from one pass). With settings, the settings are
// filled as ValidateProject fills them.
std::vector<Problem> ValidationProblems(const ProjectRecord& project,
                                        BuildSettings* settings = nullptr);
// Every problem that stops a build: the validation's, then the build's game-area check, so the
// last of them is the one message the build shows.
std::vector<Problem> BuildProblems(const ProjectRecord& project);
// The build's problems followed by the warnings, each kind in project order.
std::vector<Problem> ProjectWarnings(const ProjectRecord& project);
std::vector<Problem> ProjectProblems(const ProjectRecord& project);

// The build's own game-area check for shoot'em-up projects; its message replaces any earlier
// error.
constexpr const char* kGameAreaTooSmall = "#error 'Game area' too small!";
bool GameAreaTooSmall(const ProjectRecord& project, const BuildSettings& settings);
void CheckGameArea(const ProjectRecord& project, BuildSettings& settings);

// Whether the type is a Main parameters type that holds build settings (1, 100, 200, 300, 500,
// 600), and where it keeps its resource location.
bool IsBuildMainParametersType(std::uint32_t type);
bool ResourceLocationOffset(std::uint32_t type, std::size_t& offset);

} // namespace qb
