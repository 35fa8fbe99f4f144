// The control between its panes and the store's classes: the panes' store changes go to the
// loader, the writer, the lookup and folder maintenance, and the rows those read go to the
// panes that take them in the current mode.
#include "src/control/OrbelCtrl.h"
#include "src/dialogs/AttachmentPropertiesDlg.h"
#include "src/dialogs/FolderPropertiesDlg.h"
#include "src/dialogs/OptionsDlg.h"
#include "src/panes/ViewList.h"
#include "src/panes/ViewTree.h"
#include "src/script/ScriptView.h"

namespace orbel {

void COrbelCtrl::ShowFolder(bool classTree, std::int32_t entryNo) {
    m_loader.ShowFolder(classTree, entryNo);
}

std::int32_t COrbelCtrl::CreateNewFolder(const std::string& name, std::int32_t parentOwnerId,
                                         std::int32_t parentEntryNo) {
    return m_writer.CreateNewFolder(name, parentOwnerId, parentEntryNo);
}

bool COrbelCtrl::ChangeItem(std::int32_t entryKey, const std::string& name, std::int32_t pageStart,
                            std::int32_t pageEnd) {
    return m_writer.ChangeItem(entryKey, name, pageStart, pageEnd);
}

bool COrbelCtrl::ChangeItem(std::int32_t entryKey, const std::string& name) {
    return m_writer.ChangeItem(entryKey, name);
}

bool COrbelCtrl::SetParent(std::int32_t entryKey, std::int32_t newParentKey) {
    return m_writer.SetParent(entryKey, newParentKey);
}

void COrbelCtrl::DeleteEntry(std::int32_t entryKey) {
    m_writer.DeleteEntry(entryKey);
}

void COrbelCtrl::DeleteFolderEntry(std::int32_t entryKey) {
    m_maintenance.DeleteFolderEntry(entryKey);
}

bool COrbelCtrl::GetResourceDetails(std::int32_t entryKey, std::string& path,
                                    std::int32_t& pageStart, std::int32_t& pageEnd,
                                    bool withMarkers, bool quietWithoutResource) {
    return m_lookup.GetResourceDetails(entryKey, path, pageStart, pageEnd, withMarkers,
                                       quietWithoutResource);
}

void COrbelCtrl::ShowFolderProperties(std::int32_t folderKey) {
    RunFolderProperties(GetSafeHwnd(), m_maintenance, folderKey);
}

void COrbelCtrl::ShowItemProperties(std::int32_t entryKey) {
    std::string path;
    std::int32_t pageStart = 0, pageEnd = 0;
    // A failed lookup has told the user; the dialog still shows what it found, as the batch
    // of the tree entry read last.
    m_lookup.GetResourceDetails(entryKey, path, pageStart, pageEnd, false);
    if (m_mode == DisplayMode::ScriptMaint) {
        if (CScriptView* view = ScriptPane()) view->OpenResource(path, true);
        return;
    }
    if (CViewList* list = ListPane())
        RunAttachmentProperties(GetSafeHwnd(), *list, path, pageStart, pageEnd,
                                m_exchange.m_treeEntry.Batch);
}

void COrbelCtrl::ShowOptions() {
    COptionsDlg dialog(m_mappingList.IniFile(), GetSafeHwnd());
    dialog.DoModal();
    m_mappingList.ReloadMappingsAfterOptions();
}

void COrbelCtrl::CreateNewItem(const std::string& name, const std::string& path,
                               std::int32_t parentOwnerId, std::int32_t parentEntryNo,
                               std::int32_t pageStart, std::int32_t pageEnd) {
    m_writer.CreateNewItem(name, path, parentOwnerId, parentEntryNo, pageStart, pageEnd);
}

std::int32_t COrbelCtrl::FolderForExtension(const std::string& extension) {
    return m_maintenance.FindFolderForExtension(extension);
}

void COrbelCtrl::AddListRow(const TreeEntry& row, bool isClass, const std::string& resource) {
    if (CViewList* list = ListPane())
        list->AddItem(row.IsItem == 0, isClass, row.EntryNo, row.Name, row.Type, resource,
                      row.PageStart, row.PageEnd, Atol(row.Batch));
    if (CScriptView* view = ScriptPane())
        view->AddItem(row.IsItem == 0, isClass, row.EntryNo, row.Name, resource);
}

void COrbelCtrl::AddTreeFolder(bool isClass, std::int32_t entryNo, std::int32_t parentKey,
                               const std::string& name) {
    AddTreeViewItem(true, isClass, entryNo, parentKey, name);
}

void COrbelCtrl::MoveTreeFolder(std::int32_t key, std::int32_t parentKey) {
    SetTreeParent(key, parentKey);
}

void COrbelCtrl::MarkTreeFolder(std::int32_t key) {
    if (CViewTree* tree = TreePane()) tree->SetFolderMark(key, true);
}

void COrbelCtrl::RemoveTreeFolder(std::int32_t key) {
    DeleteTreeItem(key);
}

void COrbelCtrl::RedrawTree() {
    if (CViewTree* tree = TreePane()) tree->RedrawNow();
}

void COrbelCtrl::RemoveListRow(std::int32_t key) {
    DeleteListItem(key);
}

void COrbelCtrl::ClearList() {
    DeleteAllListViewItems();
}

void COrbelCtrl::SetListFolder(bool classTree, std::int32_t entryNo) {
    if (CViewList* list = ListPane()) list->SetFolderKey(classTree, entryNo);
    if (CScriptView* view = ScriptPane()) view->SetParentCode(classTree, entryNo);
}

void COrbelCtrl::RememberFolder(const TreeEntry& row) {
    m_maintenance.Folders().RememberFolder(row, RememberMode::Add);
}

void COrbelCtrl::ForgetFolders() {
    m_maintenance.Folders().RemoveAll();
}

bool COrbelCtrl::TranslateStoredPath(std::string& path) const {
    return m_mappingList.TranslateStoredPath(path);
}

}  // namespace orbel
