// Fuzzes the project loader: any bytes as project.ini are read into a project (the work of
// LoadProject without the workspace), validated as a build would, and written back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "build/validate.h"
#include "model/projectfile.h"
#include "platform/messages.h"
#include "platform/profile.h"

namespace {
class QuietMessages final : public qb::MessageService {
public:
    void inform(std::string_view, std::string_view) override {}
    bool askOkCancel(std::string_view, std::string_view) override { return true; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QuietMessages quiet;
    qb::SetMessageService(&quiet);
    qb::ProfileFile file;
    file.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    qb::ProjectRecord project;
    std::string error;
    if (!qb::ReadProject(file, "/nonexistent/fuzz", project, &error)) return 0;
    qb::BuildSettings settings = qb::ValidateProject(project);
    qb::CheckGameArea(project, settings);
    // Saving what was read must give a document that reads back to the same objects.
    qb::ProfileFile saved;
    qb::WriteProjectKeys(project, saved);
    qb::ProfileFile again;
    again.parse(saved.bytes());
    qb::ProjectRecord reread;
    if (!qb::ReadProject(again, "/nonexistent/fuzz", reread, &error)) __builtin_trap();
    if (reread.objects.size() != project.objects.size()) __builtin_trap();
    for (std::size_t i = 0; i < project.objects.size(); ++i)
        if (reread.objects[i].lpDatiOggetto != project.objects[i].lpDatiOggetto) __builtin_trap();
    return 0;
}
