#pragma once
// Validation before a build: one pass over a project's items that checks what the engine needs
// and gathers the build settings from the Main parameters item.
#include <cstddef>
#include <cstdint>
#include <string>

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

// True when n <= 0, otherwise whether each of the n 8-byte sprite frames from offset names a
// sheet (low 16 bits of its first word). Frames the record does not hold read as zero, that is
// as frames without a sprite.
bool AllFramesHaveSprite(const ConstRecordView& record, std::size_t offset, std::int32_t n);

// The pass; it never changes the project. The last failed check in item and check order is
// the one reported.
BuildSettings ValidateProject(const ProjectRecord& project);
BuildSettings ValidateProject(int projectIndex);

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
