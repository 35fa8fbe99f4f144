// Loading the two trees of a store into the panes, and listing the contents of the folder
// shown: each a select of the host's OLE_TREE, or a walk of it when resources are shown.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "src/store/HostExchange.h"
#include "src/store/ResourceLookup.h"
#include "src/store/StoreSite.h"

namespace orbel {

class CTreeLoader {
  public:
    CTreeLoader(CHostExchange& exchange, CStoreSite& site, CResourceLookup& lookup);

    // Fills the tree, the class tree's folders before the current OLE ID's own; false after
    // saying which select failed.
    bool GetTree();
    // Lists the folder's contents; entry 0 is the top.
    void ShowFolder(bool classTree, std::int32_t entryNo);
    void GetNode(bool classPart);
    void GetNodeResources(bool classPart);
    // Both trees with each item's resource: the class tree, then the current one.
    bool GetTreeResources();
    // The current tree alone; in subscriber mode these are the subscribers and their groups.
    bool GetCurrentTreeResources();
    // Lists the children of the shown folder in subscriber mode, with their addresses.
    void GetSubsNodeResources(bool classNode);

  private:
    // How a walk of an owner's rows by key 2 ended.
    enum class Walked { Done, StartFailed, RowFailed, ReadFailed };
    // The messages of one walk; an empty one is shown as nothing.
    struct WalkMessages {
        std::string position;
        std::string firstRead;
        std::string nextRead;
    };

    // Loading the tree reads each owner's entries twice: every folder goes to the top first,
    // then under its parent; the class tree before the current OLE ID's own.
    enum class Pass { ClassTop, ClassParents, OwnTop, OwnParents };

    bool OnTreeRow(std::int32_t result, const TreeEntry& row);
    bool OnNodeRow(std::int32_t result, const TreeEntry& row);
    std::int32_t SelectOwnerTree(std::int32_t ownerId, const RecordHandler& handler);
    // From `start` on, every row that `inRange` accepts is handed to `onRow` (in the exchange's
    // tree buffer), which says false after reporting why it cannot go on.
    Walked Walk(const TreeKey2& start, const WalkMessages& messages,
                const std::function<bool(const TreeEntry&)>& inRange,
                const std::function<bool(const TreeEntry&)>& onRow);
    // The children of the shown folder in one owner's rows, each with its resource; `operation`
    // and `firstMessage` number the messages, and `quietStart` keeps the first two silent.
    bool ReadNodeResources(std::int32_t ownerId, bool classFlag, const std::string& operation,
                           int firstMessage, bool quietStart);
    bool GetClassTreeResources();
    // The second pass over a row: an item marks its folder, a folder goes under its parent.
    void HangUnderParent(const TreeEntry& row);
    // A subscriber group is shown only when its parents lead up to the subscriber class; the
    // user's own nested folders, which the walk cannot tell apart until it has seen them all,
    // are taken out again.
    void RemoveStrayGroups(const std::vector<std::pair<std::int32_t, std::int32_t>>& groups);

    CHostExchange& m_exchange;
    CStoreSite& m_site;
    CResourceLookup& m_lookup;
    Pass m_pass = Pass::ClassTop;
    // Whether the rows a folder listing reads belong to the class tree.
    bool m_nodeLoadPart = false;
    // The folder the list shows: its owner (0 for the top) and entry number.
    std::int32_t m_shownFolderOwner = 0;
    std::int32_t m_shownFolderEntry = 0;
};

}  // namespace orbel
