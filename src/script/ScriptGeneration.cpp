#include "src/script/ScriptGeneration.h"

#include <cstddef>

#include "platform/Api.h"
#include "platform/automation/ComRuntime.h"
#include "platform/files/FileApi.h"
#include "src/script/ScriptControlIface.h"

namespace orbel {

namespace {

constexpr const char* kWrapperProgId = "Halvord_Win32_Wrapper.Call";
constexpr std::size_t kReadBlock = 4096;

bool IsTrailingSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string VbScriptPreamble(const ScriptFieldHandles& handles) {
    // Lines end in LF CR: the order the scripts of this system have always been given.
    constexpr const char* kEnd = "\n\r";
    std::string s = std::string("Dim Field(40)") + kEnd;
    for (std::size_t i = 0; i < handles.size(); ++i)
        s += "Field(" + std::to_string(i) + ") = " + std::to_string(handles[i]) + kEnd;
    s += std::string("Dim oWrapper") + kEnd;
    s += std::string("Set oWrapper = CreateObject(\"") + kWrapperProgId + "\")" + kEnd;
    s += std::string("Sub SetField(nField,sVal)") + kEnd +
         "oWrapper.rSetWindowText Field(nField-1),sVal" + kEnd + "End Sub" + kEnd;
    s += std::string("Sub GetField(nField,sVal)") + kEnd + "Dim sStr" + kEnd +
         "sStr = oWrapper.rGetWindowText(Field(nField-1))" + kEnd + "sVal = Trim(sStr)" + kEnd +
         "End Sub" + kEnd;
    return s;
}

std::string JScriptPreamble(const ScriptFieldHandles& handles) {
    std::string s = "var Field = new Array(40);\n";
    for (std::size_t i = 0; i < handles.size(); ++i)
        s += "Field[" + std::to_string(i) + "] = " + std::to_string(handles[i]) + ";\n";
    s += std::string("var oWrapper = new ActiveXObject(\"") + kWrapperProgId + "\");\n";
    s += "function SetField ( nField, sVal)\n{\n"
         "oWrapper.rSetWindowText(Field[nField-1],sVal);\n}\n";
    s += "function GetField ( nField, sVal)\n{\n"
         "var sStr = oWrapper.rGetWindowText(Field[nField-1]);\n"
         "return sStr;\n}\n";
    return s;
}

void Show(const std::string& text) {
    AfxMessageBox(text, MB_OK);
}

}  // namespace

ScriptDescriptor ParseScriptDescriptor(std::string_view path) {
    ScriptDescriptor d;
    const auto bang = path.find('!');
    d.file = std::string(path.substr(0, bang));
    if (bang == std::string_view::npos) return d;
    const std::string_view rest = path.substr(bang + 1);
    const auto hash = rest.find('#');
    if (hash == std::string_view::npos) {
        d.function = std::string(rest);
    } else {
        d.language = std::string(rest.substr(0, hash));
        d.function = std::string(rest.substr(hash + 1));
    }
    return d;
}

std::string ScriptPreamble(const std::string& language, const ScriptFieldHandles& handles) {
    if (language == "VBScript") return VbScriptPreamble(handles);
    if (language == "JScript") return JScriptPreamble(handles);
    return {};
}

std::string ReadScriptText(const std::string& path) {
    std::string text;
    auto file = CreateFile(path, platform::FileAccess::Read, platform::Disposition::OpenExisting);
    if (!file) return text;
    std::array<std::byte, kReadBlock> block;
    while (auto n = file->Read(block)) {
        if (*n == 0) break;
        text.append(reinterpret_cast<const char*>(block.data()), *n);
    }
    while (!text.empty() && IsTrailingSpace(text.back())) text.pop_back();
    return text;
}

ScriptRunOutcome RunScript(const std::string& language, const std::string& startFunction,
                           const std::string& file) {
    if (language.empty()) {
        Show("Please select a language");
        return ScriptRunOutcome::NoLanguage;
    }
    if (startFunction.empty()) {
        Show("Please select a function to Run");
        return ScriptRunOutcome::NoFunction;
    }
    std::shared_ptr<IUnknown> object;
    const HRESULT created = CoCreateInstance(*Guid::Parse(kScriptControlClsidText), object);
    auto control = std::dynamic_pointer_cast<IScriptControl>(object);
    if (FAILED(created) || !control) {
        Show("The script control could not be made: " +
             ComErrorText(FAILED(created) ? created : E_NOINTERFACE));
        return ScriptRunOutcome::Failed;
    }
    std::string error;
    if (FAILED(control->PutLanguage(language, &error))) {
        Show("The script " + file + " could not be run: " + error);
        return ScriptRunOutcome::Failed;
    }
    control->PutAllowUI(true);
    ScriptFieldHandles none{};
    if (FAILED(control->AddCode(ScriptPreamble(language, none), &error)) ||
        FAILED(control->AddCode(ReadScriptText(file), &error))) {
        Show("Error in the script " + file + ": " + error);
        return ScriptRunOutcome::Failed;
    }
    Variant ignored;
    if (FAILED(control->Run(startFunction, {}, &ignored, &error))) {
        Show("Error in the script " + file + " running " + startFunction + ": " + error);
        return ScriptRunOutcome::Failed;
    }
    return ScriptRunOutcome::Ran;
}

std::vector<std::string> ListScriptProcedures(IDispatch& control, const std::string& language,
                                              const std::string& file) {
    std::vector<std::string> names;
    const Variant languageArg[] = {Variant(language)};
    const Variant allowArg[] = {Variant(true)};
    control.Invoke(kDispidLanguage, InvokeKind::PropertyPut, languageArg, nullptr);
    control.Invoke(kDispidAllowUI, InvokeKind::PropertyPut, allowArg, nullptr);
    control.Invoke(kDispidReset, InvokeKind::Method, {}, nullptr);
    // Code that fails part way has still declared its procedures: they are listed all the same.
    const Variant codeArg[] = {Variant(ReadScriptText(file))};
    control.Invoke(kDispidAddCode, InvokeKind::Method, codeArg, nullptr);
    Variant procedures;
    if (FAILED(control.Invoke(kDispidProcedures, InvokeKind::PropertyGet, {}, &procedures)) ||
        procedures.Type() != VarType::Dispatch || !procedures.Dispatch())
        return names;
    Variant count;
    if (FAILED(procedures.Dispatch()->Invoke(kDispidCount, InvokeKind::PropertyGet, {}, &count)) ||
        count.Type() != VarType::I4)
        return names;
    for (std::int32_t i = 1; i <= count.I4(); ++i) {
        const Variant index[] = {Variant(i)};
        Variant item, name;
        if (FAILED(procedures.Dispatch()->Invoke(kDispidItem, InvokeKind::Method, index, &item)) ||
            item.Type() != VarType::Dispatch || !item.Dispatch())
            continue;
        if (FAILED(item.Dispatch()->Invoke(kDispidName, InvokeKind::PropertyGet, {}, &name)) ||
            name.Type() != VarType::BStr)
            continue;
        if (!name.BStr().empty()) names.push_back(name.BStr());
    }
    return names;
}

}  // namespace orbel
