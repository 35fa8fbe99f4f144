// What the panes ask of the control that holds them, and nothing more: its settings, the
// store changes that a user's edits and drags make, and the events they raise. The control
// implements it; the panes know no other part of the control.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "src/control/DisplayMode.h"
#include "src/store/ProcessedMarker.h"

namespace orbel {

class CPaneSite {
  public:
    // Settings and state.
    virtual DisplayMode Mode() const = 0;
    virtual bool SubscriberMode() const = 0;
    virtual bool DirectorySelect() const = 0;
    virtual bool ShowResource() const = 0;
    virtual bool NotifySelectTiff() const = 0;
    virtual bool BatchMaint() const = 0;
    virtual bool IsBusy() const = 0;
    virtual std::int32_t CurrentOleId() const = 0;
    virtual std::int32_t ClassOleId() const = 0;
    virtual const std::string& BrowseTarget() const = 0;
    virtual const std::string& ViewFileText() const = 0;
    // While a label is edited or a context menu is open, Escape belongs to the pane.
    virtual void SetLabelEdit(bool on) = 0;
    virtual void SetContextMenu(bool on) = 0;

    // The store.
    virtual void ShowFolder(bool classTree, std::int32_t entryNo) = 0;
    virtual std::int32_t CreateNewFolder(const std::string& name, std::int32_t parentOwnerId,
                                         std::int32_t parentEntryNo) = 0;
    virtual bool ChangeItem(std::int32_t entryKey, const std::string& name, std::int32_t pageStart,
                            std::int32_t pageEnd) = 0;
    virtual bool ChangeItem(std::int32_t entryKey, const std::string& name) = 0;
    virtual bool SetParent(std::int32_t entryKey, std::int32_t newParentKey) = 0;
    virtual void DeleteEntry(std::int32_t entryKey) = 0;
    virtual void DeleteFolderEntry(std::int32_t entryKey) = 0;
    virtual bool GetResourceDetails(std::int32_t entryKey, std::string& path,
                                    std::int32_t& pageStart, std::int32_t& pageEnd,
                                    bool withMarkers, bool quietWithoutResource) = 0;
    // Stores the file, and "!" and `function` when there is one, as the item's resource path.
    virtual bool SetScriptResource(std::int32_t entryKey, const std::string& scriptFile,
                                   const std::string& function) = 0;
    // Changes the item's resource path with one lookup: `change` gets the path with markers,
    // as GetResourceDetails gives it, and returns the file and link to store, as
    // SetScriptResource stores them. False when the lookup (the control has said why) or the
    // write fails.
    virtual bool RewriteResourcePath(
        std::int32_t entryKey, const std::function<MarkedPath(const std::string&)>& change) = 0;
    virtual void SetAttachOrEmail(int listIndex, const std::string& action) = 0;
    virtual void ShowFolderProperties(std::int32_t folderKey) = 0;
    // "Attachment Properties" for the file behind the item; in script maintenance the
    // script's file in the desktop's property window.
    virtual void ShowItemProperties(std::int32_t entryKey) = 0;
    // Adds the item to the store; the control adds its row to the list itself. Pages of -1
    // are stored as 0.
    virtual void CreateNewItem(const std::string& name, const std::string& path,
                               std::int32_t parentOwnerId, std::int32_t parentEntryNo,
                               std::int32_t pageStart, std::int32_t pageEnd) = 0;
    // The key of the folder that holds files of the extension, 0 for none.
    virtual std::int32_t FolderForExtension(const std::string& extension) = 0;
    // Sends the new document to the subscribers of the tree.
    virtual void SendMailGetResources(const std::string& message, std::int32_t treeId,
                                      const std::string& ledger, const std::string& account) = 0;
    // Attaches the file to the top of another tree and sends it to that tree's subscribers.
    virtual bool AttachItem(const std::string& name, const std::string& path, std::int32_t treeId,
                            const std::string& ledger, const std::string& account) = 0;

    // Events to the host.
    virtual void FireFolderChange(const std::string& sFolderName) = 0;
    virtual void FireSelectTiff(const std::string& lpszResource, std::int32_t nPageStart,
                                std::int32_t nPageEnd) = 0;
    virtual void FireOnViewFile(const std::string& sFileName) = 0;
    virtual void FireSelectAttachment(const std::string& path) = 0;
    virtual void FireSendEmail(const std::string& receiver, const std::string& message,
                               const std::string& ledger, const std::string& account,
                               const std::string& msgType) = 0;

  protected:
    ~CPaneSite() = default;
};

}  // namespace orbel
