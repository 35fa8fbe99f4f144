// Keeps a control up to date with what other programs write to its store: the changes its
// store's watcher announces are turned into the control's own host methods, for the folders of
// the two trees the control shows (AddTreeViewItem, UpdateTreeFolder, SetTreeParent,
// DeleteTreeItem) and for the entries of the folder its list shows (AddListViewItem,
// SetImageDetails, UpdateItem, UpdateListFolder, DeleteListItem). Nothing is read again but a
// new item's resource path.
//
// Which trees the control shows the host knows from its own Initiate; which folder the list
// shows the follower learns from the selects the control asks for while it fills the list.
//
// Not for: the control's modes without a tree (folder and script maintenance), class rows, or
// a resource's path changed under an item already listed (the list has no method for it).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/store/StoreChanges.h"
#include "host/store/TableStore.h"
#include "host/wrapper/OrbelWrapper.h"

namespace orbel::host {

class ChangeFollower {
  public:
    // The control is held weakly; the store must outlive the follower.
    ChangeFollower(std::weak_ptr<IDispatch> control, TableStore& store,
                   std::unique_ptr<ChangeWatcher> watcher);

    // The control was opened on OLE item `oleId` with the class tree `classOleId` (Initiate's
    // answer and argument): both trees are shown, the list nothing until a folder is chosen.
    void Opened(std::int32_t oleId, std::int32_t classOleId);
    // The control went into a mode without its tree: nothing is followed until Opened again.
    void Closed();
    // Each select the control asks for: one of a folder's contents says the list shows it.
    void Selected(const std::string& table, std::int32_t keyNo, const std::string& start,
                  const std::string& end);

    // Applies the changes announced since the last call, unless the control is waiting for its
    // host (then they wait for the next call); the number applied. Never waits itself.
    int Apply();
    // Waits up to `ms` milliseconds until `total` changes in all have been applied since the
    // follower began, applying each as it comes; true when they have.
    bool ApplyWithin(int total, int ms);
    int Applied() const { return applied_; }

    // Called with one line for each change applied: the host methods it called, as
    // NAME(ARG, ...), or what could not be followed.
    void OnApplied(std::function<void(const std::string&)> observer);

  private:
    // The host methods `change` needs, called; the line describing them, or empty.
    std::string ApplyTree(const StoreChange& change);
    std::string ResourcePath(std::int32_t resourceId);

    std::weak_ptr<IDispatch> control_;
    TableStore& store_;
    std::unique_ptr<ChangeWatcher> watcher_;
    std::function<void(const std::string&)> observer_;
    bool following_ = false;
    std::int32_t oleId_ = 0;
    std::int32_t classOleId_ = 0;
    int applied_ = 0;
    bool listShown_ = false;  // the list was filled with the folder below
    std::int32_t shownOwner_ = 0;
    std::int32_t shownEntry_ = 0;
};

}  // namespace orbel::host
