#include "platform/dialogs/DialogDescription.h"

#include "platform/automation/Variant.h"
#include "platform/controls/ListControl.h"
#include "platform/dialogs/Dialogs.h"

namespace orbel::platform {

std::vector<std::string> DescribeDialog(LiveDialog& dialog) {
    using Kind = DialogControlKind;
    std::vector<std::string> lines;
    for (const DialogControlTemplate& control : dialog.Template().controls) {
        const UINT id = control.id;
        if (id == kStaticId) continue;
        std::string line = std::to_string(id) + " " + DialogControlKindName(control.kind);
        if (control.kind != Kind::ListControl && control.kind != Kind::TabControl)
            line += " " + QuoteString(dialog.GetText(id));
        if (control.kind == Kind::CheckBox && dialog.GetCheck(id)) line += " checked";
        if (!dialog.IsControlEnabled(id)) line += " disabled";
        if (!dialog.IsControlVisible(id)) line += " hidden";
        lines.push_back(line);
        ListControl* list = control.kind == Kind::ListControl ? dialog.GetListControl(id) : nullptr;
        if (!list) continue;
        for (int row = 0; row < list->GetItemCount(); ++row) {
            std::string cells = "  " + std::to_string(row) + ":";
            for (int column = 0; column < list->GetColumnCount(); ++column)
                cells += (column ? " | " : " ") + list->GetItemText(row, column);
            if (list->GetItemState(row, kListSelected)) cells += " (selected)";
            lines.push_back(cells);
        }
    }
    return lines;
}

}  // namespace orbel::platform
