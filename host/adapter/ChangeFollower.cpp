#include "host/adapter/ChangeFollower.h"

#include <chrono>
#include <vector>

#include "src/store/RecordFormats.h"

namespace orbel::host {

namespace {

std::string Quote(const std::string& text) {
    return "\"" + text + "\"";
}

const char* Bool(bool value) {
    return value ? "TRUE" : "FALSE";
}

// Key 2's owner, parent owner, parent entry and name.
TreeKey2 ParseKey2(const std::string& key2) {
    const TreeEntry e = ParseTreeEntry("", "", key2, "");
    return {e.OwnerId2, e.ParentOwnerId, e.ParentEntryNo, e.Name};
}

}  // namespace

ChangeFollower::ChangeFollower(std::weak_ptr<IDispatch> control, TableStore& store,
                               std::unique_ptr<ChangeWatcher> watcher)
    : control_(std::move(control)), store_(store), watcher_(std::move(watcher)) {}

void ChangeFollower::OnApplied(std::function<void(const std::string&)> observer) {
    observer_ = std::move(observer);
}

void ChangeFollower::Opened(std::int32_t oleId, std::int32_t classOleId) {
    following_ = oleId > 0;
    oleId_ = oleId;
    classOleId_ = classOleId;
    listShown_ = false;
}

void ChangeFollower::Closed() {
    following_ = false;
    listShown_ = false;
}

// A folder's contents are selected by key 2 over one parent: from (owner, parent owner, parent
// entry, "") to the same with the name's end. The whole tree is selected from (owner, 0, 0)
// and is no folder's contents.
void ChangeFollower::Selected(const std::string& table, std::int32_t keyNo,
                              const std::string& start, const std::string& end) {
    if (!following_ || table != "OLE_TREE" || keyNo != 2) return;
    const TreeKey2 from = ParseKey2(start);
    const TreeKey2 to = ParseKey2(end);
    if (from.OwnerId != to.OwnerId || from.ParentOwnerId != to.ParentOwnerId ||
        from.ParentEntryNo != to.ParentEntryNo)
        return;
    if (from.OwnerId != oleId_ && from.OwnerId != classOleId_) return;
    listShown_ = true;
    shownOwner_ = from.ParentOwnerId;
    shownEntry_ = from.ParentEntryNo;
}

int ChangeFollower::Apply() {
    const auto control = control_.lock();
    if (!control) return 0;
    // A control waiting for its host is in the middle of its own change of the panes.
    if (!COrbelWrapper(control).QueryClose()) return 0;
    int applied = 0;
    if (const std::string missed = watcher_->Missed(); !missed.empty() && observer_)
        observer_("follow: " + missed);
    for (const StoreChange& change : watcher_->Take()) {
        if (change.table != StoreTable::OleTree) continue;
        const std::string line = ApplyTree(change);
        if (line.empty()) continue;
        ++applied;
        ++applied_;
        if (observer_) observer_(line);
    }
    return applied;
}

bool ChangeFollower::ApplyWithin(int total, int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    Apply();
    while (applied_ < total) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              until - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) break;
        watcher_->Wait(static_cast<int>(left));
        Apply();
    }
    return applied_ >= total;
}

std::string ChangeFollower::ResourcePath(std::int32_t resourceId) {
    const std::string key = FormatResourceKey(resourceId);
    const auto cursor = store_.OpenSelect("OLE_RES", 1, key, key);
    StoreReply row;
    if (!cursor->Next(row)) return {};
    return ParseResourceRecord(row.data, row.keys[0]).Path;
}

std::string ChangeFollower::ApplyTree(const StoreChange& change) {
    if (!following_) return {};
    const auto control = control_.lock();
    if (!control) return {};
    COrbelWrapper orbel(control);
    const TreeEntry keys = ParseTreeEntry("", change.key1, "", "");
    const std::int32_t owner = keys.OwnerId;
    if (owner != oleId_ && owner != classOleId_) return {};
    const bool isClass = owner == classOleId_ && owner != oleId_;
    const std::int32_t key = EntryKeyOf(owner, keys.EntryNo, classOleId_);
    auto parentKey = [&](std::int32_t parentOwner, std::int32_t parentEntry) {
        return EntryKeyOf(parentOwner, parentEntry, classOleId_);
    };
    auto shown = [&](std::int32_t parentOwner, std::int32_t parentEntry) {
        return listShown_ && parentOwner == shownOwner_ && parentEntry == shownEntry_;
    };

    std::vector<std::string> calls;
    const std::string k = std::to_string(key);
    const bool had = change.kind != ChangeKind::Insert;
    const TreeKey2 before = had ? ParseKey2(change.oldKey2) : TreeKey2{};
    const bool wasShown = had && shown(before.ParentOwnerId, before.ParentEntryNo);
    if (change.kind == ChangeKind::Delete) {
        orbel.DeleteTreeItem(key);
        calls.push_back("DeleteTreeItem(" + k + ")");
        if (wasShown) {
            orbel.DeleteListItem(key);
            calls.push_back("DeleteListItem(" + k + ")");
        }
    } else {
        const TreeEntry row = ParseTreeEntry(change.data, change.key1, change.key2, change.key3);
        const bool folder = row.IsItem == 0;
        const bool isShown = shown(row.ParentOwnerId, row.ParentEntryNo);
        const std::int32_t parent = parentKey(row.ParentOwnerId, row.ParentEntryNo);
        const std::int32_t batch = Atol(row.Batch);
        auto addToList = [&] {
            const std::string path = folder ? std::string() : ResourcePath(row.ResourceId);
            orbel.AddListViewItem(folder, isClass, row.EntryNo, row.Name, path);
            calls.push_back(std::string("AddListViewItem(") + Bool(folder) + ", " + Bool(isClass) +
                            ", " + std::to_string(row.EntryNo) + ", " + Quote(row.Name) + ", " +
                            Quote(path) + ")");
            if (!folder && (row.PageStart || row.PageEnd || batch)) {
                orbel.SetImageDetails(key, row.PageStart, row.PageEnd, batch);
                calls.push_back("SetImageDetails(" + k + ", " + std::to_string(row.PageStart) +
                                ", " + std::to_string(row.PageEnd) + ", " + std::to_string(batch) +
                                ")");
            }
        };
        if (!had) {
            if (folder) {
                orbel.AddTreeViewItem(true, isClass, row.EntryNo, parent, row.Name);
                calls.push_back(std::string("AddTreeViewItem(TRUE, ") + Bool(isClass) + ", " +
                                std::to_string(row.EntryNo) + ", " + std::to_string(parent) + ", " +
                                Quote(row.Name) + ")");
            }
            if (isShown) addToList();
        } else {
            const bool renamed = before.Name != row.Name;
            const bool moved = before.ParentOwnerId != row.ParentOwnerId ||
                               before.ParentEntryNo != row.ParentEntryNo;
            if (folder && renamed) {
                orbel.UpdateTreeFolder(key, row.Name);
                calls.push_back("UpdateTreeFolder(" + k + ", " + Quote(row.Name) + ")");
            }
            if (folder && moved) {
                orbel.SetTreeParent(key, parent);
                calls.push_back("SetTreeParent(" + k + ", " + std::to_string(parent) + ")");
            }
            if (wasShown && !isShown) {
                orbel.DeleteListItem(key);
                calls.push_back("DeleteListItem(" + k + ")");
            } else if (isShown && !wasShown) {
                addToList();
            } else if (isShown && folder && renamed) {
                orbel.UpdateListFolder(key, row.Name);
                calls.push_back("UpdateListFolder(" + k + ", " + Quote(row.Name) + ")");
            } else if (isShown && !folder) {
                orbel.UpdateItem(key, row.Name, row.PageStart, row.PageEnd, batch);
                calls.push_back("UpdateItem(" + k + ", " + Quote(row.Name) + ", " +
                                std::to_string(row.PageStart) + ", " + std::to_string(row.PageEnd) +
                                ", " + std::to_string(batch) + ")");
            }
        }
    }
    if (calls.empty()) return {};
    std::string line = "follow:";
    for (std::size_t i = 0; i < calls.size(); ++i) line += (i ? ", " : " ") + calls[i];
    return line;
}

}  // namespace orbel::host
