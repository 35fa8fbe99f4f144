#include "platform/dialogs/DialogDescription.h"

#include "platform/automation/Variant.h"
#include "platform/controls/ControlText.h"
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
        const std::string rows = DescribeList(*list);
        for (std::size_t start = 0; start < rows.size();) {
            const std::size_t end = rows.find('\n', start);
            lines.push_back("  " + rows.substr(start, end - start));
            if (end == std::string::npos) break;
            start = end + 1;
        }
    }
    return lines;
}

}  // namespace orbel::platform
