#include "platform/desktop.h"

namespace qb {

namespace {
class QuietDesktop final : public DesktopService {
public:
    void open(std::string_view) override {}
    bool startDetached(std::string_view, const std::vector<std::string>&) override { return true; }
};
QuietDesktop g_quietDesktop;
DesktopService* g_desktop = &g_quietDesktop;
} // namespace

void SetDesktopService(DesktopService* service) {
    g_desktop = service ? service : &g_quietDesktop;
}

DesktopService& Desktop() { return *g_desktop; }

} // namespace qb
