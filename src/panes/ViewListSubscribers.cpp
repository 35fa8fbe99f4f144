// The list in subscriber maintenance: subscribers are added and changed through "Email Name and
// Address"; a subscriber is an item whose resource path is the address.
#include "src/dialogs/EmailNameAddressDlg.h"
#include "src/panes/PaneSite.h"
#include "src/panes/ViewList.h"

namespace orbel {

void CViewList::NewSubscriber() {
    if (const std::optional<Subscriber> typed = RunEmailNameAddress(GetSafeHwnd(), {}))
        AddSubscriber(typed->name, typed->address);
}

void CViewList::EditSubscriber(int row) {
    if (!m_site || row < 0 || row >= m_list->GetItemCount()) return;
    const std::optional<Subscriber> typed =
        RunEmailNameAddress(GetSafeHwnd(), {RowText(row, 0), RowText(row, 1)});
    if (!typed) return;
    // The store keeps the address as the item's resource, which an item cannot change: the
    // subscriber is made anew.
    m_site->DeleteEntry(RowKey(row));
    AddSubscriber(typed->name, typed->address);
}

std::int32_t CViewList::AddSubscriber(const std::string& name, const std::string& address) {
    if (!m_list || !m_site) return 0;
    m_adding = true;
    const int placeholder = m_list->InsertItem(m_list->GetItemCount(), name, kListImageItem);
    m_list->SetItemText(placeholder, 1, address);
    SetFocus();
    const auto [parentOwner, parentEntry] = NewEntryParent();
    m_site->CreateNewItem(name, address, parentOwner, parentEntry, -1, -1);
    m_list->DeleteItem(placeholder);
    m_adding = false;
    Invalidate();
    if (placeholder < 0 || placeholder >= m_list->GetItemCount()) return 0;
    return RowKey(placeholder);
}

}  // namespace orbel
