// Fuzzes the project loader: any bytes as project.ini are read into a project (the work of
// LoadProject without the workspace), validated as a build would, and written back.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "build/validate.h"
#include "model/projectfile.h"
#include "platform/messages.h"
#include "platform/profile.h"

#include <unistd.h>

namespace {
class QuietMessages final : public qb::MessageService {
public:
    void inform(std::string_view, std::string_view) override {}
    bool askOkCancel(std::string_view, std::string_view) override { return true; }
};

// The loader proper decodes records while the file is parsed: the same bytes in a file must
// give what ReadProject gave for the parsed document.
void CheckTheFileLoadsAlike(const std::uint8_t* data, std::size_t size, bool read,
                            const qb::ProjectRecord& project, const std::string& error) {
    static std::string dir, path;
    if (path.empty()) {
        char name[] = "/tmp/qb_fuzz_project_XXXXXX";
        if (!::mkdtemp(name)) __builtin_trap();
        dir = name;
        path = dir + "/project.ini";
        std::atexit([] {
            std::remove(path.c_str());
            ::rmdir(dir.c_str());
        });
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    const bool written = std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0 || !written) return;
    qb::ProjectRecord loaded;
    std::string why;
    if (qb::ReadProjectFile(path, "/nonexistent/fuzz", loaded, &why) != read) __builtin_trap();
    if (!read) {
        if (why != error) __builtin_trap();
        return;
    }
    if (loaded.objects.size() != project.objects.size()) __builtin_trap();
    for (std::size_t i = 0; i < project.objects.size(); ++i) {
        const qb::ObjectRecord& a = loaded.objects[i];
        const qb::ObjectRecord& b = project.objects[i];
        if (a.IDoggetto != b.IDoggetto || a.tipoOggetto != b.tipoOggetto ||
            a.sDescrizione != b.sDescrizione || a.lpDatiOggetto != b.lpDatiOggetto)
            __builtin_trap();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QuietMessages quiet;
    qb::SetMessageService(&quiet);
    qb::ProfileFile file;
    const bool parsed = file.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    qb::ProjectRecord project;
    std::string error;
    const bool read = qb::ReadProject(file, "/nonexistent/fuzz", project, &error);
    if (parsed) CheckTheFileLoadsAlike(data, size, read, project, error);
    if (!read) return 0;
    qb::BuildSettings settings = qb::ValidateProject(project);
    qb::CheckGameArea(project, settings);
    // A saved project reads back as itself. The first save is not compared with the input:
    // growth on load may give a hand-edited record bytes (a Level count) it did not hold, so
    // the comparison is between the first and the second generation.
    auto roundTrip = [](const qb::ProjectRecord& from, qb::ProjectRecord& to) {
        qb::ProfileFile saved;
        qb::WriteProjectKeys(from, saved);
        qb::ProfileFile again;
        again.parse(saved.bytes());
        std::string why;
        if (!qb::ReadProject(again, "/nonexistent/fuzz", to, &why)) __builtin_trap();
        if (to.objects.size() != from.objects.size()) __builtin_trap();
    };
    qb::ProjectRecord first, second;
    roundTrip(project, first);
    roundTrip(first, second);
    for (std::size_t i = 0; i < first.objects.size(); ++i)
        if (second.objects[i].lpDatiOggetto != first.objects[i].lpDatiOggetto) __builtin_trap();
    return 0;
}
