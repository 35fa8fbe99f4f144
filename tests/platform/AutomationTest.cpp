#include <gtest/gtest.h>

#include "platform/automation/Guid.h"
#include "platform/framework/DispatchMap.h"

namespace orbel {
namespace {

TEST(Guid, ParsesBothFormsAndPrintsTheRegistryForm) {
    auto g = Guid::Parse("{77173955-7239-11d2-b2a4-0060084f9cc1}");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->ToString(), "{77173955-7239-11D2-B2A4-0060084F9CC1}");
    EXPECT_EQ(Guid::Parse("77173955-7239-11D2-B2A4-0060084F9CC1"), g);
    EXPECT_FALSE(Guid::Parse("{77173955-7239-11D2-B2A4-0060084F9CC}"));
    EXPECT_FALSE(Guid::Parse("{77173955x7239-11D2-B2A4-0060084F9CC1}"));
    EXPECT_FALSE(Guid::Parse("{77173955-7239-11D2-B2A4-0060084F9CG1}"));
}

TEST(Variant, CoercesAsAutomationDoesAndRefusesTheRest) {
    EXPECT_EQ(Variant(true).ChangeType(VarType::I4), Variant(std::int32_t{-1}));
    EXPECT_EQ(Variant(std::int32_t{5}).ChangeType(VarType::Bool), Variant(true));
    EXPECT_EQ(Variant(" 42 ").ChangeType(VarType::I4), Variant(std::int32_t{42}));
    EXPECT_EQ(Variant("TRUE").ChangeType(VarType::Bool), Variant(true));
    EXPECT_EQ(Variant(std::int32_t{-7}).ChangeType(VarType::BStr), Variant("-7"));
    EXPECT_FALSE(Variant("12abc").ChangeType(VarType::I4));
    EXPECT_FALSE(Variant("99999999999").ChangeType(VarType::I4));
    EXPECT_FALSE(Variant::Missing().ChangeType(VarType::BStr));
}

TEST(Variant, DisplaysAsTranscriptsWriteValues) {
    EXPECT_EQ(Variant("a\"b\\c\n").ToDisplayString(), "\"a\\\"b\\\\c\\n\"");
    EXPECT_EQ(Variant(false).ToDisplayString(), "FALSE");
    EXPECT_EQ(Variant(std::int32_t{-3}).ToDisplayString(), "-3");
}

struct Target {
    std::string last;
    bool flag = false;
    std::int32_t Add(std::int32_t a, const std::string& b, bool c) {
        last = std::to_string(a) + b + (c ? "!" : "?");
        return a + 1;
    }
    bool GetFlag() { return flag; }
    void SetFlag(bool v) { flag = v; }
};

TEST(DispatchMap, DeducesTypesConvertsArgumentsAndReportsWhatIsWrong) {
    Target t;
    std::int32_t stored = 0;
    int changes = 0;
    DispatchMap map;
    map.Add(DispMethod("Add", 11, &t, &Target::Add));
    map.Add(DispPropertyNotify("Stored", 1, stored, [&] { ++changes; }));
    map.Add(DispPropertyEx("Flag", 2, &t, &Target::GetFlag, &Target::SetFlag));
    map.Add(DispMethodPending<bool, std::int32_t>("Later", 12));

    const DispatchEntry* add = map.Find("add");
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add->params, (std::vector<VarType>{VarType::I4, VarType::BStr, VarType::Bool}));
    EXPECT_EQ(add->type, VarType::I4);

    Variant result;
    std::vector<Variant> args{Variant("41"), Variant("x"), Variant(std::int32_t{1})};
    EXPECT_EQ(map.Invoke(11, false, false, args, &result), S_OK);
    EXPECT_EQ(result, Variant(std::int32_t{42}));
    EXPECT_EQ(t.last, "41x!");

    std::vector<Variant> two{Variant(std::int32_t{1}), Variant("x")};
    EXPECT_EQ(map.Invoke(11, false, false, two, &result), DISP_E_BADPARAMCOUNT);
    std::vector<Variant> bad{Variant("abc"), Variant("x"), Variant(true)};
    EXPECT_EQ(map.Invoke(11, false, false, bad, &result), DISP_E_TYPEMISMATCH);
    std::vector<Variant> missing{Variant::Missing(), Variant("x"), Variant(true)};
    EXPECT_EQ(map.Invoke(11, false, false, missing, &result), DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(map.Invoke(99, false, false, {}, &result), DISP_E_MEMBERNOTFOUND);

    std::vector<Variant> one{Variant(std::int32_t{3})};
    EXPECT_EQ(map.Invoke(12, false, false, one, &result), E_NOTIMPL);

    std::vector<Variant> put{Variant(std::int32_t{500})};
    EXPECT_EQ(map.Invoke(1, false, true, put, nullptr), S_OK);
    EXPECT_EQ(stored, 500);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(map.Invoke(1, true, false, {}, &result), S_OK);
    EXPECT_EQ(result, Variant(std::int32_t{500}));
    std::vector<Variant> yes{Variant(true)};
    EXPECT_EQ(map.Invoke(2, false, true, yes, nullptr), S_OK);
    EXPECT_TRUE(t.flag);
    // A property is not a method.
    EXPECT_EQ(map.Invoke(1, false, false, {}, &result), DISP_E_MEMBERNOTFOUND);
}

}  // namespace
}  // namespace orbel
