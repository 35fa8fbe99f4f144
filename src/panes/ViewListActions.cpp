// What the user does in the item list: context menus and their commands, keys, opening,
// deleting the selection, label editing, and the drags that begin in the list or hover over
// it (the tree carries every drag).
#include <algorithm>
#include <cstdlib>
#include <set>

#include "platform/Api.h"
#include "platform/Platform.h"
#include "platform/framework/Menu.h"
#include "platform/text/AsciiCase.h"
#include "platform/text/Sprintf.h"
#include "src/panes/PaneSite.h"
#include "src/panes/ViewList.h"
#include "src/panes/ViewTree.h"
#include "src/resources/ListMenus.h"
#include "src/resources/StringTable.h"
#include "src/store/RecordFormats.h"

namespace orbel {

using platform::GetPlatform;
using platform::kListDropHilited;
using platform::kListFocused;
using platform::kListSelected;

namespace {
bool EndsWithXls(std::string name) {
    name = FoldedAscii(name);
    return name.size() >= 4 && name.compare(name.size() - 4, 4, ".xls") == 0;
}
}  // namespace

std::vector<UINT> CViewList::CommandsWithoutReceiver() {
    return {};
}

// ---------------------------------------------------------------------------------------
// Context menus and commands

void CViewList::OnListRightClick(int row, POINT) {
    if (!m_site || m_site->IsBusy()) return;
    ShowContextMenu(row);
}

void CViewList::ShowContextMenu(int row) {
    const bool subscriber = m_site->SubscriberMode();
    const bool directorySelect = m_site->DirectorySelect();
    CMenu menu;
    menu.CreatePopupMenu();
    if (row >= 0 && IsFolderRow(row)) {
        menu.AppendMenu(MF_STRING, ID_LIST_RENAME_FOLDER, kMenuRename);
        menu.AppendMenu(MF_STRING, ID_LIST_FOLDER_PROPERTIES, kMenuProperties);
    } else if (row >= 0) {
        if (subscriber) {
            menu.AppendMenu(MF_STRING, ID_LIST_NEW_ITEM, kMenuNewItem);
            menu.AppendMenu(MF_STRING, ID_LIST_EDIT_SUBSCRIBER, kMenuEditItem);
            menu.SetDefaultItem(ID_LIST_NEW_ITEM);
        } else {
            menu.AppendMenu(MF_STRING, ID_LIST_OPEN, kMenuOpen);
            menu.AppendMenu(MF_STRING, ID_LIST_RENAME, kMenuRename);
            menu.SetDefaultItem(ID_LIST_OPEN);
        }
        if (directorySelect) {
            menu.AppendMenu(MF_STRING, ID_LIST_ATTACH_TO, kMenuAttachTo);
            if (!RowText(row, 1).empty())
                menu.AppendMenu(MF_STRING, ID_LIST_CLEAR_ATTACH_TO, kMenuClearAttachTo);
            menu.AppendMenu(MF_STRING, ID_LIST_EMAIL_TO, kMenuEmailTo);
            if (!RowText(row, 2).empty())
                menu.AppendMenu(MF_STRING, ID_LIST_CLEAR_EMAIL_TO, kMenuClearEmailTo);
            menu.AppendMenu(MF_SEPARATOR);
        }
        menu.AppendMenu(MF_STRING, ID_LIST_ITEM_PROPERTIES, kMenuProperties);
        if (EndsWithXls(RowText(row, 0))) {
            menu.AppendMenu(MF_SEPARATOR);
            menu.AppendMenu(MF_STRING, ID_LIST_LINK_SPREADSHEET, kMenuLinkSpreadsheet);
        }
    } else {
        if (subscriber) {
            menu.AppendMenu(MF_STRING, ID_LIST_NEW_ITEM, kMenuNewItem);
            menu.AppendMenu(MF_STRING, ID_LIST_EDIT_SUBSCRIBER, kMenuEditItem);
        } else {
            menu.AppendMenu(MF_STRING, ID_LIST_NEW_ITEM, kMenuNewOleItem);
        }
        if (m_site->Mode() == DisplayMode::Normal)
            menu.AppendMenu(MF_STRING, ID_LIST_NEW_FOLDER, kMenuNewFolder);
        menu.AppendMenu(MF_SEPARATOR);
        const auto style = m_list->GetViewStyle();
        auto styleItem = [&](UINT id, const char* text, platform::ListViewStyle itsStyle) {
            menu.AppendMenu(MF_STRING | (style == itsStyle ? MF_CHECKED : MF_UNCHECKED), id, text);
        };
        styleItem(ID_LIST_LARGE_ICONS, kMenuLargeIcons, platform::ListViewStyle::LargeIcons);
        styleItem(ID_LIST_SMALL_ICONS, kMenuSmallIcons, platform::ListViewStyle::SmallIcons);
        styleItem(ID_LIST_LIST, kMenuList, platform::ListViewStyle::List);
        styleItem(ID_LIST_DETAILS, kMenuDetails, platform::ListViewStyle::Report);
    }
    const POINT at = GetCursorPos();
    // Escape belongs to the menu while it is open.
    m_site->SetContextMenu(true);
    menu.TrackPopupMenu(TPM_LEFTALIGN, at.x, at.y, this);
    m_site->SetContextMenu(false);
}

bool CViewList::OnCommand(WPARAM wParam, LPARAM) {
    const auto id = static_cast<UINT>(LOWORD(static_cast<LPARAM>(wParam)));
    if (id < ID_LIST_FIRST_COMMAND || id > ID_LIST_LAST_COMMAND) return false;
    OnListCommand(id);
    return true;
}

void CViewList::RenameRow(int row, bool classRowsAllowed) {
    if (row < 0) return;
    if (!classRowsAllowed && IsClassRow(row)) {
        AfxMessageBox(LoadString(IDS_NO_EDIT_CLASS_ITEM));
        return;
    }
    m_list->EditLabel(row);
}

void CViewList::OnListCommand(UINT id) {
    if (!m_site) return;
    const int row = m_currentRow;
    switch (id) {
        case ID_LIST_NEW_FOLDER: {
            SetFocus();
            const int placeholder =
                m_list->InsertItem(m_list->GetItemCount(), "", kListImageFolder);
            m_newFolder = true;
            m_list->EditLabel(placeholder);
            Invalidate();
            break;
        }
        case ID_LIST_LARGE_ICONS:
            m_list->SetViewStyle(platform::ListViewStyle::LargeIcons);
            break;
        case ID_LIST_SMALL_ICONS:
            m_list->SetViewStyle(platform::ListViewStyle::SmallIcons);
            break;
        case ID_LIST_LIST:
            m_list->SetViewStyle(platform::ListViewStyle::List);
            break;
        case ID_LIST_DETAILS:
            m_list->SetViewStyle(platform::ListViewStyle::Report);
            break;
        case ID_LIST_OPEN:
            if (row >= 0) OpenItem(RowKey(row));
            break;
        case ID_LIST_ATTACH_TO:
        case ID_LIST_EMAIL_TO:
            if (row >= 0)
                m_site->SetAttachOrEmail(row, id == ID_LIST_ATTACH_TO ? "ATTACH" : "EMAIL");
            break;
        case ID_LIST_CLEAR_ATTACH_TO:
            ClearRouting(1);
            break;
        case ID_LIST_CLEAR_EMAIL_TO:
            ClearRouting(2);
            break;
        case ID_LIST_RENAME:
            RenameRow(row, m_site->DirectorySelect());
            break;
        case ID_LIST_RENAME_FOLDER:
            RenameRow(row, false);
            break;
        case ID_LIST_FOLDER_PROPERTIES:
            if (row >= 0) m_site->ShowFolderProperties(RowKey(row));
            Invalidate();
            break;
        case ID_LIST_ITEM_PROPERTIES:
            if (row >= 0) m_site->ShowItemProperties(RowKey(row));
            break;
        case ID_LIST_NEW_ITEM:
            NewItem();
            Invalidate();
            break;
        case ID_LIST_EDIT_SUBSCRIBER:
            if (m_site->SubscriberMode()) EditSubscriber(row);
            break;
        case ID_LIST_LINK_SPREADSHEET:
            if (row >= 0) LinkCell(static_cast<std::uint32_t>(RowKey(row)));
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------------------------------
// Keys, opening and deleting

void CViewList::OnListKeyDown(UINT key) {
    switch (key) {
        case VK_RETURN:
            Open();
            break;
        case VK_ESCAPE:
            if (m_treeView && m_treeView->Dragging()) m_treeView->EndDrag(POINT{0, 0}, true);
            break;
        case VK_DELETE:
            DeleteSelected();
            break;
        case VK_F2:
            OnListCommand(ID_LIST_RENAME);
            break;
        default:
            break;
    }
}

void CViewList::OnListDoubleClick(int) {
    Open();
}

void CViewList::Open() {
    // A placeholder row being named is not an entry yet.
    if (m_adding || m_newFolder || m_currentRow < 0 || !m_site) return;
    const std::int32_t key = RowKey(m_currentRow);
    if (IsFolderRow(m_currentRow) && m_site->Mode() == DisplayMode::Normal) {
        if (m_treeView) m_treeView->ShowFolder(key);
        return;
    }
    OpenItem(key);
}

void CViewList::DeleteSelected() {
    if (!m_site) return;
    std::vector<int> selected = m_list->GetSelectedRows();
    if (selected.empty()) return;
    bool linksConfirmed = false;
    if (selected.size() > 1) {
        if (AfxMessageBox("Delete all selected items?", MB_OKCANCEL) == IDCANCEL) return;
        linksConfirmed = true;
    }
    // Rows the control failed to delete stay selected and are passed over, so the run ends.
    std::set<std::int32_t> failed;
    auto nextRow = [&] {
        for (int row : m_list->GetSelectedRows())
            if (!failed.contains(RowKey(row))) return row;
        return -1;
    };
    for (int row = nextRow(); row != -1; row = nextRow()) {
        if (!m_site->DirectorySelect() && IsClassRow(row)) {
            AfxMessageBox(LoadString(IDS_NO_DELETE_CLASS_ITEM));
            break;
        }
        bool remove = true;
        if (IsFolderRow(row))
            remove = AfxMessageBox(Sprintf("Are you sure you want to remove the folder %s and "
                                           "all its contents?",
                                           RowText(row, 0)),
                                   MB_YESNO | MB_ICONQUESTION) == IDYES;
        else if (!linksConfirmed)
            remove = AfxMessageBox(Sprintf("Are you sure you want to remove the link to %s?",
                                           RowText(row, 0)),
                                   MB_YESNO | MB_ICONQUESTION) == IDYES;
        if (!remove) {
            m_list->SetItemState(row, 0, kListSelected);
            continue;
        }
        const std::int32_t key = RowKey(row);
        m_site->DeleteEntry(key);
        if (FindRow(key) != -1) failed.insert(key);
    }
    SetFocus();
    selected = m_list->GetSelectedRows();
    if (!selected.empty())
        m_list->SetItemState(selected.front(), kListSelected | kListFocused,
                             kListSelected | kListFocused);
}

// ---------------------------------------------------------------------------------------
// Label editing

bool CViewList::OnListBeginLabelEdit(int row) {
    if (!m_site) return true;
    if (!m_site->DirectorySelect() && IsClassRow(row)) return true;
    m_list->LimitEditText(static_cast<int>(kNameWidth));
    m_site->SetLabelEdit(true);
    return false;
}

bool CViewList::OnListEndLabelEdit(int row, const std::optional<std::string>& text) {
    if (!m_site) return false;
    m_site->SetLabelEdit(false);
    // An emptied label names nothing: it is taken as a cancelled edit.
    const bool entered = text && !text->empty();
    if (m_newFolder) {
        m_list->DeleteItem(row);
        if (entered) CreateFolder(*text);
        m_newFolder = false;
        return false;
    }
    if (!entered) return false;
    const std::int32_t key = RowKey(row);
    const bool folder = IsFolderRow(row);
    const std::string name = StoredText(*text, kNameWidth);
    std::int32_t pageStart = 0, pageEnd = 0, batch = 0;
    bool changed = false;
    // The row changes only once the store took the name. Where the columns hold routing texts
    // instead of pages, the store keeps the pages it has.
    if (PageColumnsShown()) {
        const int first = ResourceColumnShown() ? 2 : 1;
        pageStart = static_cast<std::int32_t>(std::atoi(RowText(row, first).c_str()));
        pageEnd = static_cast<std::int32_t>(std::atoi(RowText(row, first + 1).c_str()));
        batch = static_cast<std::int32_t>(std::atoi(RowText(row, first + 2).c_str()));
        changed = m_site->ChangeItem(key, name, pageStart, pageEnd);
    } else {
        changed = m_site->ChangeItem(key, name);
    }
    if (!changed) return false;
    if (folder) {
        RenameFolderRow(key, name);
        if (m_treeView) m_treeView->RenameFolder(key, name);
    } else {
        UpdateItem(key, name, pageStart, pageEnd, batch);
    }
    return false;
}

void CViewList::CreateFolder(const std::string& name) {
    if (!m_site) return;
    std::int32_t parentOwner = 0;
    const std::int32_t parentEntry = m_folderKey / 10;
    if (m_folderKey != 0)
        parentOwner = IsClassEntryKey(m_folderKey) ? m_site->ClassOleId() : m_site->CurrentOleId();
    m_site->CreateNewFolder(name, parentOwner, parentEntry);
}

// ---------------------------------------------------------------------------------------
// Drags

void CViewList::OnListBeginDrag(int, POINT point) {
    UINT flags = 0;
    const int row = m_list->HitTest(point, &flags);
    // Only the normal mode drags rows out of the list.
    if (row < 0 || !(flags & platform::kListHitOnItem) || !m_site || !m_treeView ||
        m_site->Mode() != DisplayMode::Normal)
        return;
    m_treeView->SetDragImage(m_list->CreateDragImage(row));
    m_treeView->StartDrag(RowKey(row), GetCursorPos(), this);
}

void CViewList::DragHover(POINT screen) {
    UINT flags = 0;
    const int row = m_list->HitTest(ScreenToClient(screen), &flags);
    if (row != m_dropHighlight) {
        if (m_dropHighlight != -1) {
            m_list->SetItemState(m_dropHighlight, 0, kListDropHilited);
            m_list->RedrawItems(m_dropHighlight, m_dropHighlight);
        }
        if (row != -1) {
            auto& controls = GetPlatform().CommonControls();
            controls.DragLeave(kNoWindow);
            m_list->SetItemState(row, kListDropHilited, kListDropHilited);
            m_list->RedrawItems(row, row);
            m_list->RedrawNow();
            controls.DragEnter(kNoWindow, screen);
        }
    }
    m_dropHighlight = row;
}

std::int32_t CViewList::DropHighlightKey() const {
    return m_dropHighlight == -1 ? -1 : RowKey(m_dropHighlight);
}

void CViewList::ClearDropHighlight() {
    // The row's highlight goes with the index, so that no row stays marked after a drop.
    if (m_dropHighlight != -1 && m_list) m_list->SetItemState(m_dropHighlight, 0, kListDropHilited);
    m_dropHighlight = -1;
}

}  // namespace orbel
