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
