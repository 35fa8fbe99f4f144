// The host's command messages: any bytes parse or are refused without undefined behaviour, a
// parsed command is the message's own first letter, and every field stays within what its
// slice of the message can hold. Before the first newline is the pending attach/e-mail
// selection, after it the message, so the "h" answer is read against any selection too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "platform/text/Utf8.h"
#include "src/control/TarnMessage.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool Trimmed(const std::string& s) {
    return s.empty() ||
           (s.back() != ' ' && s.back() != '\t' && s.back() != '\r' && s.back() != '\n');
}

// An entry number is an 8-character key divided by 10.
bool EntryNumber(std::int32_t n) {
    return n > -1'000'000 && n < 10'000'000;
}

void CheckCommand(std::string_view message) {
    std::optional<orbel::TarnCommand> cmd = orbel::ParseTarnMessage(message);
    if (!cmd) return;
    Check(!message.empty() && cmd->letter == message.front());
    std::visit(
        [&](const auto& a) {
            using T = std::decay_t<decltype(a)>;
            namespace tarn = orbel::tarn;
            if constexpr (std::is_same_v<T, tarn::AddTreeViewItem>) {
                Check(EntryNumber(a.entryNo) && EntryNumber(a.parentNo));
                Check(Trimmed(a.name) && orbel::CharacterCount(a.name) <= 30);
            } else if constexpr (std::is_same_v<T, tarn::AddListViewItem>) {
                Check(EntryNumber(a.entryNo));
                Check(Trimmed(a.name) && orbel::CharacterCount(a.name) <= 30 &&
                      Trimmed(a.resource));
            } else if constexpr (std::is_same_v<T, tarn::UpdateItem>) {
                Check(Trimmed(a.name) && orbel::CharacterCount(a.name) <= 30);
                Check(a.pageStart > -100 && a.pageStart < 1000);
            } else if constexpr (std::is_same_v<T, tarn::AddMapping>) {
                Check(a.from.size() + a.to.size() + a.flag.size() < message.size());
                Check(a.from.find(',') == std::string::npos);
                Check(a.to.find(',') == std::string::npos);
            } else if constexpr (std::is_same_v<T, tarn::SetViewFile>) {
                Check(Trimmed(a.text));
            } else if constexpr (std::is_same_v<T, tarn::SetBrowseTarget>) {
                Check(message.substr(1).starts_with(a.target));
            }
        },
        cmd->args);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    std::string_view in(reinterpret_cast<const char*>(bytes), size);
    CheckCommand(in);

    std::size_t cut = in.find('\n');
    std::string_view pending = in.substr(0, cut);
    std::string_view message = cut == std::string_view::npos ? in : in.substr(cut + 1);
    std::optional<orbel::AttachOrEmailReply> r = orbel::ParseAttachOrEmailReply(pending, message);
    if (!r) {
        Check(pending.empty() || pending.front() == '\0');
        return 0;
    }
    Check(Trimmed(r->attachText) && Trimmed(r->emailText));
    Check(r->attachText.size() + r->emailText.size() < message.size() + 1);
    if (pending.front() != 'A') Check(!r->attach && r->attachText.empty() && r->targetId == 0);
    if (pending.front() != 'E') Check(r->emailText.empty());
    return 0;
}
