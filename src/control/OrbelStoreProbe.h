// A second interface of the control, for test containers: runs one of the control's table
// operations by name, exactly as the control's own code calls it, so a container can exercise
// the table conversation on its own. Hosts reach it by casting the control object; it is not
// part of the dispatch interface or the type library, and only the test module's control
// carries it: the module hosts install does not.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/automation/Dispatch.h"

namespace orbel {

class COrbelCtrl;

class IOrbelStoreProbe : public virtual IUnknown {
  public:
    // Operations, their arguments and results:
    //   GetNextOLEID, GetNextResourceID: the new ID, or -1.
    //   SelectTree(owner): a key-2 select of every entry of the owner; "RESULT: NAME, NAME".
    //   SelectClass(name): the position's result. ReadClass: "RESULT NAME=VALUE".
    //   SelectTreeEntry(owner, entryNo): the position's result. ReadTree: "RESULT NAME".
    //   InsertTree(owner, entryNo, parentOwner, parentEntryNo, name, isItem): the result.
    //   Preview, PageBar: the preview pane and its page bar as text.
    //   AddItemFromFile(path): the list adds the file as an item; the new row's entry key.
    //   SelectDirectoryItems(directory): the list adds an item per file; its row count.
    //   AttachItem(name, path, tree, ledger, account): the result.
    //   SendMailGetResources(message, tree, ledger, account): nothing.
    // DISP_E_UNKNOWNNAME for another name, DISP_E_BADPARAMCOUNT / DISP_E_TYPEMISMATCH for
    // wrong arguments.
    virtual HRESULT RunStoreOperation(const std::string& operation,
                                      const std::vector<Variant>& args, Variant& result) = 0;
    static std::vector<std::string> Operations();
};

// The same operations for code that holds the control itself.
HRESULT RunStoreOperation(COrbelCtrl& control, const std::string& operation,
                          const std::vector<Variant>& args, Variant& result);

// A control that carries the probe, for the test module's class factory.
std::shared_ptr<IUnknown> NewProbedControl();

}  // namespace orbel
