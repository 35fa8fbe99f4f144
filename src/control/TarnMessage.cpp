#include "src/control/TarnMessage.h"

#include <utility>

#include "platform/text/AsciiCase.h"
#include "platform/text/Utf8.h"
#include "src/store/RecordFormats.h"

namespace orbel {

namespace {

// The host's texts arrive as C strings: whatever follows a zero character was never seen.
std::string_view AsText(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

// Reads the fields of one message; a field past the end of the message is empty. Positions
// and widths count characters, as the fields of a row do, so a name is never cut inside one.
class Payload {
  public:
    explicit Payload(std::string_view message) : m_msg(message) {}

    std::string_view Slice(std::size_t p, std::size_t w) const {
        const std::size_t from = SkipCharacters(m_msg, 0, p);
        return m_msg.substr(from, SkipCharacters(m_msg, from, w) - from);
    }
    std::string_view Rest(std::size_t p) const { return Slice(p, std::string_view::npos); }

    // Atol saturates, so a slice beyond 32 bits gives INT32_MAX or INT32_MIN.
    std::int32_t Number(std::size_t p, std::size_t w) const { return Atol(Slice(p, w)); }
    std::int32_t Number(std::size_t p) const { return Atol(Rest(p)); }
    std::int32_t EntryNo(std::size_t p) const { return Number(p, 8) / 10; }
    std::string Text(std::size_t p, std::size_t w) const { return TrimRight(Slice(p, w)); }
    std::string Text(std::size_t p) const { return TrimRight(Rest(p)); }
    std::string AsSent(std::size_t p) const { return std::string(Rest(p)); }
    bool Yes(std::size_t p) const { return Slice(p, 1) == "Y"; }

  private:
    std::string_view m_msg;
};

tarn::AddMapping ParseMapping(const Payload& in) {
    const std::string line = in.Text(1);
    tarn::AddMapping m;
    const std::size_t first = line.find(',');
    if (first == std::string::npos) return m;
    m.from = line.substr(0, first);
    const std::size_t second = line.find(',', first + 1);
    if (second == std::string::npos) return m;
    m.to = line.substr(first + 1, second - first - 1);
    m.flag = UpperedAscii(std::string_view(line).substr(second + 1));
    return m;
}

std::optional<TarnArgs> ParseArgs(char letter, std::string_view message) {
    const Payload in(message);
    switch (letter) {
        case '$':
            return tarn::AddSystemScript{in.AsSent(2)};
        case 'A':
            return tarn::SetOptionBits{in.Number(1, 5), in.Yes(6)};
        case 'D':
            return tarn::DeleteAllListViewItems{};
        case 'H':
            return tarn::SetBrowseTarget{in.AsSent(1)};
        case 'M':
            return ParseMapping(in);
        case 'P':
            return tarn::SetListParent{in.Number(1, 8)};
        case 'T':
            return tarn::BeginTreeDownload{};
        case 'a':
            return tarn::SetAutoCreate{in.Yes(1)};
        case 'b':
            return tarn::SetBatchMaint{};
        case 'c':
            return tarn::RequestDeleteObject{in.AsSent(1)};
        case 'd':
            return tarn::DeleteTreeItem{in.Number(1, 8)};
        case 'g':
            return tarn::DeleteListItem{in.Number(1, 8)};
        case 'h':
            return tarn::AttachOrEmailAnswer{std::string(message)};
        case 'i':
            return tarn::AddTreeViewItem{in.Yes(1), in.Yes(2), in.EntryNo(3), in.EntryNo(11),
                                         in.Text(19, 30)};
        case 'j':
            return tarn::SetDirectorySelect{};
        case 'm':
            return tarn::AddListViewItem{in.Yes(1), in.Yes(2), in.EntryNo(3), in.Text(11, 30),
                                         in.Text(41)};
        case 'o':
            return tarn::SetObjectDir{in.AsSent(1)};
        case 'p':
            return tarn::SetTreeParent{in.Number(1, 8), in.Number(9, 8)};
        case 's':
            return tarn::SetImageDetails{in.Number(1, 8), in.Number(9, 3), in.Number(12, 3),
                                         in.Number(15, 8)};
        case 't':
            return tarn::EndTreeDownload{};
        case 'u':
            return tarn::UpdateFolder{in.Number(1, 8), in.Text(9, 30)};
        case 'v':
            return tarn::UpdateItem{in.Number(1, 8), in.Text(9, 30), in.Number(39, 3),
                                    in.Number(42, 3), in.Number(45)};
        case 'y':
            return tarn::SetViewFile{in.Text(1)};
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<TarnCommand> ParseTarnMessage(std::string_view message) {
    message = AsText(message);
    if (message.empty()) return std::nullopt;
    std::optional<TarnArgs> args = ParseArgs(message.front(), message);
    if (!args) return std::nullopt;
    return TarnCommand{message.front(), std::move(*args)};
}

std::optional<AttachOrEmailReply> ParseAttachOrEmailReply(std::string_view pending,
                                                          std::string_view message) {
    pending = AsText(pending);
    message = AsText(message);
    if (pending.empty()) return std::nullopt;

    AttachOrEmailReply reply;
    reply.listIndex = Atol(pending.substr(1));
    if (pending.front() == 'A') {
        constexpr std::size_t kTargetWidth = 8;
        const std::string line = TrimRight(message);
        if (line.empty()) return reply;
        reply.attach = true;
        // The target number fills the last 8 characters; the blank that usually separates it
        // from the text goes with the text's own trailing blanks.
        const Payload in(line);
        const std::size_t length = CharacterCount(line);
        const std::size_t textEnd = length > kTargetWidth ? length - kTargetWidth : 0;
        if (textEnd > 1) reply.attachText = in.Text(1, textEnd - 1);
        reply.targetId = in.Number(textEnd);
    } else if (pending.front() == 'E') {
        // The last 9 characters of an e-mail answer are not part of its text.
        constexpr std::size_t kEmailTailWidth = 9;
        const std::string text = Payload(message).Text(6);
        const std::size_t length = CharacterCount(text);
        const std::size_t keep = length > kEmailTailWidth ? length - kEmailTailWidth : 0;
        reply.emailText = Payload(text).Text(0, keep);
    }
    return reply;
}

}  // namespace orbel
