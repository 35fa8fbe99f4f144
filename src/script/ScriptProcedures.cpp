// The procedure collection of the script control and its procedures, by dispatch ID only.
#include <memory>
#include <string>
#include <vector>

#include "src/script/ScriptControlIface.h"
#include "src/script/ScriptControlObject.h"

namespace orbel {

namespace {

class CProcedure final : public IDispatch {
  public:
    explicit CProcedure(std::string name) : name_(std::move(name)) {}
    HRESULT GetIDsOfNames(std::string_view, DISPID&) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override {
        if (id != kDispidName || kind != InvokeKind::PropertyGet) return DISP_E_MEMBERNOTFOUND;
        if (!args.empty()) return DISP_E_BADPARAMCOUNT;
        if (result) *result = Variant(name_);
        return S_OK;
    }

  private:
    std::string name_;
};

class CProcedureCollection final : public IDispatch {
  public:
    explicit CProcedureCollection(std::vector<std::string> names) : names_(std::move(names)) {}
    HRESULT GetIDsOfNames(std::string_view, DISPID&) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                   Variant* result) override {
        if (kind == InvokeKind::PropertyPut) return DISP_E_MEMBERNOTFOUND;
        if (id == kDispidCount) {
            if (!args.empty()) return DISP_E_BADPARAMCOUNT;
            if (result) *result = Variant(static_cast<std::int32_t>(names_.size()));
            return S_OK;
        }
        if (id != kDispidItem) return DISP_E_MEMBERNOTFOUND;
        if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
        // Items are counted from 1; a name finds its procedure as well.
        if (auto index = args[0].ChangeType(VarType::I4)) {
            const std::int32_t i = index->I4();
            if (i < 1 || static_cast<std::size_t>(i) > names_.size()) return E_INVALIDARG;
            if (result) *result = Variant(std::make_shared<CProcedure>(names_[i - 1]));
            return S_OK;
        }
        if (args[0].Type() == VarType::BStr) {
            for (const std::string& name : names_)
                if (name == args[0].BStr()) {
                    if (result) *result = Variant(std::make_shared<CProcedure>(name));
                    return S_OK;
                }
            return E_INVALIDARG;
        }
        return DISP_E_TYPEMISMATCH;
    }

  private:
    std::vector<std::string> names_;
};

}  // namespace

std::shared_ptr<IDispatch> MakeProcedureCollection(std::vector<std::string> names) {
    return std::make_shared<CProcedureCollection>(std::move(names));
}

}  // namespace orbel
