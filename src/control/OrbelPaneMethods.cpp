// The dispatch methods that reach the panes. In script mode the list's methods belong to the
// script view; the tree's methods act only in normal mode.
#include "src/control/OrbelCtrl.h"
#include "src/panes/ViewList.h"
#include "src/panes/ViewTree.h"
#include "src/script/ScriptView.h"
#include "src/services/ShellServices.h"

namespace orbel {

namespace {
// The numbers the host gets for the objects the control keeps for it (the list item holder,
// the chosen file): fixed per control object, so the host can pass them back unchanged on any
// platform word size.
template <std::uint32_t kBase>
std::uint32_t NextHandle() {
    static std::uint32_t next = kBase;
    return ++next;
}
constexpr std::uint32_t kListItemHandles = 0x4C490000;
constexpr std::uint32_t kOleFileHandles = 0x4F460000;
}  // namespace

bool COrbelCtrl::AddTreeViewItem(bool bFolder, bool bClassItem, std::int32_t nID,
                                 std::int32_t nParentID, const std::string& lpszName) {
    if (CViewTree* tree = TreePane())
        tree->AddFolder(bFolder, bClassItem, nID, nParentID, lpszName);
    return true;
}

bool COrbelCtrl::AddListViewItem(bool bFolder, bool bClassItem, std::int32_t nID,
                                 const std::string& lpszName, const std::string& lpszResource) {
    if (CViewList* list = ListPane())
        list->AddItem(bFolder, bClassItem, nID, lpszName, FileExtension(lpszResource), lpszResource,
                      0, 0, 0);
    if (CScriptView* view = ScriptPane())
        view->AddItem(bFolder, bClassItem, nID, lpszName, lpszResource);
    return true;
}

bool COrbelCtrl::SetImageDetails(std::int32_t nID, std::int32_t nPageStart, std::int32_t nPageEnd,
                                 std::int32_t nBatch) {
    if (CViewList* list = ListPane()) list->SetPageColumns(nID, nPageStart, nPageEnd, nBatch);
    return true;
}

bool COrbelCtrl::UpdateFolder(std::int32_t nID, const std::string& lpszName) {
    UpdateTreeFolder(nID, lpszName);
    return UpdateListFolder(nID, lpszName);
}

bool COrbelCtrl::UpdateListFolder(std::int32_t nID, const std::string& lpszName) {
    if (CViewList* list = ListPane()) list->RenameFolderRow(nID, lpszName);
    return true;
}

bool COrbelCtrl::UpdateTreeFolder(std::int32_t nID, const std::string& lpszName) {
    if (CViewTree* tree = TreePane()) tree->RenameFolder(nID, lpszName);
    return true;
}

bool COrbelCtrl::UpdateItem(std::int32_t nID, const std::string& lpszName, std::int32_t nPageStart,
                            std::int32_t nPageEnd, std::int32_t nBatch) {
    if (CViewList* list = ListPane()) list->UpdateItem(nID, lpszName, nPageStart, nPageEnd, nBatch);
    return true;
}

bool COrbelCtrl::SetListParent(std::int32_t nID) {
    if (CViewList* list = ListPane()) list->SetFolderKey(false, nID);
    if (CScriptView* view = ScriptPane()) view->SetParentCode(false, nID);
    return true;
}

bool COrbelCtrl::SetTreeParent(std::int32_t nID, std::int32_t nParentID) {
    if (CViewTree* tree = TreePane()) tree->MoveFolder(nID, nParentID);
    return true;
}

bool COrbelCtrl::DeleteTreeItem(std::int32_t nID) {
    if (CViewTree* tree = TreePane()) tree->RemoveFolder(nID);
    return true;
}

bool COrbelCtrl::DeleteListItem(std::int32_t nID) {
    if (CViewList* list = ListPane()) list->RemoveItem(nID);
    if (CScriptView* view = ScriptPane()) view->DeleteItem(nID);
    return true;
}

void COrbelCtrl::DeleteAllListViewItems() {
    if (CViewList* list = ListPane()) list->ClearItems();
    if (CScriptView* view = ScriptPane()) view->DeleteAll();
}

void COrbelCtrl::BeginTreeDownload() {
    if (CViewTree* tree = TreePane()) tree->BeginDownload();
    DeleteAllListViewItems();
}

void COrbelCtrl::EndTreeDownload() {
    if (CViewTree* tree = TreePane()) tree->EndDownload();
}

bool COrbelCtrl::RequestDeleteObject(const std::string& lpszObjectPath) {
    // The script view answers in script mode, once it exists.
    if (CViewList* list = ListPane()) list->RequestDeleteObject(lpszObjectPath);
    return true;
}

bool COrbelCtrl::SetObjectDir(const std::string& lpszObjectsDir) {
    if (CViewList* list = ListPane()) list->SetObjectDir(lpszObjectsDir);
    if (CScriptView* view = ScriptPane()) view->SetObjectDir(lpszObjectsDir);
    return true;
}

std::int32_t COrbelCtrl::GetListViewItemCount() {
    CViewList* list = ListView();
    return list ? list->GetItemCount() : 0;
}

std::int32_t COrbelCtrl::GetListViewdwItem(std::int32_t nIndex) {
    if (!m_listItemHandle) {
        m_listItemHandle = std::make_unique<ListItemHandle>();
        m_listItemHandleValue = NextHandle<kListItemHandles>();
    }
    CViewList* list = ListView();
    if (list && nIndex >= 0 && nIndex < list->GetItemCount()) {
        m_listItemHandle->text = list->RowText(nIndex, 0);
        m_listItemHandle->data = static_cast<std::uint32_t>(list->RowKey(nIndex));
    } else {
        // No such row: the holder says so rather than keep the last row's values.
        *m_listItemHandle = ListItemHandle{};
    }
    return static_cast<std::int32_t>(m_listItemHandleValue);
}

const ListItemHandle* COrbelCtrl::FromListItemHandle(std::int32_t handle) const {
    if (!m_listItemHandle || static_cast<std::uint32_t>(handle) != m_listItemHandleValue)
        return nullptr;
    return m_listItemHandle.get();
}

std::string COrbelCtrl::SelectExcelCell(const std::string&, std::int32_t dwOleItem) {
    const ListItemHandle* item = FromListItemHandle(dwOleItem);
    CViewList* list = ListPane();
    // A handle that named no row holds 0, which LinkCell would take for the current row.
    if (item && item->data != 0 && list) list->LinkCell(item->data);
    return {};
}

std::int32_t COrbelCtrl::GetOleFile(const std::string& lpszFileType) {
    CViewList* list = ListPane();
    if (!list || !list->GetOleFile(lpszFileType)) return 0;
    if (m_oleFileHandleValue == 0) m_oleFileHandleValue = NextHandle<kOleFileHandles>();
    return static_cast<std::int32_t>(m_oleFileHandleValue);
}

const CViewList::OleFileChoice* COrbelCtrl::FromOleFileHandle(std::int32_t handle) const {
    CViewList* list = ListView();
    if (!list || m_oleFileHandleValue == 0 ||
        static_cast<std::uint32_t>(handle) != m_oleFileHandleValue)
        return nullptr;
    return list->OleFile();
}

void COrbelCtrl::ShowItem(const std::string& sResource) {
    if (CViewList* list = ListPane()) list->ViewResource(sResource, 0, 0, true);
}

std::string COrbelCtrl::GetListViewData(std::int32_t nIndex) {
    std::string path;
    CViewList* list = ListPane();
    // A host that walks the list asks for every row: a folder's is answered without asking the
    // store, and a row that links to no file is answered empty without a message box.
    if (!list || nIndex < 0 || nIndex >= list->GetItemCount() || list->IsFolderRow(nIndex))
        return path;
    std::int32_t pageStart = 0, pageEnd = 0;
    m_lookup.GetResourceDetails(list->RowKey(nIndex), path, pageStart, pageEnd, true, true);
    return path;
}

}  // namespace orbel
