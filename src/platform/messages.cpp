#include "platform/messages.h"

#include <cstdio>

namespace qb {

namespace {
class StderrMessages final : public MessageService {
public:
    void inform(std::string_view text, std::string_view) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
    bool askOkCancel(std::string_view text, std::string_view caption) override {
        inform(text, caption);
        return true;
    }
};

StderrMessages g_stderrMessages;
MessageService* g_messages = &g_stderrMessages;
} // namespace

void SetMessageService(MessageService* service) {
    g_messages = service ? service : &g_stderrMessages;
}

MessageService& Messages() { return *g_messages; }

void ShowMessage(std::string_view text, std::string_view caption) {
    Messages().inform(text, caption);
}

bool ConfirmOkCancel(std::string_view text, std::string_view caption) {
    return Messages().askOkCancel(text, caption);
}

} // namespace qb
