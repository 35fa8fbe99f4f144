// What the user does in the folder tree: keys, label editing, and the drags of both panes,
// which the tree carries from the first move to the drop.
#include "platform/Api.h"
#include "platform/Platform.h"
#include "platform/text/Sprintf.h"
#include "src/panes/PaneSite.h"
#include "src/panes/ViewList.h"
#include "src/panes/ViewTree.h"
#include "src/resources/StringTable.h"
#include "src/store/RecordFormats.h"

namespace orbel {

using platform::GetPlatform;
using platform::kTreeNone;
using platform::TreeItem;

void CViewTree::OnTreeKeyDown(UINT key) {
    if (!m_site) return;
    if (key == VK_ESCAPE) {
        if (Dragging()) EndDrag(POINT{0, 0}, true);
        return;
    }
    if (key != VK_DELETE && key != VK_F2) return;
    TreeItem item = m_tree->GetSelectedItem();
    if (item == kTreeNone) return;
    const auto entryKey = static_cast<std::int32_t>(m_tree->GetItemData(item));
    if (key == VK_DELETE) {
        if (IsClassEntryKey(entryKey)) {
            AfxMessageBox(LoadString(IDS_NO_DELETE_CLASS_ITEM));
            return;
        }
        const std::string question = Sprintf(
            "Are you sure you want to remove %s and all it's contents?", m_tree->GetItemText(item));
        if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES)
            m_site->DeleteFolderEntry(entryKey);
        return;
    }
    if (IsClassEntryKey(entryKey)) {
        AfxMessageBox(LoadString(IDS_NO_EDIT_CLASS_ITEM));
        return;
    }
    m_tree->EditLabel(item);
}

bool CViewTree::OnTreeBeginLabelEdit(TreeItem item) {
    if (IsClassEntryKey(static_cast<std::int32_t>(m_tree->GetItemData(item)))) return true;
    if (m_site) m_site->SetLabelEdit(true);
    // Labels are edited within the width of the stored name.
    m_tree->LimitEditText(static_cast<int>(kNameWidth));
    return false;
}

bool CViewTree::OnTreeEndLabelEdit(TreeItem item, const std::optional<std::string>& text) {
    if (m_site) m_site->SetLabelEdit(false);
    // An emptied label names nothing: it is taken as a cancelled edit.
    if (!m_site || !text || text->empty()) return false;
    const auto entryKey = static_cast<std::int32_t>(m_tree->GetItemData(item));
    const std::string name = StoredText(*text, kNameWidth);
    // The label changes only once the store took the name.
    if (m_site->ChangeItem(entryKey, name, 0, 0)) {
        RenameFolder(entryKey, name);
        if (m_listView) m_listView->RenameFolderRow(entryKey, name);
    }
    return false;
}

void CViewTree::OnTreeBeginDrag(TreeItem, POINT point) {
    UINT flags = 0;
    TreeItem item = m_tree->HitTest(point, &flags);
    if (item == kTreeNone || !(flags & platform::kTreeHitOnItem)) return;
    m_dragImage = m_tree->CreateDragImage(item);
    StartDrag(static_cast<std::int32_t>(m_tree->GetItemData(item)), GetCursorPos(), this);
}

void CViewTree::StartDrag(std::int32_t key, POINT screen, CWnd* source) {
    if (!m_dragImage) return;
    auto& controls = GetPlatform().CommonControls();
    m_dragKey = key;
    m_dragSource = source;
    controls.DragShowNolock(true);
    controls.BeginDrag(*m_dragImage, 0, POINT{0, 0});
    controls.DragMove(screen);
    controls.DragEnter(kNoWindow, screen);
    SetCapture();
}

void CViewTree::OnMouseMove(POINT) {
    if (!Dragging() || !m_dragImage) return;
    auto& controls = GetPlatform().CommonControls();
    const POINT screen = GetCursorPos();
    controls.DragMove(screen);
    HWND under = WindowFromPoint(screen);
    if (under == GetSafeHwnd()) {
        UINT flags = 0;
        if (TreeItem hit = m_tree->HitTest(ScreenToClient(screen), &flags)) {
            controls.DragLeave(kNoWindow);
            m_tree->SelectDropTarget(hit);
            controls.DragEnter(kNoWindow, screen);
        }
    } else if (m_listView && under == m_listView->GetSafeHwnd()) {
        m_listView->DragHover(screen);
    }
}

void CViewTree::OnLButtonUp(POINT) {
    if (Dragging()) EndDrag(GetCursorPos(), false);
}

void CViewTree::EndDrag(POINT screen, bool cancel) {
    auto& controls = GetPlatform().CommonControls();
    controls.DragLeave(kNoWindow);
    controls.EndDrag();
    m_dragImage.reset();
    bool classEntry = false;
    if (m_listView && m_dragSource == m_listView) {
        const int row = m_listView->FindRow(m_dragKey);
        classEntry = row != -1 && m_listView->IsClassRow(row);
    } else if (TreeItem item = FindByKey(m_dragKey)) {
        classEntry = IsClassEntryKey(static_cast<std::int32_t>(m_tree->GetItemData(item)));
    }
    if (classEntry) {
        MessageBeep();
        AfxMessageBox("Class structure may not be modified.\nUse Class maintenance");
        cancel = true;
    }
    if (!cancel) Drop(screen);
    ReleaseCapture();
    m_dragKey = -1;
    m_dragSource = nullptr;
    m_tree->SelectDropTarget(kTreeNone);
    // A drag that ends anywhere else leaves no row of the list highlighted either.
    if (m_listView) m_listView->ClearDropHighlight();
    if (m_site) m_site->FireFolderChange(FolderPath());
}

void CViewTree::Drop(POINT screen) {
    HWND under = WindowFromPoint(screen);
    TreeItem target = kTreeNone;
    if (under == GetSafeHwnd()) {
        target = m_tree->GetDropHilightItem();
    } else if (m_listView && under == m_listView->GetSafeHwnd()) {
        const std::int32_t rowKey = m_listView->DropHighlightKey();
        // A highlighted row is the target when it is a folder; over empty space the folder
        // that the list shows is.
        target = FindByKey(rowKey != -1 ? rowKey : m_listView->FolderKey());
    }
    if (m_listView) m_listView->ClearDropHighlight();
    TreeItem dragged = FindByKey(m_dragKey);
    if (target == kTreeNone || target == dragged || !m_site) return;
    for (TreeItem up = target; dragged != kTreeNone && up != kTreeNone;
         up = m_tree->GetParentItem(up)) {
        if (up == dragged) {
            AfxMessageBox("Can not move folder. The destination folder belongs to the source");
            return;
        }
    }
    const auto targetKey = static_cast<std::int32_t>(m_tree->GetItemData(target));
    if (!m_site->SetParent(m_dragKey, targetKey)) return;
    MoveFolder(m_dragKey, targetKey);
    ShowItemFolder(m_tree->GetSelectedItem());
}

}  // namespace orbel
