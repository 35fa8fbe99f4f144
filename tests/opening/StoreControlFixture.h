// A control on a real store: the control in its host window on the headless platform, with a
// host adapter answering every table event from an in-memory SQLite store, the way a host
// does, and helpers to seed and read the store's rows and the panes' dumps.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/adapter/HostAdapter.h"
#include "host/store/SqliteTableStore.h"
#include "platform/headless/HeadlessControls.h"
#include "tests/control/ControlFixture.h"

namespace orbel::test {

// The SQLite store behind hooks with which a test makes the host misbehave: refuse a write,
// end every select with a failure, or answer a read with a row of its own.
class HookedStore final : public host::TableStore {
  public:
    explicit HookedStore(host::TableStore& inner) : inner_(inner) {}

    // Called for each insert; true refuses it (kStoreFailed) without touching the store.
    std::function<bool(std::string_view table, std::string_view key1)> refuseInsert;
    // Called for each update and each delete; true refuses it (kStoreFailed).
    std::function<bool(std::string_view table, std::string_view key1)> refuseUpdate;
    std::function<bool(std::string_view table, std::string_view key1)> refuseDelete;
    // When set, every select ends at once with this result.
    std::optional<std::int32_t> failSelects;
    // Called for each read; a value is answered instead of the store's row.
    std::function<std::optional<host::StoreReply>(std::string_view table)> replaceRead;

    std::int32_t SetTablePos(std::string_view table, std::int32_t relationship, std::int32_t keyNo,
                             std::string_view keyValue) override;
    host::StoreReply ReadNextRecord(std::string_view table) override;
    std::int32_t InsertRecord(std::string_view table, std::string_view data, std::string_view key1,
                              std::string_view key2, std::string_view key3) override;
    std::int32_t UpdateRecord(std::string_view table, std::string_view data, std::string_view key1,
                              std::string_view key2, std::string_view key3) override;
    std::int32_t DeleteRecord(std::string_view table, std::string_view key1) override;
    std::unique_ptr<host::SelectCursor> OpenSelect(std::string_view table, std::int32_t keyNo,
                                                   std::string_view start,
                                                   std::string_view end) override;
    host::StoreReply NextOleId() override { return inner_.NextOleId(); }
    host::StoreReply NextResourceId() override { return inner_.NextResourceId(); }

  private:
    host::TableStore& inner_;
};

class StoreControlTest : public ControlTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    host::SqliteTableStore& Store() { return *store_; }
    HookedStore& Hooks() { return *hooked_; }
    host::HostAdapter& Adapter() { return *adapter_; }

    // Seeding, as the control writes its rows. A folder (no resource) or an item of `owner`
    // under the folder (parentOwner, parentEntry); (0, 0) is the top.
    void SeedFolder(std::int32_t owner, std::int32_t entryNo, std::int32_t parentOwner,
                    std::int32_t parentEntry, const std::string& name,
                    const std::string& type = {});
    void SeedItem(std::int32_t owner, std::int32_t entryNo, std::int32_t parentOwner,
                  std::int32_t parentEntry, const std::string& name, std::int32_t resourceId,
                  const std::string& path, std::int32_t pageStart = 0, std::int32_t pageEnd = 0);
    void SeedEntry(const TreeEntry& entry);
    void SeedResource(std::int32_t resourceId, const std::string& path);
    void SeedClass(const std::string& name, std::int32_t value);

    // Reading the store back; nothing when the row is not there.
    std::optional<TreeEntry> TreeRow(std::int32_t owner, std::int32_t entryNo);
    std::optional<ResourceRecord> ResourceRow(std::int32_t resourceId);
    std::optional<std::int32_t> ClassValue(const std::string& name);
    // The names of every OLE_TREE row of an owner, in entry number order.
    std::vector<std::string> TreeNames(std::int32_t owner);

    // The panes' models and their dumps.
    platform::HeadlessTreeControl& TreeModel();
    platform::HeadlessListControl& ListModel();
    platform::HeadlessToolBarControl& ToolBarModel();
    std::string TreeDump() { return TreeModel().Dump(); }
    std::string ListDump() { return ListModel().Dump(); }
    // The tree item with the label, searched in pre-order; none when there is no such item.
    platform::TreeItem TreeItemNamed(const std::string& label);

    // The events fired for the host's user (folder changes, busy state...), as text.
    std::vector<std::string> UserEvents() const;
    // The SelectTable events fired so far, as their start and end keys.
    std::vector<std::string> Selects();

  private:
    std::unique_ptr<host::SqliteTableStore> store_;
    std::unique_ptr<HookedStore> hooked_;
    std::shared_ptr<host::HostAdapter> adapter_;
};

}  // namespace orbel::test
