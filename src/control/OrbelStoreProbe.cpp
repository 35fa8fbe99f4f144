#include "src/control/OrbelStoreProbe.h"

#include "src/control/OrbelCtrl.h"
#include "src/preview/PreviewDescription.h"

namespace orbel {

std::vector<std::string> IOrbelStoreProbe::Operations() {
    return {"GetNextOLEID", "GetNextResourceID",   "SelectTree",
            "SelectClass",  "ReadClass",           "SelectTreeEntry",
            "ReadTree",     "AddItemFromFile",     "SelectDirectoryItems",
            "AttachItem",   "SendMailGetResources"};
}

namespace {
class CProbedOrbelCtrl final : public COrbelCtrl, public IOrbelStoreProbe {
  public:
    HRESULT RunStoreOperation(const std::string& operation, const std::vector<Variant>& args,
                              Variant& result) override {
        // The preview pane as text, for the container's preview and pagebar lines.
        if (operation == "Preview" || operation == "PageBar") {
            if (!args.empty()) return DISP_E_BADPARAMCOUNT;
            result = Variant(operation == "Preview" ? DescribePreview(Frame())
                                                    : DescribePageBar(Frame()));
            return S_OK;
        }
        return orbel::RunStoreOperation(*this, operation, args, result);
    }
};
}  // namespace

std::shared_ptr<IUnknown> NewProbedControl() {
    return std::make_shared<CProbedOrbelCtrl>();
}

HRESULT RunStoreOperation(COrbelCtrl& control, const std::string& operation,
                          const std::vector<Variant>& args, Variant& result) {
    auto expect = [&](std::vector<VarType> types, std::vector<Variant>& out) -> HRESULT {
        if (args.size() != types.size()) return DISP_E_BADPARAMCOUNT;
        for (std::size_t i = 0; i < types.size(); ++i) {
            auto v = args[i].ChangeType(types[i]);
            if (!v) return DISP_E_TYPEMISMATCH;
            out.push_back(*v);
        }
        return S_OK;
    };
    std::vector<Variant> a;
    HRESULT hr = S_OK;
    CHostExchange& x = control.Exchange();
    if (operation == "GetNextOLEID" || operation == "GetNextResourceID") {
        if ((hr = expect({}, a)) != S_OK) return hr;
        result = operation == "GetNextOLEID" ? x.GetNextOLEID() : x.GetNextResourceID();
    } else if (operation == "SelectTree") {
        if ((hr = expect({VarType::I4}, a)) != S_OK) return hr;
        const std::int32_t owner = a[0].I4();
        TreeEntry start{owner, 0, owner, 0, 0, "", 0, 0, 0, 0, "", ""};
        TreeKey2 last = TreeKey2RangeEnd(owner);
        TreeEntry end{owner, 0,  owner, last.ParentOwnerId, last.ParentEntryNo, last.Name, 0, 0, 0,
                      0,     "", ""};
        std::string names;
        std::int32_t r = x.SelectTableOleTree(KeyNo::Key2, start, end,
                                              [&](std::int32_t code, const TreeEntry& e) {
                                                  if (code != kResultRow) return true;
                                                  names += (names.empty() ? "" : ", ") + e.Name;
                                                  return false;
                                              });
        result = std::to_string(r) + ": " + names;
    } else if (operation == "SelectClass") {
        if ((hr = expect({VarType::BStr}, a)) != S_OK) return hr;
        x.m_classKey = a[0].BStr();
        result = x.SelectOleClass(KeyNo::Key1, Relationship::Equal);
    } else if (operation == "ReadClass") {
        if ((hr = expect({}, a)) != S_OK) return hr;
        std::int32_t r = x.ReadOleClass();
        result = std::to_string(r) + " " + x.m_classRow.ClassName + "=" +
                 std::to_string(x.m_classRow.Value);
    } else if (operation == "SelectTreeEntry") {
        if ((hr = expect({VarType::I4, VarType::I4}, a)) != S_OK) return hr;
        x.m_treeKey1 = TreeKey1{a[0].I4(), a[1].I4()};
        result = x.SelectOleTree(KeyNo::Key1, Relationship::Equal);
    } else if (operation == "ReadTree") {
        if ((hr = expect({}, a)) != S_OK) return hr;
        std::int32_t r = x.ReadOleTree();
        result = std::to_string(r) + " " + x.m_treeEntry.Name;
    } else if (operation == "InsertTree") {
        if ((hr = expect(
                 {VarType::I4, VarType::I4, VarType::I4, VarType::I4, VarType::BStr, VarType::Bool},
                 a)) != S_OK)
            return hr;
        TreeEntry& e = x.m_treeEntry;
        e = TreeEntry{};
        e.OwnerId = e.OwnerId2 = a[0].I4();
        e.EntryNo = a[1].I4();
        e.ParentOwnerId = a[2].I4();
        e.ParentEntryNo = a[3].I4();
        e.Name = a[4].BStr();
        e.IsItem = a[5].Bool() ? 1 : 0;
        result = x.InsertOleTree();
    } else if (operation == "AddItemFromFile" || operation == "SelectDirectoryItems") {
        if ((hr = expect({VarType::BStr}, a)) != S_OK) return hr;
        CViewList* list = control.ListPane();
        if (!list) return E_FAIL;
        if (operation == "AddItemFromFile") {
            result = list->AddItemFromFileWithNotice(a[0].BStr());
        } else {
            list->SelectDirectoryItems(a[0].BStr());
            result = list->GetItemCount();
        }
    } else if (operation == "AttachItem") {
        using enum VarType;
        if ((hr = expect({BStr, BStr, I4, BStr, BStr}, a)) != S_OK) return hr;
        result = control.AttachItem(a[0].BStr(), a[1].BStr(), a[2].I4(), a[3].BStr(), a[4].BStr());
    } else if (operation == "SendMailGetResources") {
        using enum VarType;
        if ((hr = expect({BStr, I4, BStr, BStr}, a)) != S_OK) return hr;
        control.SendMailGetResources(a[0].BStr(), a[1].I4(), a[2].BStr(), a[3].BStr());
        result = Variant();
    } else {
        return DISP_E_UNKNOWNNAME;
    }
    return S_OK;
}

}  // namespace orbel
