// Loading the two trees of a store into the panes, and listing the contents of the folder
// shown: each a select of the host's OLE_TREE, or a walk of it when resources are shown.
#pragma once

#include <cstdint>

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

  private:
    // Loading the tree reads each owner's entries twice: every folder goes to the top first,
    // then under its parent; the class tree before the current OLE ID's own.
    enum class Pass { ClassTop, ClassParents, OwnTop, OwnParents };

    bool OnTreeRow(std::int32_t result, const TreeEntry& row);
    bool OnNodeRow(std::int32_t result, const TreeEntry& row);
    std::int32_t SelectOwnerTree(std::int32_t ownerId, const RecordHandler& handler);
    bool ReadNodeResources(std::int32_t ownerId, bool classFlag, int firstMessage);

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
