#include "src/resources/Toolbars.h"

namespace orbel {

const ToolBarResource* FindToolBarResource(unsigned id) {
    static const ToolBarResource kToolbars[] = {
        {IDR_TOOLBAR_OTHER, 16, 16, {32834, 32833, 32850, 0, 32786, 32818}},
        {IDR_TOOLBAR_FOLDER_MAINT, 16, 16, {32833, 32850}},
        {IDR_TOOLBAR_NORMAL,
         19,
         18,
         {32834, 32833, 32850, 0, 32786, 0, 32797, 32793, 32794, 0, 32799, 32818}},
        {IDR_TOOLBAR_SCRIPT_MAINT, 16, 16, {32810, 32811}},
    };
    for (const ToolBarResource& t : kToolbars)
        if (t.id == id) return &t;
    return &kToolbars[0];
}

}  // namespace orbel
