#pragma once
// Building a game from a project: Compile (into Release/) and Test (beside the project's own
// files). The engine is a prebuilt movie; the build copies it, appends the scrambled project
// file (and, for embedded resources, the pictures as text) and writes the page.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "build/validate.h"

namespace qb {

enum class BuildMode { Compile, Test };

constexpr const char* kGameFileName = "Game.swf";
constexpr const char* kPageFileName = "Game.HTML";  // the page, and its template
// Preference (section main, "1" = on): Compile also writes Release/index.html with Ruffle beside it.
constexpr const char* kWebPlayerPreference = "webPlayerInRelease";
constexpr const char* kReleaseFolderName = "Release";
constexpr const char* kRemoteDataFolderName = "RemoteData";
constexpr std::uint32_t kEngineTemplateCount = 5;

// "Quillbox.DLL", "Quillbox1.DLL" .. "Quillbox4.DLL"; empty outside 0..4.
std::string EngineTemplateName(std::uint32_t index);

// Validates and builds the project at that index. Every failure is shown through the message
// service as one "#error '...'" line and answers false.
bool BuildGame(int projectIndex, BuildMode mode);

// Writes the resource location into every Main parameters item of the project.
void SetResourceLocation(int projectIndex, std::uint32_t value);
void SetResourceLocation(ProjectRecord& project, std::uint32_t value);

// One entry of the block: width, height, characters. Its buffer is allocated at its final size
// and written once (a 4096 x 4096 picture alone is 32 MiB of characters).
struct EmbeddedPictureBytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::string_view view() const { return {data.get(), size}; }
};

// The block is kept as one piece per picture: a single growing buffer would copy the large
// ones again.
struct EmbeddedPictures {
    std::vector<EmbeddedPictureBytes> entries;  // in block order
    std::size_t size = 0;                       // E, the sum of the entries
    bool tooLarge = false;             // stopped: the block would not fit the 8-digit trailer
    std::vector<std::string> skippedLinks;  // file names of pictures not read, being links
    std::uint32_t count() const { return static_cast<std::uint32_t>(entries.size()); }
    std::string block() const;         // the entries joined
};
// The pictures block for that resource location: empty unless it is Embedded; otherwise one
// entry per picture item (types 2, 3, 4, 13 with a file name), in table order. A picture that
// cannot be decoded gives a 0 x 0 entry.
EmbeddedPictures EncodeEmbeddedImages(int projectIndex, std::uint32_t resourceLocation);
EmbeddedPictures EncodeEmbeddedImages(const ProjectRecord& project,
                                      std::uint32_t resourceLocation);

// The project name as the page receives it: <, >, & and " become &lt; &gt; &amp; &quot; (the
// name lands in the page's markup, where it would otherwise be markup itself).
std::string EscapePageText(std::string_view text);

// The page: copies in to out, replacing each "$" by the project name and then each "+" and
// "%" at the same position by the width and height, overwriting the bytes behind them. The
// page keeps the template's length exactly (text running past its end is cut). Streams, so a
// template of any size is handled; false when reading or writing failed.
using PageWriter = std::function<bool(const char* data, std::size_t size)>;
bool SubstitutePagePlaceholders(std::istream& in, const PageWriter& write, std::string_view name,
                                std::int32_t width, std::int32_t height);

} // namespace qb
