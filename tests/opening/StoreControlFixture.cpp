#include "tests/opening/StoreControlFixture.h"

#include "src/control/OrbelIds.h"
#include "src/panes/ViewList.h"
#include "src/panes/ViewTree.h"

namespace orbel::test {

namespace {
// A select that ends at once with the result it was given.
class FailedSelect final : public host::SelectCursor {
  public:
    explicit FailedSelect(std::int32_t result) : result_(result) {}
    bool Next(host::StoreReply&) override { return false; }
    std::int32_t EndResult() const override { return result_; }

  private:
    std::int32_t result_;
};

platform::TreeItem FindLabel(const platform::TreeControl& tree, platform::TreeItem from,
                             const std::string& label) {
    for (platform::TreeItem item = from; item != platform::kTreeNone;
         item = tree.GetNextSiblingItem(item)) {
        if (tree.GetItemText(item) == label) return item;
        if (platform::TreeItem found = FindLabel(tree, tree.GetChildItem(item), label))
            return found;
    }
    return platform::kTreeNone;
}
}  // namespace

std::int32_t HookedStore::SetTablePos(std::string_view table, std::int32_t relationship,
                                      std::int32_t keyNo, std::string_view keyValue) {
    return inner_.SetTablePos(table, relationship, keyNo, keyValue);
}

host::StoreReply HookedStore::ReadNextRecord(std::string_view table) {
    if (replaceRead)
        if (std::optional<host::StoreReply> reply = replaceRead(table)) return *reply;
    return inner_.ReadNextRecord(table);
}

std::int32_t HookedStore::InsertRecord(std::string_view table, std::string_view data,
                                       std::string_view key1, std::string_view key2,
                                       std::string_view key3) {
    if (refuseInsert && refuseInsert(table, key1)) return host::kStoreFailed;
    return inner_.InsertRecord(table, data, key1, key2, key3);
}

std::int32_t HookedStore::UpdateRecord(std::string_view table, std::string_view data,
                                       std::string_view key1, std::string_view key2,
                                       std::string_view key3) {
    if (refuseUpdate && refuseUpdate(table, key1)) return host::kStoreFailed;
    return inner_.UpdateRecord(table, data, key1, key2, key3);
}

std::int32_t HookedStore::DeleteRecord(std::string_view table, std::string_view key1) {
    if (refuseDelete && refuseDelete(table, key1)) return host::kStoreFailed;
    return inner_.DeleteRecord(table, key1);
}

std::unique_ptr<host::SelectCursor> HookedStore::OpenSelect(std::string_view table,
                                                            std::int32_t keyNo,
                                                            std::string_view start,
                                                            std::string_view end) {
    if (failSelects) return std::make_unique<FailedSelect>(*failSelects);
    return inner_.OpenSelect(table, keyNo, start, end);
}

void StoreControlTest::SetUp() {
    ControlTest::SetUp();
    host::SqliteOpenResult opened = host::SqliteTableStore::Open(":memory:");
    ASSERT_TRUE(opened) << opened.error;
    store_ = std::move(opened.store);
    hooked_ = std::make_unique<HookedStore>(*store_);
    std::shared_ptr<IDispatch> control = ctrl_;
    adapter_ = std::make_shared<host::HostAdapter>(control, *hooked_, P().Loop());
    DWORD cookie = 0;
    ASSERT_EQ(ctrl_->FindConnectionPoint(IidDOrbelEvents())->Advise(adapter_, cookie), S_OK);
}

void StoreControlTest::TearDown() {
    // The control goes first: it holds the adapter, which holds the store's cursors.
    ctrl_.reset();
    adapter_.reset();
    hooked_.reset();
    store_.reset();
    ControlTest::TearDown();
}

void StoreControlTest::SeedEntry(const TreeEntry& entry) {
    const RowText row = BuildTreeEntry(entry);
    ASSERT_EQ(store_->InsertRecord("OLE_TREE", row.data, row.key1, row.key2, row.key3),
              host::kStoreOk)
        << entry.Name;
}

void StoreControlTest::SeedFolder(std::int32_t owner, std::int32_t entryNo,
                                  std::int32_t parentOwner, std::int32_t parentEntry,
                                  const std::string& name, const std::string& type) {
    SeedEntry(
        TreeEntry{owner, entryNo, owner, parentOwner, parentEntry, name, 0, 0, 0, 0, "", type});
}

void StoreControlTest::SeedItem(std::int32_t owner, std::int32_t entryNo, std::int32_t parentOwner,
                                std::int32_t parentEntry, const std::string& name,
                                std::int32_t resourceId, const std::string& path,
                                std::int32_t pageStart, std::int32_t pageEnd) {
    SeedEntry(TreeEntry{owner, entryNo, owner, parentOwner, parentEntry, name, resourceId, 1,
                        pageStart, pageEnd, "", ""});
    SeedResource(resourceId, path);
}

void StoreControlTest::SeedResource(std::int32_t resourceId, const std::string& path) {
    const RowText row = BuildResourceRecord(ResourceRecord{resourceId, path});
    ASSERT_EQ(store_->InsertRecord("OLE_RES", row.data, row.key1, "", ""), host::kStoreOk);
}

void StoreControlTest::SeedClass(const std::string& name, std::int32_t value) {
    const RowText row = BuildClassRecord(ClassRecord{name, value});
    ASSERT_EQ(store_->InsertRecord("OLE_CLA", row.data, row.key1, "", ""), host::kStoreOk);
}

std::optional<TreeEntry> StoreControlTest::TreeRow(std::int32_t owner, std::int32_t entryNo) {
    if (store_->SetTablePos("OLE_TREE", 0, 1, FormatTreeKey1({owner, entryNo})) != host::kStoreOk)
        return std::nullopt;
    const host::StoreReply r = store_->ReadNextRecord("OLE_TREE");
    if (r.result != host::kStoreOk) return std::nullopt;
    return ParseTreeEntry(r.data, r.keys[0], r.keys[1], r.keys[2]);
}

std::optional<ResourceRecord> StoreControlTest::ResourceRow(std::int32_t resourceId) {
    if (store_->SetTablePos("OLE_RES", 0, 1, FormatResourceKey(resourceId)) != host::kStoreOk)
        return std::nullopt;
    const host::StoreReply r = store_->ReadNextRecord("OLE_RES");
    if (r.result != host::kStoreOk) return std::nullopt;
    return ParseResourceRecord(r.data, r.keys[0]);
}

std::optional<std::int32_t> StoreControlTest::ClassValue(const std::string& name) {
    if (store_->SetTablePos("OLE_CLA", 0, 1, FormatClassKey(name)) != host::kStoreOk)
        return std::nullopt;
    const host::StoreReply r = store_->ReadNextRecord("OLE_CLA");
    if (r.result != host::kStoreOk) return std::nullopt;
    return ParseClassRecord(r.data, r.keys[0]).Value;
}

std::vector<std::string> StoreControlTest::TreeNames(std::int32_t owner) {
    std::vector<std::string> names;
    store_->SelectTable(
        "OLE_TREE", 1, FormatTreeKey1({owner, 0}), FormatTreeKey1({owner, 99999999}),
        [&](const host::StoreReply& r) {
            names.push_back(ParseTreeEntry(r.data, r.keys[0], r.keys[1], r.keys[2]).Name);
        });
    return names;
}

platform::HeadlessTreeControl& StoreControlTest::TreeModel() {
    platform::HeadlessTreeControl* model =
        P().CommonControls().Tree(Ctrl().TreeView()->GetSafeHwnd());
    if (!model) throw std::logic_error("the tree pane has no tree control");
    return *model;
}

platform::HeadlessListControl& StoreControlTest::ListModel() {
    platform::HeadlessListControl* model =
        P().CommonControls().List(Ctrl().ListView()->GetSafeHwnd());
    if (!model) throw std::logic_error("the list pane has no list control");
    return *model;
}

platform::HeadlessToolBarControl& StoreControlTest::ToolBarModel() {
    platform::HeadlessToolBarControl* model =
        P().CommonControls().ToolBar(Ctrl().ToolBar().GetSafeHwnd());
    if (!model) throw std::logic_error("the control has no toolbar control");
    return *model;
}

platform::TreeItem StoreControlTest::TreeItemNamed(const std::string& label) {
    return FindLabel(TreeModel(), TreeModel().GetRootItem(), label);
}

std::vector<std::string> StoreControlTest::UserEvents() const {
    std::vector<std::string> out;
    for (const host::UserEvent& e : adapter_->UserEvents()) out.push_back(e.ToString());
    return out;
}

std::vector<std::string> StoreControlTest::Selects() {
    std::vector<std::string> out;
    for (const std::string& e : Host().Events())
        if (e.rfind("SelectTable(", 0) == 0) out.push_back(e);
    return out;
}

}  // namespace orbel::test
