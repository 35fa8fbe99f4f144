#include "src/panes/ViewTree.h"

#include "platform/Api.h"
#include "platform/Platform.h"
#include "src/panes/PaneSite.h"
#include "src/panes/ViewList.h"
#include "src/store/RecordFormats.h"

namespace orbel {

using platform::GetPlatform;
using platform::kTreeNone;
using platform::TreeInsert;
using platform::TreeItem;

namespace {
constexpr const char* kRootLabel = "All";
constexpr const char* kTreeStrip = "tree";
constexpr int kStripCells = 15;
}  // namespace

std::unique_ptr<CWnd> CViewTree::CreateObject() {
    return std::make_unique<CViewTree>();
}

CViewTree::CViewTree() = default;
CViewTree::~CViewTree() = default;

int CViewTree::OnCreate() {
    if (CWnd::OnCreate() == -1) return -1;
    auto& controls = GetPlatform().CommonControls();
    m_tree = controls.CreateTreeControl(GetSafeHwnd(), *this);
    if (!m_tree) return -1;
    m_images = controls.CreateImageList(kTreeStrip, 16, 20, kStripCells);
    m_tree->SetImageList(m_images.get());
    return 0;
}

void CViewTree::OnDestroy() {
    if (Dragging()) {
        GetPlatform().CommonControls().EndDrag();
        if (GetPlatform().Windows().GetCapture() == GetSafeHwnd()) ReleaseCapture();
        m_dragKey = -1;
    }
    m_dragImage.reset();
    m_keyIndex.clear();
    m_root = kTreeNone;
    m_tree.reset();
    CWnd::OnDestroy();
}

TreeItem CViewTree::Insert(const std::string& text, int image, int selectedImage, TreeItem parent,
                           TreeInsert where, std::int32_t key) {
    TreeItem item = m_tree->InsertItem(text, image, selectedImage, parent, where);
    if (item == kTreeNone) return kTreeNone;
    m_tree->SetItemData(item, static_cast<DWORD>(key));
    m_keyIndex[static_cast<DWORD>(key)].push_back(item);
    return item;
}

void CViewTree::Unindex(TreeItem item) {
    for (TreeItem child = m_tree->GetChildItem(item); child != kTreeNone;
         child = m_tree->GetNextSiblingItem(child))
        Unindex(child);
    auto it = m_keyIndex.find(m_tree->GetItemData(item));
    if (it == m_keyIndex.end()) return;
    std::erase(it->second, item);
    if (it->second.empty()) m_keyIndex.erase(it);
}

void CViewTree::Delete(TreeItem item) {
    Unindex(item);
    if (item == m_root) m_root = kTreeNone;
    m_tree->DeleteItem(item);
}

TreeItem CViewTree::WalkForKey(TreeItem from, DWORD key) const {
    for (TreeItem item = from; item != kTreeNone; item = m_tree->GetNextSiblingItem(item)) {
        if (m_tree->GetItemData(item) == key) return item;
        if (TreeItem found = WalkForKey(m_tree->GetChildItem(item), key)) return found;
    }
    return kTreeNone;
}

TreeItem CViewTree::FindByKey(std::int32_t key) const {
    if (!m_tree) return kTreeNone;
    auto it = m_keyIndex.find(static_cast<DWORD>(key));
    if (it == m_keyIndex.end()) return kTreeNone;
    if (it->second.size() == 1) return it->second.front();
    // Two items share the key: the first in pre-order is meant.
    return WalkForKey(m_tree->GetRootItem(), static_cast<DWORD>(key));
}

void CViewTree::AddFolder(bool isFolder, bool isClass, std::int32_t entryNo, std::int32_t parentKey,
                          const std::string& name) {
    if (!isFolder || !m_tree) return;
    TreeItem parent = parentKey == 0 ? m_root : FindByKey(parentKey);
    // A parent that is not in the tree puts the folder at the top level, beside the root.
    if (isClass)
        Insert(name, kImageClassFolder, kImageOpenClassFolder, parent, TreeInsert::Sort,
               entryNo * 10 + 1);
    else
        Insert(name, kImageFolder, kImageOpenFolder, parent, TreeInsert::Sort, entryNo * 10);
}

void CViewTree::RemoveFolder(std::int32_t key) {
    if (TreeItem item = FindByKey(key)) Delete(item);
}

void CViewTree::BeginDownload() {
    if (!m_tree) return;
    m_suppress = true;
    m_tree->DeleteAllItems();
    m_keyIndex.clear();
    m_root =
        Insert(kRootLabel, kImageClassFolder, kImageClassFolder, kTreeNone, TreeInsert::First, 0);
}

void CViewTree::EndDownload() {
    if (!m_tree) return;
    EnableWindow(true);
    m_tree->SelectItem(m_root);
    m_suppress = false;
}

void CViewTree::RenameFolder(std::int32_t key, const std::string& name) {
    TreeItem item = FindByKey(key);
    if (item == kTreeNone) return;
    // Only the label changes: selecting the folder here would make it current without a
    // folder change, leaving the list on another folder and a click on it without effect.
    m_tree->SetItemText(item, name);
}

void CViewTree::MoveFolder(std::int32_t key, std::int32_t parentKey) {
    TreeItem item = FindByKey(key);
    if (item == kTreeNone) return;
    TreeItem parent = parentKey == -1 ? kTreeNone : FindByKey(parentKey);
    if (parent == kTreeNone) {
        Delete(item);
        return;
    }
    // The folder goes with its subtree and keeps its items, so a load that moves each folder
    // under its parent costs one step per folder however deep the chains are. A move under
    // its own subtree is refused by the tree; the drop refuses such moves before they get
    // here, and a host that asks for one loses nothing.
    m_tree->MoveItem(item, parent, TreeInsert::Sort);
}

void CViewTree::SetFolderMark(std::int32_t key, bool marked) {
    TreeItem item = FindByKey(key);
    if (item == kTreeNone) return;
    bool classOrRoot = IsClassEntryKey(key) || item == m_root;
    if (classOrRoot)
        m_tree->SetItemImage(item, marked ? kImageClassFolderMarked : kImageClassFolder,
                             marked ? kImageOpenClassFolderMarked : kImageOpenClassFolder);
    else
        m_tree->SetItemImage(item, marked ? kImageFolderMarked : kImageFolder,
                             marked ? kImageOpenFolderMarked : kImageOpenFolder);
}

void CViewTree::ShowFolder(std::int32_t key) {
    TreeItem item = FindByKey(key);
    if (item == kTreeNone) return;
    if (m_tree->ItemHasChildren(item)) m_tree->Expand(item, true);
    m_tree->SelectItem(item);
}

std::string CViewTree::FolderPath() const {
    if (!m_tree) return "\\All";
    TreeItem item = m_tree->GetSelectedItem();
    if (item == kTreeNone) return "\\All";
    std::string path;
    for (; item != kTreeNone; item = m_tree->GetParentItem(item))
        path = "\\" + m_tree->GetItemText(item) + path;
    return path;
}

void CViewTree::RedrawNow() {
    if (m_tree) m_tree->RedrawNow();
}

void CViewTree::ShowItemFolder(TreeItem item) {
    if (!m_site || item == kTreeNone) return;
    auto key = static_cast<std::int32_t>(m_tree->GetItemData(item));
    std::int32_t entryNo = key / 10;
    bool classTree = IsClassEntryKey(key) || entryNo == 0;
    m_site->ShowFolder(classTree, entryNo);
}

void CViewTree::OnTreeSelChanged(TreeItem, TreeItem newItem) {
    if (m_suppress || !m_site || newItem == kTreeNone) return;
    ShowItemFolder(newItem);
    m_site->FireFolderChange(FolderPath());
}

bool CViewTree::OnTreeItemExpanding(TreeItem, bool) {
    // Nothing expands or collapses while the tree is being rebuilt.
    return m_suppress;
}

}  // namespace orbel
