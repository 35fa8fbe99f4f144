#include "host/store/TableStore.h"

#include "host/store/StoreChanges.h"

namespace orbel::host {

SelectCursor::~SelectCursor() = default;

TableStore::~TableStore() = default;

std::int32_t TableStore::SelectTable(std::string_view table, std::int32_t keyNo,
                                     std::string_view start, std::string_view end,
                                     const std::function<void(const StoreReply&)>& row) {
    const std::unique_ptr<SelectCursor> cursor = OpenSelect(table, keyNo, start, end);
    StoreReply reply;
    while (cursor->Next(reply)) row(reply);
    return cursor->EndResult();
}

bool TableStore::InTransaction(const std::function<bool()>&) {
    return false;
}

bool TableStore::ExecuteSql(std::string_view,
                            const std::function<void(std::span<const std::string>)>&) {
    return false;
}

std::unique_ptr<ChangeWatcher> TableStore::WatchChanges(std::string& error) {
    error = "nobody else writes " + Name() + ": there are no changes to follow";
    return nullptr;
}

}  // namespace orbel::host
