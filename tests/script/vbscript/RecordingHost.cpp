#include "tests/script/vbscript/RecordingHost.h"

#include <strings.h>

namespace orbel::vbs::test {

namespace {
enum : DISPID { kValue = 0, kName, kAdd, kBump, kCount, kChild, kBroken };
}

HRESULT TestCounter::GetIDsOfNames(std::string_view name, DISPID& id) {
    static const char* const kNames[] = {"Value", "Name",  "Add",   "Bump",
                                         "Count", "Child", "Broken"};
    for (DISPID i = 0; i < 7; ++i) {
        if (name.size() == std::string_view(kNames[i]).size() &&
            strncasecmp(name.data(), kNames[i], name.size()) == 0) {
            id = i;
            return S_OK;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT TestCounter::Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,
                            Variant* result) {
    Variant none;
    Variant& out = result ? *result : none;
    switch (id) {
        case kValue:
        case kName:
            if (kind == InvokeKind::Method) return DISP_E_MEMBERNOTFOUND;
            if (kind == InvokeKind::PropertyPut) {
                if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
                if (id == kValue) {
                    value_ = args[0];
                } else {
                    auto text = args[0].ChangeType(VarType::BStr);
                    if (!text) return DISP_E_TYPEMISMATCH;
                    name_ = text->BStr();
                }
                return S_OK;
            }
            out = id == kValue ? value_ : Variant(name_);
            return S_OK;
        case kAdd: {
            if (kind != InvokeKind::Method) return DISP_E_MEMBERNOTFOUND;
            if (args.size() != 2) return DISP_E_BADPARAMCOUNT;
            auto a = args[0].ChangeType(VarType::I4), b = args[1].ChangeType(VarType::I4);
            if (!a || !b) return DISP_E_TYPEMISMATCH;
            out = Variant(a->I4() + b->I4());
            return S_OK;
        }
        case kBump:
            if (kind != InvokeKind::Method) return DISP_E_MEMBERNOTFOUND;
            ++count_;
            return S_OK;
        case kCount:
            if (kind != InvokeKind::PropertyGet) return DISP_E_MEMBERNOTFOUND;
            out = Variant(count_);
            return S_OK;
        case kChild:
            if (kind != InvokeKind::PropertyGet) return DISP_E_MEMBERNOTFOUND;
            out = Variant(std::shared_ptr<IDispatch>(std::make_shared<TestCounter>()));
            return S_OK;
        case kBroken:
            return E_FAIL;
    }
    return DISP_E_MEMBERNOTFOUND;
}

int RecordingHost::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    std::string line = prompt;
    if (buttons != 0 || !title.empty())
        line += " {" + std::to_string(buttons) + (title.empty() ? "" : ", " + title) + "}";
    lines.push_back(line);
    return msgBoxAnswer;
}

std::optional<std::string> RecordingHost::InputBox(const std::string& prompt, const std::string&,
                                                   const std::string& defaultText) {
    lines.push_back("? " + prompt);
    if (answers.empty()) return defaultText;
    auto a = answers.front();
    answers.pop_front();
    return a;
}

HRESULT RecordingHost::CreateObject(const std::string& progId, std::shared_ptr<IDispatch>& object) {
    if (strcasecmp(progId.c_str(), "Orbel.TestCounter") == 0) {
        object = std::make_shared<TestCounter>();
        return S_OK;
    }
    return ScriptHost::CreateObject(progId, object);
}

}  // namespace orbel::vbs::test
