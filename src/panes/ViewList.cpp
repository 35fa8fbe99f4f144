#include "src/panes/ViewList.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "platform/Api.h"
#include "platform/Platform.h"
#include "platform/files/FileApi.h"
#include "platform/text/AsciiCase.h"
#include "src/panes/PaneSite.h"
#include "src/panes/ViewTree.h"
#include "src/services/ShellServices.h"
#include "src/store/RecordFormats.h"

namespace orbel {

using platform::GetPlatform;
using platform::ListAlign;

namespace {
// The registry's answers are read into buffers of this size; a longer value is not read.
constexpr std::size_t kRegistryBuffer = 136;

struct ColumnSpec {
    const char* title;
    int units;  // tenths of the client width
    ListAlign align;
};
// Column titles that more than one layout shows.
constexpr const char* kNameColumn = "Name";
constexpr const char* kPageStartColumn = "Page Start";
constexpr const char* kPageEndColumn = "Page End";
constexpr const char* kBatchColumn = "Batch";
constexpr ColumnSpec kDirectoryColumns[] = {{kNameColumn, 3, ListAlign::Left},
                                            {"Attach To", 3, ListAlign::Left},
                                            {"Email To", 3, ListAlign::Left}};
constexpr ColumnSpec kResourceColumns[] = {{kNameColumn, 3, ListAlign::Left},
                                           {"Resource", 4, ListAlign::Left},
                                           {kPageStartColumn, 1, ListAlign::Right},
                                           {kPageEndColumn, 1, ListAlign::Right},
                                           {kBatchColumn, 1, ListAlign::Right}};
constexpr ColumnSpec kPlainColumns[] = {{kNameColumn, 4, ListAlign::Left},
                                        {kPageStartColumn, 2, ListAlign::Right},
                                        {kPageEndColumn, 2, ListAlign::Right},
                                        {kBatchColumn, 2, ListAlign::Right}};

// A page or batch number as its column shows it: empty for 0.
class NumberText {
  public:
    explicit NumberText(std::int32_t value) {
        if (value != 0) length_ = std::to_chars(text_, text_ + sizeof text_, value).ptr - text_;
    }
    std::string_view View() const { return {text_, length_}; }

  private:
    char text_[12];
    std::size_t length_ = 0;
};
}  // namespace

std::unique_ptr<CWnd> CViewList::CreateObject() {
    return std::make_unique<CViewList>();
}

CViewList::CViewList() = default;
CViewList::~CViewList() = default;

int CViewList::OnCreate() {
    if (CWnd::OnCreate() == -1) return -1;
    auto& controls = GetPlatform().CommonControls();
    m_list = controls.CreateListControl(GetSafeHwnd(), *this);
    if (!m_list) return -1;
    m_list->SetViewStyle(platform::ListViewStyle::Report);
    m_normalImages = controls.CreateImageList("list", 32, 32, 7);
    m_smallImages = controls.CreateImageList("tree", 16, 20, 15);
    m_list->SetImageLists(m_normalImages.get(), m_smallImages.get());
    m_list->AcceptDrops(true);
    return 0;
}

void CViewList::OnDestroy() {
    m_iconCache.clear();
    m_routing.clear();
    m_list.reset();
    CWnd::OnDestroy();
}

bool CViewList::ResourceColumnShown() const {
    return m_site && (m_site->SubscriberMode() || m_site->ShowResource());
}

bool CViewList::PageColumnsShown() const {
    return m_site && !m_site->DirectorySelect();
}

void CViewList::BuildColumns(CPaneSite* site) {
    m_site = site;
    if (!m_list) return;
    // The first column holds the rows' names, and deleting it takes them along; the rows keep
    // their names under the new columns (the host's "j" rebuilds them on a filled list).
    std::vector<std::string> names;
    for (int row = 0; row < m_list->GetItemCount(); ++row)
        names.push_back(m_list->GetItemText(row, 0));
    while (m_list->GetColumnCount() > 0) m_list->DeleteColumn(0);
    const int unit = GetClientRect().Width() / 10;
    auto insert = [&](const auto& specs) {
        int index = 0;
        for (const ColumnSpec& c : specs)
            m_list->InsertColumn(index++, c.title, c.align, c.units * unit);
    };
    if (site && site->DirectorySelect())
        insert(kDirectoryColumns);
    else if (ResourceColumnShown())
        insert(kResourceColumns);
    else
        insert(kPlainColumns);
    for (int row = 0; row < static_cast<int>(names.size()); ++row)
        m_list->SetItemText(row, 0, names[static_cast<std::size_t>(row)]);
}

void CViewList::AddColumn(int index, const std::string& title, int width) {
    if (m_list) m_list->InsertColumn(index, title, ListAlign::Left, width);
}

int CViewList::FileTypeImage(const std::string& extension) {
    for (const IconCacheEntry& e : m_iconCache)
        if (EqualsIgnoringAsciiCase(e.extension, extension)) return e.image;
    const int image = LookUpFileTypeImage(extension);
    // A type without an icon is asked for again only in the next listing: every row of a
    // folder would otherwise read the registry, while a type registered meanwhile shows its
    // icon once the list is filled again.
    m_iconCache.push_front({extension, image, image == kListImageItem});
    return image;
}

int CViewList::LookUpFileTypeImage(const std::string& extension) {
    auto type = ReadRegistryString(HKEY_CLASSES_ROOT, "." + extension, "");
    if (!type || type->size() >= kRegistryBuffer) return kListImageItem;
    auto icon = ReadRegistryString(HKEY_CLASSES_ROOT, *type + "\\DefaultIcon", "");
    if (!icon || icon->size() >= kRegistryBuffer) return kListImageItem;
    std::string file = *icon;
    int index = 0;
    if (auto comma = icon->find(','); comma != std::string::npos) {
        file = icon->substr(0, comma);
        index = std::atoi(icon->c_str() + comma + 1);
    }
    auto extracted = GetPlatform().CommonControls().ExtractIcon(file, index);
    if (!extracted) return kListImageItem;
    int image = m_normalImages->Add(*extracted);
    if (image < 0) return kListImageItem;
    // One index serves both lists: the small list takes the icon at the same place, growing
    // when the normal list has gone past its end.
    while (m_smallImages->GetImageCount() < image) m_smallImages->Add(platform::Icon{});
    m_smallImages->Replace(image, *extracted);
    return image;
}

void CViewList::AddItem(bool isFolder, bool isClass, std::int32_t entryNo, const std::string& name,
                        const std::string& type, const std::string& resource,
                        std::int32_t pageStart, std::int32_t pageEnd, std::int32_t batch) {
    if (!m_list || !m_site) return;
    const DisplayMode mode = m_site->Mode();
    const bool subscriber = m_site->SubscriberMode();
    int row = -1;
    if (isFolder) {
        // The script view lists no folders.
        if (mode == DisplayMode::ScriptMaint && !subscriber) return;
        row = m_list->InsertItem(m_folderCount, name, isClass ? kListImageClass : kListImageFolder);
        ++m_folderCount;
        if ((subscriber || mode == DisplayMode::Normal) && m_treeView) m_treeView->RedrawNow();
    } else {
        int image = subscriber ? kListImageItem : FileTypeImage(type);
        row = m_list->InsertItem(m_list->GetItemCount(), name, image);
    }
    if (row < 0) return;
    if (ResourceColumnShown()) m_list->SetItemText(row, 1, resource);
    m_list->SetItemData(row, static_cast<DWORD>(entryNo * 10 + (isClass ? 1 : 0)));
    // The row just added is the one meant, even when an earlier row carries the same key.
    if (pageStart != 0 || pageEnd != 0 || batch != 0)
        WritePageColumns(row, pageStart, pageEnd, batch, true);
}

void CViewList::WritePageColumns(int row, std::int32_t pageStart, std::int32_t pageEnd,
                                 std::int32_t batch, bool newRow) {
    // In directory selection the columns after the name hold routing texts that pages must
    // not overwrite.
    if (!PageColumnsShown()) return;
    const int first = ResourceColumnShown() ? 2 : 1;
    const std::int32_t values[] = {pageStart, pageEnd, batch};
    for (int i = 0; i < 3; ++i) {
        // A row just inserted has empty cells already: a listing of thousands of rows skips
        // writing them again.
        if (newRow && values[i] == 0) continue;
        m_list->SetItemText(row, first + i, NumberText(values[i]).View());
    }
}

void CViewList::SetPageColumns(std::int32_t key, std::int32_t pageStart, std::int32_t pageEnd,
                               std::int32_t batch) {
    int row = FindRow(key);
    if (row >= 0) WritePageColumns(row, pageStart, pageEnd, batch);
}

void CViewList::RemoveItem(std::int32_t key) {
    int row = FindRow(key);
    if (row < 0) return;
    if (IsFolderRow(row)) --m_folderCount;
    if (m_site && m_site->DirectorySelect()) SetRouting(key, 0, false, true);
    m_list->DeleteItem(row);
    if (row == m_currentRow)
        m_currentRow = -1;
    else if (row < m_currentRow)
        --m_currentRow;  // the current row moved up with the rows below the deleted one
}

void CViewList::ClearItems() {
    if (m_list) m_list->DeleteAllItems();
    m_iconCache.remove_if([](const IconCacheEntry& e) { return e.untilCleared; });
    m_currentRow = -1;
    m_folderCount = 0;
}

void CViewList::RenameFolderRow(std::int32_t key, const std::string& name) {
    int row = FindRow(key);
    if (row >= 0) m_list->SetItemText(row, 0, name);
}

void CViewList::UpdateItem(std::int32_t key, const std::string& name, std::int32_t pageStart,
                           std::int32_t pageEnd, std::int32_t batch) {
    int row = FindRow(key);
    if (row < 0) return;
    m_list->SetItemText(row, 0, name);
    WritePageColumns(row, pageStart, pageEnd, batch);
}

void CViewList::SetFolderKey(bool classTree, std::int32_t entryNo) {
    m_folderKey = entryNo == 0 ? 0 : entryNo * 10 + (classTree ? 1 : 0);
}

int CViewList::FindRow(std::int32_t key) const {
    if (!m_list) return -1;
    const int count = m_list->GetItemCount();
    for (int row = 0; row < count; ++row)
        if (m_list->GetItemData(row) == static_cast<DWORD>(key)) return row;
    return -1;
}

bool CViewList::IsClassRow(int row) const {
    return IsClassEntryKey(RowKey(row));
}

bool CViewList::IsFolderRow(int row) const {
    int image = m_list->GetItemImage(row);
    return image == kListImageFolder || image == kListImageClass;
}

int CViewList::GetItemCount() const {
    return m_list ? m_list->GetItemCount() : 0;
}

std::int32_t CViewList::RowKey(int row) const {
    return m_list ? static_cast<std::int32_t>(m_list->GetItemData(row)) : 0;
}

std::string CViewList::RowText(int row, int column) const {
    return m_list ? m_list->GetItemText(row, column) : std::string();
}

void CViewList::SetRouting(std::int32_t key, std::int32_t target, bool processed, bool removeOnly) {
    auto it = std::find_if(m_routing.begin(), m_routing.end(),
                           [key](const RoutingEntry& e) { return e.key == key; });
    if (it != m_routing.end()) m_routing.erase(it);
    if (!removeOnly) m_routing.push_back({key, target, processed});
}

std::int32_t CViewList::RoutingTarget(std::int32_t key) const {
    for (const RoutingEntry& e : m_routing)
        if (e.key == key) return e.target;
    return -1;
}

void CViewList::SetRoutingColumns(int row, const std::string& attachText,
                                  const std::string& emailText) {
    if (!m_list || row < 0 || row >= m_list->GetItemCount()) return;
    const int first = ResourceColumnShown() ? 2 : 1;
    if (!attachText.empty()) m_list->SetItemText(row, first, attachText);
    if (!emailText.empty()) m_list->SetItemText(row, first + 1, emailText);
}

void CViewList::SetObjectDir(const std::string& directory) {
    m_objectDir = TrimRight(directory);
}

void CViewList::RequestDeleteObject(const std::string& path) {
    const std::string file = TrimRight(path);
    const std::string question = "The resource " + file +
                                 " is no longer referenced by any other link in TARN.\n"
                                 "Would you like to delete this object?";
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    if (!DeleteFile(file))
        AfxMessageBox("Failed to remove " + file + ". Error " +
                      std::to_string(static_cast<int>(GetLastError())));
}

void CViewList::OnListItemChanged(int row, UINT, UINT newState) {
    const UINT both = platform::kListFocused | platform::kListSelected;
    if ((newState & both) == both) m_currentRow = row;
}

}  // namespace orbel
