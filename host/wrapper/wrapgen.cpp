// orbel-wrapgen: writes the typed host wrapper from the control's type library, so that a host
// calls the control by DISPID with C++ types and can never disagree with the library.
//
//   orbel-wrapgen LIBRARY.odl OUTPUT.h
//
// The first coclass of the library picks the interfaces: its default dispinterface becomes
// C<coclass>Wrapper, its default source becomes the sink base C<coclass>EventSink.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/automation/TypeLib.h"

namespace {

using orbel::TypeLibCoclass;
using orbel::TypeLibInterface;
using orbel::TypeLibMember;
using orbel::TypeLibrary;
using orbel::VarType;

constexpr std::size_t kColumns = 100;

struct GenerateError {
    std::string what;
};

const char* CppType(VarType t) {
    switch (t) {
        case VarType::Bool:
            return "bool";
        case VarType::I4:
            return "std::int32_t";
        case VarType::BStr:
            return "std::string";
        default:
            throw GenerateError{std::string("no C++ type for ") + orbel::VarTypeName(t)};
    }
}

std::string ParamType(VarType t) {
    return t == VarType::BStr ? "const std::string&" : CppType(t);
}

// The typed call helper of COrbelWrapper that returns a value of this type.
std::string CallHelper(const std::optional<VarType>& t) {
    if (!t) return "CallVoid";
    switch (*t) {
        case VarType::Bool:
            return "CallBool";
        case VarType::I4:
            return "CallI4";
        case VarType::BStr:
            return "CallBStr";
        default:
            throw GenerateError{std::string("no result helper for ") + orbel::VarTypeName(*t)};
    }
}

// Parameter names become C++ names; one that is a keyword or a name the generated body uses
// itself gets a trailing underscore.
std::string LocalName(const std::string& name) {
    static const std::set<std::string> kTaken = {
        "args",   "kind",     "id",      "hr",      "result",    "value",    "and",       "auto",
        "bool",   "break",    "case",    "char",    "class",     "const",    "default",   "delete",
        "do",     "double",   "else",    "enum",    "explicit",  "false",    "float",     "for",
        "friend", "goto",     "if",      "inline",  "int",       "long",     "namespace", "new",
        "not",    "operator", "or",      "private", "protected", "public",   "return",    "short",
        "signed", "sizeof",   "static",  "struct",  "switch",    "template", "this",      "throw",
        "true",   "try",      "typedef", "union",   "unsigned",  "using",    "virtual",   "void",
        "while"};
    return kTaken.count(name) ? name + "_" : name;
}

// Lays out `head item, item, ... tail` as clang-format does with the repository's style: on
// one line when it fits; else broken after an assignment when the right side then fits; else
// an empty body moved to the next line when that is enough; else the items packed line by
// line, aligned after `head`.
std::string Wrap(const std::string& indent, const std::string& head,
                 const std::vector<std::string>& items, const std::string& tail) {
    std::string joined;
    for (std::size_t i = 0; i < items.size(); ++i) joined += (i ? ", " : "") + items[i];
    const std::string one = indent + head + joined + tail;
    if (one.size() <= kColumns || items.empty()) return one + "\n";

    if (const std::size_t eq = head.find(" = "); eq != std::string::npos) {
        const std::string rhs = indent + "    " + head.substr(eq + 3) + joined + tail;
        if (rhs.size() <= kColumns) return indent + head.substr(0, eq) + " =\n" + rhs + "\n";
    }
    if (tail.ends_with("{}") && one.size() - 1 <= kColumns)
        return one.substr(0, one.size() - 1) + "\n" + indent + "}\n";

    const std::string align(indent.size() + head.size(), ' ');
    std::string out;
    std::string line = indent + head;
    bool lineHasItem = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const bool last = i + 1 == items.size();
        const std::string piece = items[i] + (last ? tail : ",");
        if (lineHasItem && line.size() + 1 + piece.size() > kColumns) {
            out += line + "\n";
            line = align + piece;
        } else {
            line += (lineHasItem ? " " : "") + piece;
        }
        lineHasItem = true;
    }
    return out + line + "\n";
}

void CheckUnique(std::set<std::string>& names, const std::string& name, const std::string& where) {
    if (!names.insert(name).second)
        throw GenerateError{"two members of " + where + " would both be named " + name};
}

std::string WrapperClass(const TypeLibInterface& itf, const std::string& className) {
    std::set<std::string> names = {"LastResult", "Dispatch", "Call", "CallVoid", "CallBool",
                                   "CallI4",     "CallBStr", "Put",  "Pack"};
    std::ostringstream props, methods;
    for (const TypeLibMember& m : itf.members) {
        const std::string id = std::to_string(m.id);
        if (m.isProperty) {
            if (!m.type) throw GenerateError{"property " + m.name + " has no type"};
            CheckUnique(names, "Get" + m.name, className);
            CheckUnique(names, "Set" + m.name, className);
            props << Wrap("    ", std::string(CppType(*m.type)) + " Get" + m.name + "() { return ",
                          {}, CallHelper(m.type) + "(" + id + ", InvokeKind::PropertyGet, {}); }");
            props << Wrap("    ", "void Set" + m.name + "(" + ParamType(*m.type) + " value) { Put(",
                          {id, "Variant(value)"}, "); }");
            continue;
        }
        CheckUnique(names, m.name, className);
        std::vector<std::string> params, args;
        for (const orbel::TypeLibParam& p : m.params) {
            params.push_back(ParamType(p.type) + " " + LocalName(p.name));
            args.push_back(LocalName(p.name));
        }
        const std::string result = m.type ? CppType(*m.type) : "void";
        const std::string call = CallHelper(m.type) + "(" + id + ", InvokeKind::Method, ";
        const std::string ret = m.type ? "return " : "";
        if (params.empty()) {
            methods << Wrap("    ", result + " " + m.name + "() { " + ret + call + "{}); }", {},
                            "");
            continue;
        }
        methods << Wrap("    ", result + " " + m.name + "(", params, ") {");
        methods << Wrap("        ", "const auto args = Pack(", args, ");");
        methods << "        " << ret << call << "args);\n";
        methods << "    }\n";
    }

    std::ostringstream out;
    out << "// Typed calls on the control's dispatch interface (" << itf.name
        << "), one per member, by DISPID.\n"
           "// A failed call returns the type's default (false, 0, \"\") and LastResult() says "
           "why.\n"
           "class "
        << className
        << " {\n"
           "  public:\n"
           "    explicit "
        << className
        << "(std::shared_ptr<IDispatch> control) : control_(std::move(control)) {}\n"
           "\n"
           "    // Properties\n"
        << props.str()
        << "\n"
           "    // Methods\n"
        << methods.str()
        << "\n"
           "    // S_OK, the control's failure code, or DISP_E_TYPEMISMATCH when its result could "
           "not\n"
           "    // be converted to the declared type.\n"
           "    HRESULT LastResult() const { return lastResult_; }\n"
           "    IDispatch& Dispatch() { return *control_; }\n"
           "\n"
           "  private:\n"
           "    std::optional<Variant> Call(DISPID id, InvokeKind kind, std::span<const Variant> "
           "args,\n"
           "                                VarType type) {\n"
           "        Variant result;\n"
           "        lastResult_ = control_ ? control_->Invoke(id, kind, args, &result) : "
           "E_POINTER;\n"
           "        if (FAILED(lastResult_)) return std::nullopt;\n"
           "        std::optional<Variant> converted = result.ChangeType(type);\n"
           "        if (!converted) lastResult_ = DISP_E_TYPEMISMATCH;\n"
           "        return converted;\n"
           "    }\n"
           "    // Void members and puts ask for no result, as automation callers do.\n"
           "    void CallVoid(DISPID id, InvokeKind kind, std::span<const Variant> args) {\n"
           "        lastResult_ = control_ ? control_->Invoke(id, kind, args, nullptr) : "
           "E_POINTER;\n"
           "    }\n"
           "    bool CallBool(DISPID id, InvokeKind kind, std::span<const Variant> args) {\n"
           "        std::optional<Variant> r = Call(id, kind, args, VarType::Bool);\n"
           "        return r ? r->Bool() : false;\n"
           "    }\n"
           "    std::int32_t CallI4(DISPID id, InvokeKind kind, std::span<const Variant> args) {\n"
           "        std::optional<Variant> r = Call(id, kind, args, VarType::I4);\n"
           "        return r ? r->I4() : 0;\n"
           "    }\n"
           "    std::string CallBStr(DISPID id, InvokeKind kind, std::span<const Variant> args) {\n"
           "        std::optional<Variant> r = Call(id, kind, args, VarType::BStr);\n"
           "        return r ? r->BStr() : std::string();\n"
           "    }\n"
           "    template <typename... T>\n"
           "    static std::array<Variant, sizeof...(T)> Pack(const T&... values) {\n"
           "        return {Variant(values)...};\n"
           "    }\n"
           "    void Put(DISPID id, const Variant& value) {\n"
           "        CallVoid(id, InvokeKind::PropertyPut, std::span<const Variant>(&value, 1));\n"
           "    }\n"
           "\n"
           "    std::shared_ptr<IDispatch> control_;\n"
           "    HRESULT lastResult_ = S_OK;\n"
           "};\n";
    return out.str();
}

std::string SinkClass(const TypeLibInterface& itf, const std::string& className) {
    std::set<std::string> names = {"GetIDsOfNames", "Invoke",  "OnOtherEvent",
                                   "Unpack",        "Convert", "EqualsNoCase"};
    std::ostringstream virtuals, table, cases;
    for (const TypeLibMember& m : itf.members) {
        if (m.isProperty) throw GenerateError{"event interface " + itf.name + " has properties"};
        if (m.type) throw GenerateError{"event " + m.name + " returns a value"};
        CheckUnique(names, m.name, className);
        std::vector<std::string> params, locals;
        for (const orbel::TypeLibParam& p : m.params) {
            params.push_back(ParamType(p.type) + " /*" + p.name + "*/");
            locals.push_back(LocalName(p.name));
        }
        virtuals << Wrap("    ", "virtual void " + m.name + "(", params, ") {}");
        table << "            {\"" << m.name << "\", " << m.id << "},\n";

        cases << "            case " << m.id << ": {\n";
        for (std::size_t i = 0; i < m.params.size(); ++i)
            cases << "                " << CppType(m.params[i].type) << " " << locals[i] << "{};\n";
        std::vector<std::string> unpackArgs = {"kind", "args"};
        unpackArgs.insert(unpackArgs.end(), locals.begin(), locals.end());
        cases << Wrap("                ", "const HRESULT hr = Unpack(", unpackArgs, ");");
        cases << "                if (FAILED(hr)) return hr;\n";
        cases << Wrap("                ", m.name + "(", locals, ");");
        cases << "                return S_OK;\n"
                 "            }\n";
    }

    std::ostringstream out;
    out << "// Base for an event sink (" << itf.name
        << "). Invoke converts the arguments as automation does and\n"
           "// calls the virtual of that event; a DISPID the library does not declare (the "
           "control fires\n"
           "// some) goes to OnOtherEvent. GetIDsOfNames answers the event names.\n"
           "class "
        << className
        << " : public IDispatch {\n"
           "  public:\n"
        << virtuals.str()
        << "    virtual void OnOtherEvent(DISPID /*id*/, std::span<const Variant> /*args*/) {}\n"
           "\n"
           "    HRESULT GetIDsOfNames(std::string_view name, DISPID& id) override {\n"
           "        static constexpr std::pair<std::string_view, DISPID> kEvents[] = {\n"
        << table.str()
        << "        };\n"
           "        for (const auto& [eventName, eventId] : kEvents) {\n"
           "            if (EqualsNoCase(eventName, name)) {\n"
           "                id = eventId;\n"
           "                return S_OK;\n"
           "            }\n"
           "        }\n"
           "        return DISP_E_UNKNOWNNAME;\n"
           "    }\n"
           "\n"
           "    HRESULT Invoke(DISPID id, InvokeKind kind, std::span<const Variant> args,\n"
           "                   Variant* /*result*/) override {\n"
           "        switch (id) {\n"
        << cases.str()
        << "            default:\n"
           "                OnOtherEvent(id, args);\n"
           "                return S_OK;\n"
           "        }\n"
           "    }\n"
           "\n"
           "  private:\n"
           "    template <typename... T>\n"
           "    static HRESULT Unpack(InvokeKind kind, std::span<const Variant> args, T&... out) "
           "{\n"
           "        if (kind != InvokeKind::Method) return DISP_E_MEMBERNOTFOUND;\n"
           "        if (args.size() != sizeof...(T)) return DISP_E_BADPARAMCOUNT;\n"
           "        [[maybe_unused]] std::size_t i = 0;\n"
           "        return (Convert(args[i++], out) && ...) ? S_OK : DISP_E_TYPEMISMATCH;\n"
           "    }\n"
           "    static bool Convert(const Variant& v, bool& out) {\n"
           "        std::optional<Variant> c = v.ChangeType(VarType::Bool);\n"
           "        if (c) out = c->Bool();\n"
           "        return c.has_value();\n"
           "    }\n"
           "    static bool Convert(const Variant& v, std::int32_t& out) {\n"
           "        std::optional<Variant> c = v.ChangeType(VarType::I4);\n"
           "        if (c) out = c->I4();\n"
           "        return c.has_value();\n"
           "    }\n"
           "    static bool Convert(const Variant& v, std::string& out) {\n"
           "        std::optional<Variant> c = v.ChangeType(VarType::BStr);\n"
           "        if (c) out = c->BStr();\n"
           "        return c.has_value();\n"
           "    }\n"
           "    static bool EqualsNoCase(std::string_view a, std::string_view b) {\n"
           "        if (a.size() != b.size()) return false;\n"
           "        for (std::size_t i = 0; i < a.size(); ++i) {\n"
           "            const auto lower = [](char c) {\n"
           "                return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;\n"
           "            };\n"
           "            if (lower(a[i]) != lower(b[i])) return false;\n"
           "        }\n"
           "        return true;\n"
           "    }\n"
           "};\n";
    return out.str();
}

std::string Generate(const TypeLibrary& lib) {
    if (lib.coclasses.empty()) throw GenerateError{"the library has no coclass"};
    const TypeLibCoclass& cls = lib.coclasses.front();
    const TypeLibInterface* dispatch = lib.FindInterface(cls.defaultInterface);
    const TypeLibInterface* events = lib.FindInterface(cls.defaultSource);
    if (!dispatch) throw GenerateError{"coclass " + cls.name + " has no default interface"};
    if (!events) throw GenerateError{"coclass " + cls.name + " has no default source"};

    std::ostringstream out;
    out << "// Generated by orbel-wrapgen from the type library " << lib.name << " " << lib.major
        << "." << lib.minor
        << "; do not edit.\n"
           "#pragma once\n"
           "\n"
           "#include <array>\n"
           "#include <cstddef>\n"
           "#include <cstdint>\n"
           "#include <memory>\n"
           "#include <optional>\n"
           "#include <span>\n"
           "#include <string>\n"
           "#include <string_view>\n"
           "#include <utility>\n"
           "\n"
           "#include \"platform/automation/Dispatch.h\"\n"
           "\n"
           "namespace orbel::host {\n"
           "\n"
           "// What the class is known by: its class ID, the IID of its dispatch interface and "
           "the IID\n"
           "// of the event interface a sink connects to.\n"
        << "inline constexpr std::string_view k" << cls.name << "Clsid = \"" << cls.clsid.ToString()
        << "\";\n"
        << "inline constexpr std::string_view k" << cls.name << "DispatchIid = \""
        << dispatch->iid.ToString() << "\";\n"
        << "inline constexpr std::string_view k" << cls.name << "EventsIid = \""
        << events->iid.ToString() << "\";\n\n"
        << WrapperClass(*dispatch, "C" + cls.name + "Wrapper") << "\n"
        << SinkClass(*events, "C" + cls.name + "EventSink")
        << "\n"
           "}  // namespace orbel::host\n";
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: orbel-wrapgen LIBRARY.odl OUTPUT.h\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": cannot read\n";
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    const std::optional<TypeLibrary> lib = orbel::ParseTypeLibrary(text, &error);
    if (!lib) {
        std::cerr << argv[1] << ":" << error << "\n";
        return 1;
    }
    std::string header;
    try {
        header = Generate(*lib);
    } catch (const GenerateError& e) {
        std::cerr << argv[1] << ": " << e.what << "\n";
        return 1;
    }
    // Rewriting an unchanged header would rebuild every host for nothing.
    std::ifstream old(argv[2], std::ios::binary);
    if (old && std::string((std::istreambuf_iterator<char>(old)), {}) == header) return 0;
    old.close();
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << header;
    if (!out.flush()) {
        std::cerr << argv[2] << ": cannot write\n";
        return 1;
    }
    return 0;
}
