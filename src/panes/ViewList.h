// The item list: the entries inside the folder that is current, folders first, each row
// carrying the entry key of its entry as its data word. The control fills it while it reads a
// folder; the host reads it back by row index.
#pragma once

#include <cstdint>
#include <forward_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/framework/Wnd.h"

namespace orbel {

class CImageView;
class CPaneSite;
class CViewTree;

// A row's image tells its kind; the first three images of both of the list's strips have these
// roles (a file type's icon, when there is one, comes after them).
enum ListImage : int {
    kListImageFolder = 0,
    kListImageItem = 1,
    kListImageClass = 2,
};

// One routing record: the tree a row is to be attached to, and whether it was done already.
struct RoutingEntry {
    std::int32_t key = 0;
    std::int32_t target = 0;
    bool processed = false;
};

class CViewList final : public CWnd, private platform::ListControlEvents {
  public:
    static constexpr const char* kClassName = "CViewList";
    static std::unique_ptr<CWnd> CreateObject();

    CViewList();
    ~CViewList() override;

    void SetTreeView(CViewTree* tree) { m_treeView = tree; }
    // The preview pane's image view while the frame shows it; null for none.
    void SetImageView(CImageView* view) { m_imageView = view; }
    CImageView* ImageView() const { return m_imageView; }

    // Remembers the control and lays the columns out for its present state.
    void BuildColumns(CPaneSite* site);
    // Adds a column after the present ones (folder maintenance adds "Link Info").
    void AddColumn(int index, const std::string& title, int width);
    void AddItem(bool isFolder, bool isClass, std::int32_t entryNo, const std::string& name,
                 const std::string& type, const std::string& resource, std::int32_t pageStart,
                 std::int32_t pageEnd, std::int32_t batch);
    void SetPageColumns(std::int32_t key, std::int32_t pageStart, std::int32_t pageEnd,
                        std::int32_t batch);
    void RemoveItem(std::int32_t key);
    void ClearItems();
    void RenameFolderRow(std::int32_t key, const std::string& name);
    void UpdateItem(std::int32_t key, const std::string& name, std::int32_t pageStart,
                    std::int32_t pageEnd, std::int32_t batch);
    void SetFolderKey(bool classTree, std::int32_t entryNo);
    std::int32_t FolderKey() const { return m_folderKey; }
    int FindRow(std::int32_t key) const;
    bool IsClassRow(int row) const;
    bool IsFolderRow(int row) const;
    int GetItemCount() const;
    std::int32_t RowKey(int row) const;
    std::string RowText(int row, int column) const;
    int CurrentRow() const { return m_currentRow; }
    int FolderCount() const { return m_folderCount; }

    // Routing of rows to other trees, filled from the host's answers to attach requests.
    void SetRouting(std::int32_t key, std::int32_t target, bool processed, bool removeOnly);
    std::int32_t RoutingTarget(std::int32_t key) const;
    const std::vector<RoutingEntry>& Routing() const { return m_routing; }
    void SetRoutingColumns(int row, const std::string& attachText, const std::string& emailText);
    // The routing sheet (ViewListRouting.cpp). Flags are 1 for the attach route, 2 for the
    // e-mail route; columns are numbered the same.
    // Whether the flag is set in the item's stored path; `path` becomes the file to route.
    bool IsProcessed(std::int32_t key, int flag, std::string& path) const;
    // Stores the flag in the item's path (looked up when `path` is empty); a "!" link stays last.
    bool SetProcessedFlag(std::int32_t key, int flag, bool value, std::string path);
    // Empties the current row's column and lets its route be carried out again.
    void ClearRouting(int column);
    // Shows the routes already carried out and fills the routing table; run at opening.
    void MarkProcessedRows();
    // Carries out every pending route, then offers to clear the finished batch.
    void ProcessBatch();
    // The rows with work left (false), or with all their work done (true).
    int GetProcessedAttachmentCount(bool processed) const;
    // The documents of the selected items as attachments of one new mail (ViewListMail.cpp).
    void SendSelectionAsMail();

    // The Object Store directory, trailing blanks removed; empty when none was named.
    void SetObjectDir(const std::string& directory);
    const std::string& ObjectDir() const { return m_objectDir; }
    // Offers to delete a file of the store that no link uses any more.
    void RequestDeleteObject(const std::string& path);

    // New items from files (ViewListNewItems.cpp).
    // Links the file as a new item of the folder shown (or of the folder its extension
    // belongs to); the name defaults to the file's name. The new row becomes the current one,
    // and its entry key is the result (0 when the store refused the item).
    std::int32_t AddItemFromFile(const std::string& path, const std::string& name);
    // Links a web address ("http://", "ftp://" or "file://") as a new item of the folder shown
    // (or of the folder of the type "url"), named by the address when no name is given. The
    // new row becomes the current one, and its entry key is the result (0 when the address is
    // not a web address or the store refused the item). LinkItems.cpp.
    std::int32_t AddLinkItem(const std::string& address, const std::string& name);
    // Text dropped on the list: an address beginning with "http" becomes a link item named by
    // LinkNameFromText; the entry key as AddLinkItem gives it.
    std::int32_t DropText(const std::string& text);
    // The same, and the folder's subscribers are sent the new document outside directory
    // selection.
    std::int32_t AddItemFromFileWithNotice(const std::string& path);
    // New item (ViewListNewItem.cpp): the Insert Object dialog, and the item it asks for.
    void NewItem();
    // A subscriber of the folder shown: an item whose resource path is the address. The new
    // row's entry key is the result.
    std::int32_t AddSubscriber(const std::string& name, const std::string& address);
    // One item per file of the directory (subfolders are not entered).
    void SelectDirectoryItems(const std::string& directory);
    // A new numbered file of the Object Store filled as the ShellNew key says; empty after the
    // user was told why there is none (the empty file made for it is removed again).
    std::string CreateStoreFile(const std::string& extension, const std::string& shellNewKey);
    // "Create/Select a File" for a document of the type (".doc"): the file chosen and the item
    // it became, or null after Cancel. Owned by the list until the next call.
    struct OleFileChoice {
        std::string path;
        std::int32_t entryKey = 0;
    };
    const OleFileChoice* GetOleFile(const std::string& fileType);
    // The latest choice, null after a Cancel.
    const OleFileChoice* OleFile() const { return m_oleFile.get(); }

    // What the user does (ViewListActions.cpp).
    void Open();
    void DeleteSelected();
    void CreateFolder(const std::string& name);
    // Called by the tree while a drag hovers over the list: highlights the row under the
    // point.
    void DragHover(POINT screen);
    // The key of the highlighted row, -1 when none.
    std::int32_t DropHighlightKey() const;
    void ClearDropHighlight();
    // The commands of the menus and keys (32748-32769) for the current row.
    void OnListCommand(UINT id);
    // Commands whose work belongs to parts of the list that are not there yet; they do
    // nothing.
    static std::vector<UINT> CommandsWithoutReceiver();

    // The spreadsheet cell link for the item with the key (0: the current row); true when the
    // dialog ended with OK and the link was stored (ViewListCellLink.cpp).
    bool LinkCell(std::uint32_t itemData);

    // Opening and viewing (ViewListOpen.cpp).
    // The resource of the entry, opened with the preview allowed; nothing when there is none.
    void OpenItem(std::int32_t key);
    // A full path is viewed here; any other path is handed to the host (SelectAttachment).
    void OpenPath(const std::string& path, std::int32_t firstPage, std::int32_t lastPage,
                  bool previewAllowed);
    // Shows the resource in the browser, the preview, the host or its program, first rule
    // that applies.
    void ViewResource(const std::string& path, std::int32_t firstPage, std::int32_t lastPage,
                      bool previewAllowed);
    // A new file in the temporary folder holding the stylesheet instruction and then the
    // source's bytes; empty when it could not be made.
    std::string ExportXmlWithStylesheet(const std::string& source, const std::string& stylesheet);
    void OpenInProgram(const std::string& path);

    // Settings the control passes on.
    void SetAutoCreate(bool on) { m_autoCreate = on; }
    void SetAutoOpen(bool on) { m_autoOpen = on; }
    bool AutoCreate() const { return m_autoCreate; }
    bool AutoOpen() const { return m_autoOpen; }

    platform::ListControl& List() { return *m_list; }
    const platform::ListControl& List() const { return *m_list; }

  protected:
    int OnCreate() override;
    void OnDestroy() override;

    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

  private:
    // ListControlEvents
    void OnListItemChanged(int row, UINT oldState, UINT newState) override;
    void OnListKeyDown(UINT key) override;
    void OnListDoubleClick(int row) override;
    void OnListRightClick(int row, POINT point) override;
    bool OnListBeginLabelEdit(int row) override;
    bool OnListEndLabelEdit(int row, const std::optional<std::string>& text) override;
    void OnListBeginDrag(int row, POINT point) override;
    void OnListDrop(const platform::DroppedData& data) override;

    void ShowContextMenu(int row);
    // Creates the pending resource's item (or, with `directory`, one per file of the directory
    // `name`) in the folder shown or in the one its extension belongs to.
    void CreateItem(const std::string& name, bool directory);
    // The parent owner and entry of an entry made in the folder shown.
    std::pair<std::int32_t, std::int32_t> NewEntryParent() const;
    // Subscriber maintenance (ViewListSubscribers.cpp): "Email Name and Address" for a new
    // subscriber of the folder shown, or for the current row, which is replaced.
    void NewSubscriber();
    void EditSubscriber(int row);
    // Adds the item of the resource through a placeholder row with the image; the new row is
    // current and its key the result.
    std::int32_t AddPendingItem(const std::string& resource, const std::string& name, int image);
    // Starts label editing on the row unless a class row may not be renamed here.
    void RenameRow(int row, bool classRowsAllowed);

    bool ResourceColumnShown() const;
    // A routing column's text without trailing blanks; empty once the route is done.
    std::string RouteText(int row, int column) const;
    std::string PathWithMarkers(std::int32_t key) const;
    bool IsAnyProcessed(std::int32_t key) const;
    // SetProcessedFlag's work: the path with markers as now stored, or empty when the lookup
    // or the write failed.
    std::string MarkProcessed(std::int32_t key, int flag, bool value, const std::string& path);
    // Deletes the entries of the batch's rows, passing over any the control keeps.
    void ClearBatch();
    // Outside directory selection the columns after the name (and the resource) hold the
    // page range and the batch.
    bool PageColumnsShown() const;
    int FileTypeImage(const std::string& extension);
    // The registry's icon for the extension, added to both image lists; the plain item image
    // when the type or its icon is missing.
    int LookUpFileTypeImage(const std::string& extension);
    // Writes the page and batch columns; `newRow`: the row was just inserted, its cells empty.
    void WritePageColumns(int row, std::int32_t pageStart, std::int32_t pageEnd, std::int32_t batch,
                          bool newRow = false);

    struct IconCacheEntry {
        std::string extension;
        int image = 0;
        bool untilCleared = false;  // a type without an icon, remembered for one listing
    };

    CPaneSite* m_site = nullptr;
    CViewTree* m_treeView = nullptr;
    CImageView* m_imageView = nullptr;
    std::unique_ptr<platform::ListControl> m_list;
    std::unique_ptr<platform::ImageList> m_normalImages;
    std::unique_ptr<platform::ImageList> m_smallImages;
    int m_folderCount = 0;
    int m_currentRow = -1;
    std::int32_t m_folderKey = 0;
    bool m_adding = false;
    bool m_newFolder = false;
    int m_dropHighlight = -1;
    std::string m_pendingResource;
    std::int32_t m_extensionFolderKey = 0;  // the folder the last creation used
    std::string m_browseDirectory;          // where the last chooser was opened
    std::unique_ptr<OleFileChoice> m_oleFile;
    std::forward_list<IconCacheEntry> m_iconCache;  // newest first
    std::vector<RoutingEntry> m_routing;
    std::string m_objectDir;
    bool m_autoCreate = false;
    bool m_autoOpen = false;
};

}  // namespace orbel
