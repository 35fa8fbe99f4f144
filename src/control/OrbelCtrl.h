// The control: what a host places on its form to show and maintain a store. It keeps no data
// of its own; every row comes from the host through the table conversation.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/MessageLoop.h"
#include "platform/WindowSystem.h"
#include "platform/framework/CmdTarget.h"
#include "platform/framework/OleControl.h"
#include "platform/framework/ToolBar.h"
#include "src/control/DisplayMode.h"
#include "src/maintenance/DriveMapping.h"
#include "src/maintenance/FolderMaintenance.h"
#include "src/panes/PaneSite.h"
#include "src/panes/ViewList.h"
#include "src/store/EntryWriter.h"
#include "src/store/HostExchange.h"
#include "src/store/ResourceLookup.h"
#include "src/store/StoreSite.h"
#include "src/store/TreeLoader.h"

namespace orbel {

// One e-mail recipient gathered for routing.
struct MailEntry {
    std::string name;
    std::string address;
    std::int32_t id1 = 0;
    std::int32_t id2 = 0;
};

using SystemScriptEntry = std::array<std::string, 4>;

class CFrameContainer;
class CScriptView;
class CViewList;
class CViewTree;

// What GetListViewdwItem hands the host: the text and the item data of one list row, owned by
// the control and named to the host by a 32-bit handle.
struct ListItemHandle {
    std::string text;
    std::uint32_t data = 0;
};

// Not final: the test module's control derives from it to carry the store probe.
class COrbelCtrl : public COleControl,
                   public CCmdTarget,
                   public CPaneSite,
                   private CStoreSite,
                   private IExchangeSite {
  public:
    COrbelCtrl();
    ~COrbelCtrl() override;

    // Properties the control reads itself; the host sets them through the dispatch interface.
    bool DirectorySelect() const override { return m_directorySelect; }
    bool ShowResource() const override { return m_showResource; }
    bool NotifySelectTiff() const override { return m_notifySelectTiff; }
    bool PreviewPaneWanted() const { return m_showPreviewPane; }
    // The frame says when it splits off or removes the preview pane.
    void SetPreviewPaneShown(bool shown) { m_showPreviewPane = shown; }
    bool GetScriptMaint() { return m_scriptMaint; }
    void SetScriptMaint(bool value);

    // Methods of the dispatch interface that the control carries out itself.
    void RequestResult(std::int32_t nResult, const std::string& sData, const std::string& sKey1,
                       const std::string& sKey2, const std::string& sKey3, const std::string& sKey4,
                       const std::string& sKey5, const std::string& sKey6, const std::string& sKey7,
                       const std::string& sKey8, const std::string& sKey9,
                       const std::string& sKey10);
    std::int32_t RefreshTarnField(std::int32_t nOLEID, std::int32_t nClassOLEID,
                                  const std::string& szField);
    bool QueryClose();
    void SetDirectIDRetrieval(bool bDirectIDRetrieval);

    // Pane methods of the dispatch interface: the list goes to the script view in script
    // mode, the tree acts only in normal mode.
    bool AddTreeViewItem(bool bFolder, bool bClassItem, std::int32_t nID, std::int32_t nParentID,
                         const std::string& lpszName);
    bool AddListViewItem(bool bFolder, bool bClassItem, std::int32_t nID,
                         const std::string& lpszName, const std::string& lpszResource);
    bool SetImageDetails(std::int32_t nID, std::int32_t nPageStart, std::int32_t nPageEnd,
                         std::int32_t nBatch);
    bool UpdateFolder(std::int32_t nID, const std::string& lpszName);
    bool UpdateListFolder(std::int32_t nID, const std::string& lpszName);
    bool UpdateTreeFolder(std::int32_t nID, const std::string& lpszName);
    bool UpdateItem(std::int32_t nID, const std::string& lpszName, std::int32_t nPageStart,
                    std::int32_t nPageEnd, std::int32_t nBatch);
    bool SetListParent(std::int32_t nID);
    bool SetTreeParent(std::int32_t nID, std::int32_t nParentID);
    bool DeleteTreeItem(std::int32_t nID);
    bool DeleteListItem(std::int32_t nID);
    void DeleteAllListViewItems();
    void BeginTreeDownload();
    void EndTreeDownload();
    bool RequestDeleteObject(const std::string& lpszObjectPath);
    bool SetObjectDir(const std::string& lpszObjectsDir);
    bool ProcessTarnMessage(const std::string& lpszMessage);
    // Shows the resource where the list shows an opened item (all its pages, preview allowed).
    void ShowItem(const std::string& sResource);
    std::string GetListViewData(std::int32_t nIndex);
    std::int32_t GetListViewItemCount();
    std::int32_t GetListViewdwItem(std::int32_t nIndex);
    // The cell link for the item a handle from GetListViewdwItem names; any other number is
    // refused and runs nothing. Always empty text: the link goes into the item's resource.
    std::string SelectExcelCell(const std::string& sFileName, std::int32_t dwOleItem);
    // The object a handle from GetListViewdwItem names; null for any other number.
    const ListItemHandle* FromListItemHandle(std::int32_t handle) const;
    // "Create/Select a File" for a document of the type: a handle to the file chosen and the
    // item it became, or 0 after Cancel.
    std::int32_t GetOleFile(const std::string& lpszFileType);
    // The choice a handle from GetOleFile names while it is the latest; null otherwise.
    const CViewList::OleFileChoice* FromOleFileHandle(std::int32_t handle) const;

    // Opening a store.
    std::int32_t Initiate(std::int32_t nOLEID, std::int32_t nClassOLEID);
    std::int32_t InitiateFolderMaint(std::int32_t nOLEID, std::int32_t nClassOLEID,
                                     const std::string& szFolder, const std::string& szSubFolder);

    // Subscriber maintenance: the tree and list show the subscribers of the current item, with
    // their addresses, until it is left for the pair that was open when it was entered.
    void EnterSubscriberMaint();
    std::int32_t InitiateSubscriberMaint(std::int32_t nOLEID, std::int32_t nClassOLEID);
    std::int32_t LeaveSubscriberMaint();

    // Script maintenance: the script view in place of the list, and what the host reads of it.
    // Initiate and InitiateFolderMaint end script maintenance: the item list comes back.
    void LeaveScriptMaint();
    std::int32_t InitiateScriptMaint(std::int32_t nOLEID, std::int32_t nClassOLEID,
                                     const std::string& sFolder, const std::string& sSubFolder,
                                     bool bVisible);
    std::int32_t GetScriptViewItemCount();
    std::string GetScriptViewData(std::int32_t nIndex, bool bNameOnly);
    void ShowScriptMaintenanceView(bool bShow);
    // Stores the script file (and "!" and the function, when there is one) as the item's
    // resource path.
    bool SetScriptResource(std::int32_t entryKey, const std::string& scriptFile,
                           const std::string& function) override;
    bool RewriteResourcePath(std::int32_t entryKey,
                             const std::function<MarkedPath(const std::string&)>& change) override;
    bool ScriptViewShown() const { return m_scriptViewShown; }

    // Enables or disables the control window, with the arrow or the hourglass.
    void EnableControl(bool enable) override;
    // The toolbar of a mode: 209 normal, 208 folder maintenance, 210 script maintenance (then
    // hidden), 207 for a value outside the enumeration.
    void SetToolbarForMode(DisplayMode mode);
    void EnableToolbarButton(UINT id, bool enable);
    void SetBusy(bool busy);
    bool IsBusy() const override { return m_busy; }
    bool SubscriberMode() const override { return m_subscriberMode; }
    void SetDisplayMode(DisplayMode mode) { m_mode = mode; }
    std::int32_t CurrentOleId() const override { return m_currentOleId; }
    std::int32_t ClassOleId() const override { return m_classOleId; }
    std::uint32_t OptionWord() const { return m_optionWord; }
    const std::string& BrowseTarget() const override { return m_browseTarget; }
    const std::string& ViewFileText() const override { return m_viewFileText; }
    const std::vector<SystemScriptEntry>& SystemScripts() const { return m_systemScripts; }
    // Stores the list row and the action ("ATTACH" or "EMAIL") as the pending selection that
    // the host's "h" reply fills, and asks the host with AttachOrEmail.
    void SetAttachOrEmail(int listIndex, const std::string& action) override;
    // Routing (OrbelRouting.cpp). Attaches the file to the top of tree `treeId` as a new item
    // and sends it to that tree's subscribers; false after saying which step failed (nothing
    // done before it is undone).
    bool AttachItem(const std::string& name, const std::string& path, std::int32_t treeId,
                    const std::string& ledger, const std::string& account) override;
    // Fires SendEmail once for every subscriber of the tree, groups walked breadth-first;
    // nothing at all in a store without the "EMAIL" class.
    void SendMailGetResources(const std::string& message, std::int32_t treeId,
                              const std::string& ledger, const std::string& account) override;
    std::int32_t GetProcessedAttachmentCount(bool bProcessed);
    // The panes say while a label is edited or a context menu is open; Escape then belongs
    // to them.
    void SetLabelEdit(bool on) override { m_labelEdit = on; }
    void SetContextMenu(bool on) override { m_contextMenu = on; }
    bool LabelEditing() const { return m_labelEdit; }
    bool ContextMenuOpen() const { return m_contextMenu; }

    CFrameContainer* Frame() const { return m_frame.get(); }
    CToolBar& ToolBar() { return m_toolBar; }
    CViewTree* TreeView() const;
    CViewList* ListView() const;
    // The panes as the pane rule reaches them: the list outside script mode (the script view
    // takes the list's calls there), the tree in normal mode only; null otherwise.
    CViewList* ListPane() const;
    CViewTree* TreePane() const;
    // The script view, which takes the list's calls in script mode; null otherwise.
    CScriptView* ScriptPane() const;

    bool OnCmdMsg(UINT id, CCmdUI* ui) override;

    // The store's table conversation, and the classes that read and write entries over it.
    CHostExchange& Exchange() { return m_exchange; }
    CResourceLookup& Lookup() { return m_lookup; }
    CEntryWriter& Writer() { return m_writer; }
    CFolderMaintenance& Maintenance() { return m_maintenance; }
    CMappingList& Mappings() { return m_mappingList; }
    // The toolbar's Options: the mappings of the initialisation file edited in place, then
    // read afresh whatever button closed the dialog.
    void ShowOptions();
    DisplayMode Mode() const override { return m_mode; }
    platform::Cursor CurrentCursor() const { return m_hCursor; }

    bool PreTranslateMessage(MSG& msg) override;

    // Events.
    void FireFolderChange(const std::string& sFolderName) override;
    void FireSelectTiff(const std::string& lpszResource, std::int32_t nPageStart,
                        std::int32_t nPageEnd) override;
    void FireBusy(bool bBusy) override;
    void FireExit();
    void FireAttachOrEmail(const std::string& actionType);
    void FireSendEmail(const std::string& receiver, const std::string& message,
                       const std::string& ledger, const std::string& account,
                       const std::string& msgType) override;
    void FireOnGetSystemScripts();
    void FireOnViewFile(const std::string& sFileName) override;
    void FireSelectAttachment(const std::string& path) override;

  protected:
    std::string WindowClassName() const override { return "COrbelCtrl"; }
    int OnCreate() override;
    void OnSize(int cx, int cy) override;
    void OnMouseMove(POINT point) override;
    void OnTimer(UINT_PTR id) override;
    void OnDestroy() override;
    void OnDraw(const RECT& bounds, const RECT& invalid) override;

  private:
    // Writes the resource row the lookup just read back with the file, and "!" and the link
    // when there is one, as its path.
    bool StoreLookedUpResourcePath(const std::string& file, const std::string& link);
    void BuildDispatchMap();
    void BuildEventMap();
    void OnPropertyChanged();
    void OnShowResourceChanged();
    void OnAutoCreateChanged();
    void OnAutoOpenChanged();
    void ApplyAttachOrEmailReply(const std::string& message);

    // CPaneSite: the panes' store changes go to the classes that make them.
    void ShowFolder(bool classTree, std::int32_t entryNo) override;
    std::int32_t CreateNewFolder(const std::string& name, std::int32_t parentOwnerId,
                                 std::int32_t parentEntryNo) override;
    bool ChangeItem(std::int32_t entryKey, const std::string& name, std::int32_t pageStart,
                    std::int32_t pageEnd) override;
    bool ChangeItem(std::int32_t entryKey, const std::string& name) override;
    bool SetParent(std::int32_t entryKey, std::int32_t newParentKey) override;
    void DeleteEntry(std::int32_t entryKey) override;
    void DeleteFolderEntry(std::int32_t entryKey) override;
    bool GetResourceDetails(std::int32_t entryKey, std::string& path, std::int32_t& pageStart,
                            std::int32_t& pageEnd, bool withMarkers,
                            bool quietWithoutResource) override;
    void ShowFolderProperties(std::int32_t folderKey) override;
    void ShowItemProperties(std::int32_t entryKey) override;
    void CreateNewItem(const std::string& name, const std::string& path, std::int32_t parentOwnerId,
                       std::int32_t parentEntryNo, std::int32_t pageStart,
                       std::int32_t pageEnd) override;
    std::int32_t FolderForExtension(const std::string& extension) override;

    // CStoreSite (the settings and EnableControl and FireBusy serve it as well).
    bool ScriptMaint() const override { return m_scriptMaint; }
    bool BatchMaint() const override { return m_batchMaint; }
    void AddListRow(const TreeEntry& row, bool isClass, const std::string& resource) override;
    void AddTreeFolder(bool isClass, std::int32_t entryNo, std::int32_t parentKey,
                       const std::string& name) override;
    void MoveTreeFolder(std::int32_t key, std::int32_t parentKey) override;
    void MarkTreeFolder(std::int32_t key) override;
    void RemoveTreeFolder(std::int32_t key) override;
    void RedrawTree() override;
    void RemoveListRow(std::int32_t key) override;
    void ClearList() override;
    void SetListFolder(bool classTree, std::int32_t entryNo) override;
    void RememberFolder(const TreeEntry& row) override;
    void ForgetFolders() override;
    bool TranslateStoredPath(std::string& path) const override;

    // IExchangeSite
    void FireYield() override;
    void FireSetTablePos(const std::string& table, std::int32_t relationship, std::int32_t keyNo,
                         const std::string& keyValue) override;
    void FireReadNextRecord(const std::string& table) override;
    void FireUpdateRecord(const std::string& table, const RowText& row) override;
    void FireInsertRecord(const std::string& table, const RowText& row) override;
    void FireDeleteRecord(const std::string& table, const std::string& keyValue) override;
    void FireSelectTable(const std::string& table, std::int32_t keyNo, const std::string& start,
                         const std::string& end) override;
    void FireGetNextOLEID() override;
    void FireGetNextResourceID() override;
    HWND ExchangeWindow() const override { return GetSafeHwnd(); }
    std::int32_t ResponseTimeOut() const override { return m_responseTimeOut; }
    std::string ToStoredPath(const std::string& path) const override;
    void OnTreeRowUpdated(const TreeEntry& entry) override;

    // Properties.
    bool m_autoCreate = false;
    bool m_batchMaint = false;
    bool m_showResource = false;
    std::int32_t m_responseTimeOut = 10000;
    bool m_notifySelectTiff = false;
    std::int32_t m_scanMode = 0;
    bool m_directorySelect = false;
    bool m_autoOpen = false;
    bool m_showPreviewPane = true;

    // Members in the order the control declares them.
    bool m_labelEdit = false;
    bool m_busy = false;
    std::unique_ptr<CFrameContainer> m_frame;
    CHostExchange m_exchange;  // request buffers, reply strings and the wait
    CResourceLookup m_lookup;
    CEntryWriter m_writer;
    CTreeLoader m_loader;              // the load pass and the folder the list shows
    CFolderMaintenance m_maintenance;  // the folders the tree shows
    platform::Cursor m_hCursor = platform::Cursor::Arrow;
    std::uint32_t m_optionWord = 0;
    CToolBar m_toolBar;
    std::unique_ptr<ListItemHandle> m_listItemHandle;
    std::uint32_t m_listItemHandleValue = 0;
    std::uint32_t m_oleFileHandleValue = 0;
    std::int32_t m_currentOleId = -1;
    std::int32_t m_classOleId = 0;
    DisplayMode m_mode = DisplayMode::Normal;
    std::string m_pendingAttachOrEmail;
    bool m_subscriberMode = false;
    bool m_scriptMaint = false;
    std::int32_t m_subscriberOleId = -1;
    std::int32_t m_subscriberClassOleId = 0;
    bool m_contextMenu = false;
    bool m_scriptViewShown = true;
    std::vector<MailEntry> m_mailEntries;
    std::vector<SystemScriptEntry> m_systemScripts;
    std::string m_viewFileText;
    CMappingList m_mappingList;
    std::string m_browseTarget;
};

}  // namespace orbel
