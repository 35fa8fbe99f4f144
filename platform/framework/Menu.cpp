#include "platform/framework/Menu.h"

#include <algorithm>

#include "platform/Platform.h"
#include "platform/framework/Wnd.h"

namespace orbel {

bool CMenu::CreatePopupMenu() {
    if (created_) return false;
    created_ = true;
    items_.clear();
    return true;
}

bool CMenu::DestroyMenu() {
    if (!created_) return false;
    created_ = false;
    items_.clear();
    return true;
}

bool CMenu::AppendMenu(UINT flags, UINT id, const std::string& text) {
    if (!created_) return false;
    platform::MenuItem item;
    item.separator = (flags & MF_SEPARATOR) != 0;
    item.id = item.separator ? 0 : id;
    item.text = item.separator ? std::string() : text;
    item.checked = (flags & MF_CHECKED) != 0;
    items_.push_back(std::move(item));
    return true;
}

bool CMenu::SetDefaultItem(UINT id) {
    bool found = false;
    for (platform::MenuItem& item : items_) {
        item.isDefault = !item.separator && item.id == id && !found;
        found = found || item.isDefault;
    }
    return found;
}

int CMenu::CheckMenuItem(UINT id, UINT check) {
    auto it = std::find_if(items_.begin(), items_.end(), [id](const platform::MenuItem& item) {
        return !item.separator && item.id == id;
    });
    if (it == items_.end()) return -1;
    const int previous =
        it->checked ? static_cast<int>(MF_CHECKED) : static_cast<int>(MF_UNCHECKED);
    it->checked = (check & MF_CHECKED) != 0;
    return previous;
}

UINT CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner) {
    if (!created_ || items_.empty()) return 0;
    platform::PopupMenuRequest request;
    request.items = items_;
    request.owner = owner ? owner->GetSafeHwnd() : kNoWindow;
    request.at = POINT{x, y};
    const UINT chosen = platform::GetPlatform().User().TrackPopupMenu(request);
    if (chosen == 0 || (flags & TPM_RETURNCMD)) return chosen;
    // Posted, as the menu does: the command runs once the menu has closed.
    if (owner && owner->GetSafeHwnd())
        platform::GetPlatform().Loop().PostMessage(owner->GetSafeHwnd(), WM_COMMAND, chosen, 0);
    return chosen;
}

}  // namespace orbel
