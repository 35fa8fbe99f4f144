#include "platform/dialogs/FindForm.h"

namespace orbel::platform {

LiveDialog* FindForm(const WindowSystem& windows, HWND root, UINT templateId) {
    for (HWND child : windows.GetChildren(root)) {
        if (LiveDialog* form = LiveDialog::FromWindow(child);
            form && form->Template().id == templateId)
            return form;
        if (LiveDialog* found = FindForm(windows, child, templateId)) return found;
    }
    return nullptr;
}

}  // namespace orbel::platform
