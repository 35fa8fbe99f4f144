#include "src/script/vbscript/Builtins.h"

#include <unordered_map>

#include "src/script/vbscript/Conversions.h"
#include "src/script/vbscript/Errors.h"
#include "src/script/vbscript/Interpreter.h"

namespace orbel::vbs {

namespace {

std::string TextArg(const std::vector<Value>& args, std::size_t i) {
    if (i >= args.size() || args[i].type == Type::Null) return {};
    return ToStr(args[i]);
}

Value MsgBoxFn(Interpreter& in, std::vector<Value>& a) {
    int buttons = a.size() > 1 && a[1].type != Type::Empty ? ToLong(a[1]) : 0;
    return Value::Int(in.Host().MsgBox(TextArg(a, 0), buttons, TextArg(a, 2)));
}

Value InputBoxFn(Interpreter& in, std::vector<Value>& a) {
    auto text = in.Host().InputBox(TextArg(a, 0), TextArg(a, 1), TextArg(a, 2));
    return Value::Str(text.value_or(""));
}

Value CreateObjectFn(Interpreter& in, std::vector<Value>& a) {
    std::string progId = ToStr(a[0]);
    std::shared_ptr<IDispatch> object;
    HRESULT hr = in.Host().CreateObject(progId, object);
    if (FAILED(hr) || !object)
        Fail(kCannotCreateObject, ErrorDescription(kCannotCreateObject) + ": '" + progId + "'");
    return Value::Obj(std::move(object));
}

Value ErrFn(Interpreter& in, std::vector<Value>&) {
    return in.ErrValue();
}

constexpr Builtin kHostBuiltins[] = {
    {"msgbox", 1, 5, false, MsgBoxFn},
    {"inputbox", 1, 7, false, InputBoxFn},
    {"createobject", 1, 2, false, CreateObjectFn},
    {"err", 0, 0, false, ErrFn},
};

std::unordered_map<std::string, const Builtin*> BuildTable() {
    std::unordered_map<std::string, const Builtin*> table;
    for (auto group : {std::span<const Builtin>(kHostBuiltins), TextBuiltins(), NumberBuiltins(),
                       DateBuiltins()})
        for (const Builtin& b : group) table.emplace(b.name, &b);
    return table;
}

std::unordered_map<std::string, Value> BuildConstants() {
    std::unordered_map<std::string, Value> c;
    c["vbcrlf"] = Value::Str("\r\n");
    c["vbnewline"] = Value::Str("\r\n");
    c["vbcr"] = Value::Str("\r");
    c["vblf"] = Value::Str("\n");
    c["vbtab"] = Value::Str("\t");
    c["vbnullstring"] = Value::Str("");
    c["vbnullchar"] = Value::Str(std::string(1, '\0'));
    c["vbformfeed"] = Value::Str("\f");
    c["vbverticaltab"] = Value::Str("\v");
    const std::pair<const char*, std::int32_t> numbers[] = {{"vbokonly", 0},
                                                            {"vbokcancel", 1},
                                                            {"vbabortretryignore", 2},
                                                            {"vbyesnocancel", 3},
                                                            {"vbyesno", 4},
                                                            {"vbretrycancel", 5},
                                                            {"vbcritical", 16},
                                                            {"vbquestion", 32},
                                                            {"vbexclamation", 48},
                                                            {"vbinformation", 64},
                                                            {"vbdefaultbutton1", 0},
                                                            {"vbdefaultbutton2", 256},
                                                            {"vbdefaultbutton3", 512},
                                                            {"vbdefaultbutton4", 768},
                                                            {"vbapplicationmodal", 0},
                                                            {"vbsystemmodal", 4096},
                                                            {"vbok", 1},
                                                            {"vbcancel", 2},
                                                            {"vbabort", 3},
                                                            {"vbretry", 4},
                                                            {"vbignore", 5},
                                                            {"vbyes", 6},
                                                            {"vbno", 7},
                                                            {"vbbinarycompare", 0},
                                                            {"vbtextcompare", 1},
                                                            {"vbusesystemdayofweek", 0},
                                                            {"vbsunday", 1},
                                                            {"vbmonday", 2},
                                                            {"vbtuesday", 3},
                                                            {"vbwednesday", 4},
                                                            {"vbthursday", 5},
                                                            {"vbfriday", 6},
                                                            {"vbsaturday", 7},
                                                            {"vbfirstjan1", 1},
                                                            {"vbgeneraldate", 0},
                                                            {"vblongdate", 1},
                                                            {"vbshortdate", 2},
                                                            {"vblongtime", 3},
                                                            {"vbshorttime", 4},
                                                            {"vbtrue", -1},
                                                            {"vbfalse", 0},
                                                            {"vbusedefault", -2},
                                                            {"vbempty", 0},
                                                            {"vbnull", 1},
                                                            {"vbinteger", 2},
                                                            {"vblong", 3},
                                                            {"vbsingle", 4},
                                                            {"vbdouble", 5},
                                                            {"vbcurrency", 6},
                                                            {"vbdate", 7},
                                                            {"vbstring", 8},
                                                            {"vbobject", 9},
                                                            {"vberror", 10},
                                                            {"vbboolean", 11},
                                                            {"vbvariant", 12},
                                                            {"vbdataobject", 13},
                                                            {"vbdecimal", 14},
                                                            {"vbbyte", 17},
                                                            {"vbarray", 8192},
                                                            {"vbobjecterror", INT32_MIN + 0x40000}};
    for (const auto& [name, value] : numbers) c[name] = Value::Number(value);
    return c;
}

}  // namespace

const Builtin* FindBuiltin(const std::string& key) {
    static const auto table = BuildTable();
    auto it = table.find(key);
    return it == table.end() ? nullptr : it->second;
}

const Value* FindBuiltinConstant(const std::string& key) {
    static const auto constants = BuildConstants();
    auto it = constants.find(key);
    return it == constants.end() ? nullptr : &it->second;
}

bool AnyNull(const std::vector<Value>& args, std::size_t count) {
    for (std::size_t i = 0; i < count && i < args.size(); ++i)
        if (args[i].type == Type::Null) return true;
    return false;
}

std::shared_ptr<ArrayData> StringArray(std::vector<std::string> items) {
    auto a = ArrayData::Make({static_cast<std::int32_t>(items.size()) - 1}, false);
    for (std::size_t i = 0; i < items.size(); ++i) a->items[i] = Value::Str(std::move(items[i]));
    return a;
}

}  // namespace orbel::vbs
