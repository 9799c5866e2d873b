#pragma once
// The desktop service: opening a file, folder or page with the user's default program, and
// starting an external program without waiting for it. The editor installs one built on
// QDesktopServices/QProcess; the CLI's default does nothing; tests record the calls.
#include <string>
#include <string_view>
#include <vector>

namespace qb {

class DesktopService {
public:
    virtual ~DesktopService() = default;
    // Opens a path (file or folder) or URL the way the desktop's "open" does.
    virtual void open(std::string_view pathOrUrl) = 0;
    // Starts a program with its arguments, detached; answers whether it could be started (the
    // caller tells the user when not).
    virtual bool startDetached(std::string_view program, const std::vector<std::string>& args) = 0;
};

void SetDesktopService(DesktopService* service);  // not owned; null restores the no-op default
DesktopService& Desktop();

} // namespace qb
