// What the store's loaders, writers and lookups ask of the control that shows the store:
// which store is open and how, the panes its rows go to, and the folders it remembers. The
// control implements it; these classes know no other part of the control.
#pragma once

#include <cstdint>
#include <string>

#include "src/store/RecordFormats.h"

namespace orbel {

class CStoreSite {
  public:
    // The open store: the current OLE ID's own tree and the class tree beside it.
    virtual std::int32_t CurrentOleId() const = 0;
    virtual std::int32_t ClassOleId() const = 0;
    // How it is open.
    virtual bool SubscriberMode() const = 0;
    virtual bool DirectorySelect() const = 0;
    virtual bool ShowResource() const = 0;
    virtual bool ScriptMaint() const = 0;
    virtual bool BatchMaint() const = 0;

    // The panes. Each call does nothing where the pane does not take it in the current mode.
    virtual void EnableControl(bool enable) = 0;
    virtual void AddListRow(const TreeEntry& row, bool isClass, const std::string& resource) = 0;
    virtual void AddTreeFolder(bool isClass, std::int32_t entryNo, std::int32_t parentKey,
                               const std::string& name) = 0;
    virtual void MoveTreeFolder(std::int32_t key, std::int32_t parentKey) = 0;
    // The folder holds items: its icon says so.
    virtual void MarkTreeFolder(std::int32_t key) = 0;
    virtual void RemoveTreeFolder(std::int32_t key) = 0;
    virtual void RedrawTree() = 0;
    virtual void RemoveListRow(std::int32_t key) = 0;
    virtual void ClearList() = 0;
    // The list now shows the contents of this folder.
    virtual void SetListFolder(bool classTree, std::int32_t entryNo) = 0;

    // The folders shown in the tree, with their extensions.
    virtual void RememberFolder(const TreeEntry& row) = 0;
    virtual void ForgetFolders() = 0;
    // A stored path as valid on this machine; true when a drive mapping changed it.
    virtual bool TranslateStoredPath(std::string& path) const = 0;

    virtual void FireBusy(bool busy) = 0;

  protected:
    ~CStoreSite() = default;
};

// A row the tree takes: every row is remembered (outside subscriber mode), and a folder row
// is shown under its parent.
inline void AddRowToTree(CStoreSite& site, const TreeEntry& row, bool isClass) {
    if (!site.SubscriberMode()) site.RememberFolder(row);
    if (row.IsItem == 0)
        site.AddTreeFolder(isClass, row.EntryNo,
                           EntryKeyOf(row.ParentOwnerId, row.ParentEntryNo, site.ClassOleId()),
                           row.Name);
}

}  // namespace orbel
