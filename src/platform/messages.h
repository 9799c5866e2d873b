#pragma once
// The message service: every part informs the user or asks OK/Cancel through it.
//
// The editor installs a service that shows QMessageBox (caption "Quillbox"), the CLI one that
// prints to stderr and answers OK, and tests one that records the texts and scripts the answers.
// Wait-cursor requests go through the same service so the core stays toolkit-free.
#include <string>
#include <string_view>

namespace qb {

constexpr const char* kCaption = "Quillbox";

class MessageService {
public:
    virtual ~MessageService() = default;
    // An OK-only message box with caption "Quillbox" (or the given caption).
    virtual void inform(std::string_view text, std::string_view caption) = 0;
    // OK/Cancel; true for OK.
    virtual bool askOkCancel(std::string_view text, std::string_view caption) = 0;
    virtual void beginWait() {}
    virtual void endWait() {}
};

// Installs a service (not owned); null restores the default, which writes to stderr and
// answers OK.
void SetMessageService(MessageService* service);
MessageService& Messages();

void ShowMessage(std::string_view text, std::string_view caption = kCaption);
bool ConfirmOkCancel(std::string_view text, std::string_view caption = kCaption);

// Shows the wait cursor for its lifetime.
class WaitCursor {
public:
    WaitCursor() { Messages().beginWait(); }
    ~WaitCursor() { Messages().endWait(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace qb
