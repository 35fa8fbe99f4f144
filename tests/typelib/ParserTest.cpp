// The parser reads outside text: a good library comes through whole, and a broken one is
// refused with the line a person has to look at.
#include <gtest/gtest.h>

#include <string>

#include "platform/automation/TypeLib.h"

namespace orbel {
namespace {

// A small library in the form control projects write, one construct per line so that tests
// can break a given line.
constexpr const char* kSample =
    "#include <olectl.h>\n"                                              // 1
    "/* a block comment\n"                                               // 2
    "   over two lines */\n"                                             // 3
    "[ uuid(11111111-2222-3333-4444-555555555555), version(2.7),\n"      // 4
    "  helpstring(\"Sample \\\"library\\\"\"), helpfile(\"s.hlp\") ]\n"  // 5
    "library SampleLib\n"                                                // 6
    "{\n"                                                                // 7
    "  importlib(STDOLE_TLB);\n"                                         // 8
    "  [ uuid(11111111-2222-3333-4444-555555555556), hidden ]\n"         // 9
    "  dispinterface _DSample\n"                                         // 10
    "  {\n"                                                              // 11
    "    properties:\n"                                                  // 12
    "      [id(1)] long Count; // trailing comment\n"                    // 13
    "    methods:\n"                                                     // 14
    "      [id(2)] BSTR Name([in] long index, VARIANT_BOOL full);\n"     // 15
    "      [id(0x10)] void Reset(void);\n"                               // 16
    "      [id(-552)] void AboutBox();\n"                                // 17
    "  };\n"                                                             // 18
    "  [ uuid(11111111-2222-3333-4444-555555555557) ]\n"                 // 19
    "  dispinterface _DSampleEvents { properties: methods: };\n"         // 20
    "  [ uuid(11111111-2222-3333-4444-555555555558), control ]\n"        // 21
    "  coclass Sample\n"                                                 // 22
    "  {\n"                                                              // 23
    "    [default] dispinterface _DSample;\n"                            // 24
    "    [default, source] dispinterface _DSampleEvents;\n"              // 25
    "  };\n"                                                             // 26
    "};\n";                                                              // 27

// The sample with line `line` (1-based) replaced.
std::string WithLine(int line, const std::string& replacement) {
    std::string text = kSample;
    std::size_t start = 0;
    for (int i = 1; i < line; ++i) start = text.find('\n', start) + 1;
    const std::size_t end = text.find('\n', start);
    return text.replace(start, end - start, replacement);
}

std::string ErrorOf(const std::string& text) {
    std::string error;
    EXPECT_FALSE(ParseTypeLibrary(text, &error)) << "parsed:\n" << text;
    return error;
}

TEST(TypeLibParser, ReadsEveryPartOfALibrary) {
    std::string error;
    const auto lib = ParseTypeLibrary(kSample, &error);
    ASSERT_TRUE(lib) << error;
    EXPECT_EQ(lib->name, "SampleLib");
    EXPECT_EQ(lib->libid.ToString(), "{11111111-2222-3333-4444-555555555555}");
    EXPECT_EQ(lib->major, 2);
    EXPECT_EQ(lib->minor, 7);
    EXPECT_EQ(lib->help, "Sample \"library\"");
    EXPECT_FALSE(lib->control);

    const TypeLibInterface* itf = lib->FindInterface("_DSample");
    ASSERT_NE(itf, nullptr);
    EXPECT_TRUE(itf->hidden);
    ASSERT_EQ(itf->members.size(), 4u);
    const TypeLibMember& count = itf->members[0];
    EXPECT_TRUE(count.isProperty);
    EXPECT_EQ(count.type, VarType::I4);
    const TypeLibMember& name = itf->members[1];
    EXPECT_FALSE(name.isProperty);
    EXPECT_EQ(name.type, VarType::BStr);
    ASSERT_EQ(name.params.size(), 2u);
    EXPECT_EQ(name.params[0].name, "index");
    EXPECT_EQ(name.params[0].type, VarType::I4);
    EXPECT_EQ(name.params[1].type, VarType::Bool);
    EXPECT_EQ(itf->members[2].id, 16);
    EXPECT_FALSE(itf->members[2].type.has_value());
    EXPECT_TRUE(itf->members[2].params.empty());
    EXPECT_EQ(itf->members[3].id, -552);

    EXPECT_TRUE(lib->FindInterface("_DSampleEvents")->members.empty());
    ASSERT_EQ(lib->coclasses.size(), 1u);
    EXPECT_TRUE(lib->coclasses[0].control);
    EXPECT_EQ(lib->coclasses[0].defaultInterface, "_DSample");
    EXPECT_EQ(lib->coclasses[0].defaultSource, "_DSampleEvents");
}

TEST(TypeLibParser, SyntaxErrorsNameTheirLine) {
    EXPECT_EQ(ErrorOf(WithLine(13, "      [id(1)] long Count")),
              "13: expected ';' after 'Count', found 'methods'");
    EXPECT_EQ(ErrorOf(WithLine(15, "      [id(2)] BSTR Name(long index long full);")),
              "15: expected ',' or ')' in the parameters of Name, found 'long'");
    EXPECT_EQ(ErrorOf(WithLine(16, "      [id(0x10)] short Reset();")),
              "16: expected a type (boolean, long, BSTR), found 'short'");
    EXPECT_EQ(ErrorOf(WithLine(13, "      [id(1)] void Count;")),
              "13: void is only a method result");
    EXPECT_EQ(ErrorOf(WithLine(8, "  importlib(STDOLE_TLB) @")), "8: unexpected character '@'");
    EXPECT_EQ(ErrorOf(WithLine(5, "  helpstring(\"Sample\") helpfile(\"s.hlp\") ]")),
              "5: expected ',' or ']' in an attribute list, found 'helpfile'");
    EXPECT_EQ(ErrorOf(WithLine(5, "  helpstring(\"Sample) ]")), "5: unterminated string");
    EXPECT_EQ(ErrorOf(WithLine(1, "#define X 1")), "1: unsupported directive #define");
    EXPECT_EQ(ErrorOf(WithLine(3, "   over two lines")), "2: unterminated comment");
    EXPECT_EQ(ErrorOf(WithLine(27, "}; extra")), "27: unexpected 'extra' after the library");
    const std::string sample = kSample;
    EXPECT_EQ(ErrorOf(sample.substr(0, sample.find("Name(") + 5)),
              "15: expected a type (boolean, long, BSTR), found the end of the text");
}

TEST(TypeLibParser, AttributeMistakesNameTheirLine) {
    EXPECT_EQ(ErrorOf(WithLine(13, "      [id(1), id(2)] long Count;")),
              "13: attribute id is given twice");
    EXPECT_EQ(ErrorOf(WithLine(13, "      [hiden] long Count;")), "13: unknown attribute hiden");
    EXPECT_EQ(ErrorOf(WithLine(9, "  [ uuid(11111111-2222-3333-4444-555555555556), id(3) ]")),
              "9: attribute id is not allowed on a dispinterface");
    EXPECT_EQ(ErrorOf(WithLine(9, "  [ uuid(11111111-2222-3333-4444-55555555556) ]")),
              "9: malformed uuid 11111111-2222-3333-4444-55555555556");
    EXPECT_EQ(ErrorOf(WithLine(4, "[ uuid(11111111-2222-3333-4444-555555555555), version(2.x),")),
              "4: version must be MAJOR.MINOR, found 2.x");
    EXPECT_EQ(ErrorOf(WithLine(17, "      [id(DISPID_ABOUTBOX)] void AboutBox();")),
              "17: id needs a number, found DISPID_ABOUTBOX");
    EXPECT_EQ(ErrorOf(WithLine(16, "      void Reset(void);")),
              "16: Reset in _DSample has no id attribute");
    EXPECT_EQ(ErrorOf(WithLine(9, "  [ hidden ]")), "9: dispinterface _DSample has no uuid");
}

// A library that parses but contradicts itself would give hosts two members for one DISPID
// or a coclass pointing nowhere.
TEST(TypeLibParser, InconsistentDeclarationsNameTheirLine) {
    EXPECT_EQ(ErrorOf(WithLine(16, "      [id(2)] void Reset(void);")),
              "16: DISPID 2 of Reset is already used by Name");
    EXPECT_EQ(ErrorOf(WithLine(16, "      [id(3)] void name(void);")),
              "16: name is declared twice in _DSample");
    EXPECT_EQ(ErrorOf(WithLine(15, "      [id(2)] BSTR Name(long index, boolean Index);")),
              "15: parameter Index of Name is declared twice");
    EXPECT_EQ(ErrorOf(WithLine(25, "    [default, source] dispinterface _DSampleEvent;")),
              "25: coclass Sample names unknown interface _DSampleEvent");
    EXPECT_EQ(ErrorOf(WithLine(25, "    [default] dispinterface _DSampleEvents;")),
              "25: coclass Sample has two default interfaces");
    EXPECT_EQ(ErrorOf(WithLine(20, "  dispinterface _DSample { properties: methods: };")),
              "19: dispinterface _DSample is declared twice");
}

TEST(TypeLibParser, ErrorTextIsOptionalAndEmptyInputFails) {
    EXPECT_FALSE(ParseTypeLibrary("", nullptr));
    EXPECT_EQ(ErrorOf(""), "1: expected library, found the end of the text");
    EXPECT_EQ(ErrorOf("\n\n[ uuid(11111111-2222-3333-4444-555555555555) ] library L {"),
              "3: expected dispinterface or coclass, found the end of the text");
}

}  // namespace
}  // namespace orbel
