#include "build/build.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <istream>
#include <memory>
#include <vector>

#include "build/encoding.h"
#include "build/files.h"
#include "model/folders.h"
#include "model/history.h"
#include "model/preferences.h"
#include "model/projectfile.h"
#include "platform/game_server.h"
#include "platform/messages.h"
#include "platform/pictures.h"
#include "platform/profile.h"
#include "platform/temporaries.h"

namespace qb {

namespace {
// With the preference set, Compile also makes the Release folder playable from a static web host:
// index.html (the built page with Ruffle added) and Ruffle itself. The game counts as built
// either way; a missing Ruffle or a write failure is told.
void AddWebPlayer(const std::string& releaseFolder, const std::string& pagePath) {
    const std::string ruffle = FindRuffleFolder();
    if (ruffle.empty()) {
        ShowMessage("Ruffle is not installed beside Quillbox: no web player was added to the Release folder.");
        return;
    }
    std::ifstream in(pagePath, std::ios::binary);
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    if (!in.good() && !in.eof()) error = "cannot read " + pagePath;
    else PublishWebPlayer(releaseFolder, page, ruffle, &error);
    if (!error.empty()) ShowMessage("The web player was not added to the Release folder: " + error);
}
} // namespace

namespace {

namespace fs = std::filesystem;

constexpr const char* kMainSection = "main";
constexpr const char* kWritingError = "#error 'writing'";

bool IsEmbeddedPictureType(std::uint32_t type) {
    return type == 2 || type == 3 || type == 4 || type == 13;
}

bool Fail(const std::string& text) {
    ShowMessage(text);
    return false;
}

// Copies project.ini into the game file through the scramble; answers the bytes copied.
bool AppendScrambledProject(std::istream& in, OutputFile& out, std::uint64_t& copied) {
    // Small enough to stay in the cache between the read, the scramble and the write.
    std::vector<char> buffer(256u << 10);
    copied = 0;
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const std::streamsize got = in.gcount();
        if (got <= 0) break;
        ScrambleProjectText(buffer.data(), static_cast<std::size_t>(got));
        if (!out.write(buffer.data(), static_cast<std::size_t>(got))) return false;
        copied += static_cast<std::uint64_t>(got);
    }
    return !in.bad();
}

// Compile mode: Release/RemoteData is emptied and removed, and for resources at a specific
// path made again with the project's pictures and sounds. None of this is an error when it
// cannot be done: the game then simply finds fewer resources.
void PrepareRemoteData(const std::string& projectFolder, const std::string& releaseFolder,
                       std::uint32_t resourceLocation, std::vector<std::string>& skippedLinks) {
    const std::string remote = JoinPath(releaseFolder, kRemoteDataFolderName);
    std::error_code ec;
    DeleteAllFiles(remote);
    fs::remove(remote, ec);
    if (resourceLocation == location::SpecificPath) {
        fs::create_directory(remote, ec);
        CopyFilesByPattern(projectFolder, remote, "*.png", &skippedLinks);
        CopyFilesByPattern(projectFolder, remote, "*.mp3", &skippedLinks);
    }
}

// The build writes only inside the project folder: a link in place of one of its folders
// (made by whoever shared the project) is refused before anything is deleted or written.
std::string LinkedFolderError(const std::string& projectFolder, BuildMode mode) {
    if (mode != BuildMode::Compile) return {};
    const std::string release = JoinPath(projectFolder, kReleaseFolderName);
    const std::string remote = JoinPath(release, kRemoteDataFolderName);
    for (const std::string& folder : {release, remote})
        if (IsSymbolicLink(folder))
            return "#error 'link in the project folder': " + folder +
                   " is a symbolic link; remove it, the build writes only inside the project "
                   "folder";
    return {};
}

// Names the files a build or a copy left out because they are links, in one line.
std::string SkippedLinksNote(const std::vector<std::string>& names, const std::string& where) {
    std::string text = "Not " + where + ", being symbolic links: ";
    constexpr std::size_t kNamed = 10;
    for (std::size_t i = 0; i < names.size() && i < kNamed; ++i)
        text += (i ? ", " : "") + names[i];
    if (names.size() > kNamed) text += " and " + std::to_string(names.size() - kNamed) + " more";
    return text + ".";
}

} // namespace

std::string EngineTemplateName(std::uint32_t index) {
    if (index >= kEngineTemplateCount) return {};
    return index == 0 ? std::string("Quillbox.DLL")
                      : "Quillbox" + std::to_string(index) + ".DLL";
}

void SetResourceLocation(ProjectRecord& project, std::uint32_t value) {
    for (ObjectRecord& object : project.objects) {
        std::size_t offset = 0;
        if (ResourceLocationOffset(object.tipoOggetto, offset))
            object.record().setU32(offset, value);
    }
}

void SetResourceLocation(int projectIndex, std::uint32_t value) {
    if (ProjectRecord* project = ProjectAt(projectIndex)) SetResourceLocation(*project, value);
}

std::string EmbeddedPictures::block() const {
    std::string joined;
    joined.reserve(size);
    for (const EmbeddedPictureBytes& entry : entries) joined += entry.view();
    return joined;
}

EmbeddedPictures EncodeEmbeddedImages(const ProjectRecord& project,
                                      std::uint32_t resourceLocation) {
    EmbeddedPictures result;
    if (resourceLocation != location::Embedded) return result;
    for (const ObjectRecord& object : project.objects) {
        if (!IsEmbeddedPictureType(object.tipoOggetto)) continue;
        const std::string path = object.record().text(0, kPathField);
        if (path.empty()) continue;
        Picture picture;
        std::uint64_t width = 0, height = 0;
        // A picture that is a link is not read: it gives an empty entry, as an unreadable one.
        const bool link = IsSymbolicLink(path);
        if (link) result.skippedLinks.push_back(FileNameOfPath(path));
        if (!link && LoadPicture(path, picture) && picture.width > 0 && picture.height > 0 &&
            picture.pixels.size() ==
                static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
            width = static_cast<std::uint64_t>(picture.width);
            height = static_cast<std::uint64_t>(picture.height);
        }
        // The block's size goes into the 8-digit trailer: stop before it could not be written.
        const std::uint64_t entrySize = 16 + 2 * width * height;
        if (result.size + entrySize > kMaxTrailerValue) {
            result.tooLarge = true;
            return result;
        }
        EmbeddedPictureBytes entry;
        entry.size = static_cast<std::size_t>(entrySize);
        entry.data.reset(new char[entry.size]);
        const std::string header = FormatDecimal8(width) + FormatDecimal8(height);
        std::copy(header.begin(), header.end(), entry.data.get());
        if (width && height)
            EncodePixels(picture.pixels.data(), picture.pixels.size(), entry.data.get() + 16);
        result.size += entry.size;
        result.entries.push_back(std::move(entry));
    }
    return result;
}

EmbeddedPictures EncodeEmbeddedImages(int projectIndex, std::uint32_t resourceLocation) {
    const ProjectRecord* project = ProjectAt(projectIndex);
    return project ? EncodeEmbeddedImages(*project, resourceLocation) : EmbeddedPictures{};
}

std::string EscapePageText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default: out += c; break;
        }
    }
    return out;
}

bool SubstitutePagePlaceholders(std::istream& in, const PageWriter& write, std::string_view name,
                                std::int32_t width, std::int32_t height) {
    const std::string widthText = std::to_string(width);
    const std::string heightText = std::to_string(height);
    // A substitution at one position writes at most this far ahead; keeping that much read
    // ahead (or the end of the page) lets the page be processed in chunks.
    const std::size_t lookAhead =
        std::max({name.size(), widthText.size(), heightText.size()}) + 1;
    constexpr std::size_t kChunk = 1u << 16;

    std::string buffer;
    std::size_t pos = 0;
    bool atEnd = false;
    std::vector<char> chunk(kChunk);
    auto fill = [&] {
        while (!atEnd && buffer.size() - pos < lookAhead) {
            in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            const std::streamsize got = in.gcount();
            if (got > 0) buffer.append(chunk.data(), static_cast<std::size_t>(got));
            if (!in) atEnd = true;
        }
    };
    // Overwrites from pos, cut at the end of the page.
    auto overwrite = [&](std::string_view text) {
        const std::size_t n = std::min(text.size(), buffer.size() - pos);
        std::copy_n(text.begin(), n, buffer.begin() + static_cast<std::ptrdiff_t>(pos));
    };
    for (;;) {
        fill();
        if (in.bad()) return false;
        if (pos >= buffer.size()) break;
        if (buffer[pos] == '$') overwrite(name);
        if (buffer[pos] == '+') overwrite(widthText);
        if (buffer[pos] == '%') overwrite(heightText);
        ++pos;
        // Bytes before pos are final: a substitution only writes at or behind its position.
        if (pos >= kChunk) {
            if (!write(buffer.data(), pos)) return false;
            buffer.erase(0, pos);
            pos = 0;
        }
    }
    return buffer.empty() || write(buffer.data(), buffer.size());
}

bool BuildGame(int projectIndex, BuildMode mode) {
    ProjectRecord* project = ProjectAt(projectIndex);
    if (!project) return false;
    WaitCursor wait;
    const ChangeLabel change(mode == BuildMode::Test ? "Test game" : "Compile");

    BuildSettings settings = ValidateProject(*project);

    // A test build looks for its resources beside Game.swf. The switch is made only in a copy
    // of the project that the game is built from: the project, and the project file on disk,
    // keep their own choice, so no moment exists at which the switched value is saved.
    std::unique_ptr<ProjectRecord> switched;
    if (mode == BuildMode::Test && settings.compilazioneTipo != location::Embedded) {
        switched = std::make_unique<ProjectRecord>(*project);
        SetResourceLocation(*switched, location::BesideGame);
        settings.compilazioneTipo = location::BesideGame;
    }

    const std::string& projectFolder = project->sPathProgetto;
    const std::string iniPath = JoinPath(projectFolder, kProjectFileName);

    // The project file is read once, every key is applied to it, and it is saved once,
    // atomically. That save is the write test: it either replaces the file whole or reports
    // that it could not. `check` ends at "1" and is the only key written when the build stops
    // before writing anything else (its passing "0" would never reach the disk, so it is not
    // set; setting it would also make every rebuild rewrite an unchanged file). A project
    // file that cannot be read is not written at all: saving an empty document would wipe it.
    ProfileFile document;
    const bool loaded = LoadProjectDocument(iniPath, document);
    if (loaded) document.setString(kMainSection, "check", "1");
    const bool areaTooSmall = GameAreaTooSmall(*project, settings);

    // Both templates are needed for a game: without them the build fails instead of
    // reporting success with no game or no page.
    std::string templateError;
    const std::string templateName = EngineTemplateName(settings.engineTemplate);
    const std::string enginePath = JoinPath(AppFolder(), templateName);
    const std::string pageTemplatePath = JoinPath(AppFolder(), kPageFileName);
    std::error_code ec;
    std::ifstream engine;
    std::ifstream pageTemplate;
    templateError = LinkedFolderError(projectFolder, mode);
    if (!templateError.empty()) {
        // reported below, with the other reasons not to build
    } else if (templateName.empty()) {
        templateError = "#error 'no engine template for game area preset " +
                        std::to_string(settings.engineTemplate) + "'";
    } else {
        if (fs::is_regular_file(enginePath, ec)) engine.open(enginePath, std::ios::binary);
        if (fs::is_regular_file(pageTemplatePath, ec))
            pageTemplate.open(pageTemplatePath, std::ios::binary);
        if (!engine.is_open() || !engine) templateError = "#error 'cannot read engine template': " + enginePath;
        else if (!pageTemplate.is_open() || !pageTemplate)
            templateError = "#error 'cannot read page template': " + pageTemplatePath;
    }

    if (!settings.error.empty() || areaTooSmall || !templateError.empty()) {
        if (loaded && document.modified()) KeepVersionBeforeChange(projectFolder);
        const bool written = loaded && document.save(iniPath);
        if (!written) settings.error = kWritingError;
        // The game-area message replaces any other, the write test's included.
        if (areaTooSmall) settings.error = kGameAreaTooSmall;
        if (settings.error.empty()) settings.error = templateError;
        return Fail(settings.error);
    }

    document.setInt(kMainSection, "dimX", settings.dimX);
    document.setInt(kMainSection, "dimY", settings.dimY);
    document.setInt(kMainSection, "compilazioneTipo", settings.compilazioneTipo);
    document.setString(kMainSection, "sPathExternalFiles", settings.sPathExternalFiles);
    document.setInt(kMainSection, "nExternalObj", settings.nExternalObj);
    document.setString(kMainSection, "descriptionWhileLoading", settings.descriptionWhileLoading);
    WriteProjectKeys(*project, document);
    if (const std::string why = WhyItWouldNotLoad(*project, document); !why.empty())
        return Fail(std::string(kWritingError) + ": " + why);
    if (loaded && document.modified()) KeepVersionBeforeChange(projectFolder);
    if (!loaded || !document.save(iniPath)) return Fail(kWritingError);
    RemoveStaleTemporaries(projectFolder);

    // The copy inside the game: the project file as saved, or, for a test build, as it reads
    // with the switched resource location.
    std::string gameCopy;
    if (switched) {
        WriteProjectKeys(*switched, document);
        gameCopy = document.bytes();
    }

    // The trailer holds each size in 8 digits.
    const std::uintmax_t projectSize =
        switched ? static_cast<std::uintmax_t>(gameCopy.size()) : fs::file_size(iniPath, ec);
    if (ec) return Fail(std::string(kWritingError) + ": " + iniPath);
    if (projectSize > kMaxTrailerValue)
        return Fail("#error 'project file too large': " + iniPath + " holds " +
                    std::to_string(projectSize) + " bytes, a game can hold " +
                    std::to_string(kMaxTrailerValue));
    EmbeddedPictures pictures = EncodeEmbeddedImages(*project, settings.compilazioneTipo);
    if (pictures.tooLarge)
        return Fail("#error 'embedded pictures too large': a game can hold " +
                    std::to_string(kMaxTrailerValue) + " bytes of pictures");

    std::string gameFolder = projectFolder;
    std::vector<std::string> skippedLinks = pictures.skippedLinks;
    if (mode == BuildMode::Compile) {
        gameFolder = JoinPath(projectFolder, kReleaseFolderName);
        fs::create_directory(gameFolder, ec);
        RemoveStaleTemporaries(gameFolder);
        PrepareRemoteData(projectFolder, gameFolder, settings.compilazioneTipo, skippedLinks);
    }
    const std::string gamePath = JoinPath(gameFolder, kGameFileName);

    OutputFile game(gamePath);
    if (!game.isOpen()) return Fail(std::string(kWritingError) + ": " + gamePath);
    if (!game.copyFrom(engine)) {
        if (engine.bad()) return Fail("#error 'cannot read engine template': " + enginePath);
        return Fail(std::string(kWritingError) + ": " + gamePath);
    }

    const std::string pagePath = JoinPath(projectFolder, kPageFileName);
    OutputFile page(pagePath);
    if (!page.isOpen()) return Fail(std::string(kWritingError) + ": " + pagePath);
    const bool pageWritten = SubstitutePagePlaceholders(
        pageTemplate, [&page](const char* data, std::size_t size) { return page.write(data, size); },
        EscapePageText(project->sNomeProgetto), settings.dimX, settings.dimY);
    if (!pageWritten) {
        if (pageTemplate.bad()) return Fail("#error 'cannot read page template': " + pageTemplatePath);
        return Fail(std::string(kWritingError) + ": " + pagePath);
    }

    std::uint64_t copied = 0;
    if (switched) {
        ScrambleProjectText(gameCopy.data(), gameCopy.size());
        if (!game.write(gameCopy.data(), gameCopy.size()))
            return Fail(std::string(kWritingError) + ": " + gamePath);
        copied = gameCopy.size();
    } else {
        std::ifstream projectFile(iniPath, std::ios::binary);
        if (!projectFile || !AppendScrambledProject(projectFile, game, copied) ||
            copied != projectSize)
            return Fail(std::string(kWritingError) + ": " + gamePath);
    }
    for (const EmbeddedPictureBytes& entry : pictures.entries)
        if (!game.write(entry.data.get(), entry.size))
            return Fail(std::string(kWritingError) + ": " + gamePath);
    const std::string trailer = FormatDecimal8(pictures.size) + FormatDecimal8(copied);
    if (!game.write(trailer.data(), trailer.size()))
        return Fail(std::string(kWritingError) + ": " + gamePath);
    if (!page.commit()) return Fail(std::string(kWritingError) + ": " + pagePath);
    if (!game.commit()) return Fail(std::string(kWritingError) + ": " + gamePath);
    if (!skippedLinks.empty())
        ShowMessage(SkippedLinksNote(skippedLinks, mode == BuildMode::Compile
                                                       ? "put into the game or Release/RemoteData"
                                                       : "put into the game"));
    if (mode == BuildMode::Compile && GetPreference(kWebPlayerPreference) == "1")
        AddWebPlayer(gameFolder, pagePath);
    return true;
}

} // namespace qb
