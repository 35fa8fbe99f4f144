#include "host/store/StoreChanges.h"

#include <charconv>

namespace orbel::host {

ChangeWatcher::~ChangeWatcher() = default;

namespace {

// Takes "LENGTH:TEXT" from the front of `rest`.
bool TakeField(std::string_view& rest, std::string& out) {
    const std::size_t colon = rest.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    std::size_t length = 0;
    const auto [end, ec] = std::from_chars(rest.data(), rest.data() + colon, length);
    if (ec != std::errc() || end != rest.data() + colon || length > rest.size() - colon - 1)
        return false;
    out.assign(rest.substr(colon + 1, length));
    rest.remove_prefix(colon + 1 + length);
    return true;
}

}  // namespace

std::optional<StoreChange> ParseAnnouncement(std::string_view payload, bool* reread) {
    const std::size_t bar1 = payload.find('|');
    if (bar1 == std::string_view::npos) return std::nullopt;
    const std::size_t bar2 = payload.find('|', bar1 + 1);
    if (bar2 == std::string_view::npos) return std::nullopt;
    StoreChange change;
    const auto table = StoreTableNamed(payload.substr(0, bar1));
    if (!table || *table == StoreTable::OleCla) return std::nullopt;
    change.table = *table;
    std::string_view op = payload.substr(bar1 + 1, bar2 - bar1 - 1);
    const bool carriedNot = op.size() == 2 && op[1] == '*';
    if (carriedNot) op.remove_suffix(1);
    if (op == "I")
        change.kind = ChangeKind::Insert;
    else if (op == "U")
        change.kind = ChangeKind::Update;
    else if (op == "D" && !carriedNot)
        change.kind = ChangeKind::Delete;
    else
        return std::nullopt;
    std::string_view rest = payload.substr(bar2 + 1);
    for (std::string* field :
         {&change.key1, &change.oldKey2, &change.data, &change.key2, &change.key3})
        if (!TakeField(rest, *field)) return std::nullopt;
    if (!rest.empty() || change.key1.empty()) return std::nullopt;
    if (reread) *reread = carriedNot;
    return change;
}

}  // namespace orbel::host
