// The container's script lines: what a script author writes must reach the control as the
// values meant, and a malformed line must be refused rather than half understood.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "host/container/ScriptLine.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::host {
namespace {

std::vector<Token> Tokens(std::string_view line) {
    std::string error;
    auto tokens = TokenizeLine(line, error);
    EXPECT_TRUE(tokens) << error;
    return tokens ? *tokens : std::vector<Token>{};
}

std::string Refusal(std::string_view line) {
    std::string error;
    auto tokens = TokenizeLine(line, error);
    EXPECT_FALSE(tokens) << line;
    return error;
}

TEST(ScriptLineTest, StringsNumbersBooleansAndWordsAreTheValuesWritten) {
    auto t = Tokens(R"(  reply -3 "a \"b\" \\ \n\r\t" "" TRUE FALSE #42 x7 -)");
    ASSERT_EQ(t.size(), 9u);
    EXPECT_EQ(t[0].kind, Token::Kind::Word);
    EXPECT_EQ(t[0].text, "reply");
    EXPECT_EQ(t[1].ToValue(), Variant(std::int32_t{-3}));
    EXPECT_EQ(t[2].ToValue(), Variant("a \"b\" \\ \n\r\t"));
    EXPECT_EQ(t[3].ToValue(), Variant(""));
    EXPECT_EQ(t[4].ToValue(), Variant(true));
    EXPECT_EQ(t[5].ToValue(), Variant(false));
    for (int i : {6, 7, 8}) {
        EXPECT_EQ(t[i].kind, Token::Kind::Word) << t[i].text;
        EXPECT_FALSE(t[i].ToValue());
    }
    EXPECT_EQ(t[6].text, "#42");
    // Blanks inside a string are the string's own, trailing ones included.
    EXPECT_EQ(Tokens(R"(sql "Minutes   ")")[1].text, "Minutes   ");
    // Printed back, a string reads as it was written.
    EXPECT_EQ(t[2].Spelling(), R"("a \"b\" \\ \n\r\t")");
}

TEST(ScriptLineTest, CommentAndBlankLinesHoldNothing) {
    EXPECT_TRUE(Tokens("").empty());
    EXPECT_TRUE(Tokens(" \t\r").empty());
    EXPECT_TRUE(Tokens("  # store GetNextOLEID").empty());
}

TEST(ScriptLineTest, NumbersAreThirtyTwoBitsAndNothingBeyond) {
    EXPECT_EQ(Tokens("2147483647")[0].integer, 2147483647);
    EXPECT_EQ(Tokens("-2147483648")[0].integer, -2147483647 - 1);
    EXPECT_NE(Refusal("wait 2147483648").find("32 bits"), std::string::npos);
    EXPECT_EQ(Tokens("12ab")[0].kind, Token::Kind::Word);
}

TEST(ScriptLineTest, AMalformedLineIsRefusedWithItsReason) {
    EXPECT_EQ(Refusal(R"(reply 0 "abc)"), "a string is not closed");
    EXPECT_EQ(Refusal(R"(reply 0 "abc\)"), "a string is not closed");
    EXPECT_EQ(Refusal(R"(reply 0 "a\qb")"), "unknown escape \\q in a string");
    EXPECT_EQ(Refusal(R"(expect "a"b)"), "a blank must follow a string");
    EXPECT_EQ(Refusal(R"(set Name ab"c")"), "a quote inside ab\"c\"");
}

TEST(ScriptLineTest, ScriptsAreReadInOrderAndEachLineKnowsWhereItCameFrom) {
    const auto dir = test::MakeTempDir("orbel-script");
    std::ofstream(dir / "one.script") << "get A\nget B\n";
    std::ofstream(dir / "two.script") << "get C";  // no line break at the end
    std::istringstream typed("get D\n");
    ScriptSource source({(dir / "one.script").string(), "-", (dir / "two.script").string(),
                         (dir / "none.script").string()},
                        typed);
    EXPECT_EQ(source.Unreadable(), std::vector<std::string>{(dir / "none.script").string()});

    std::vector<std::string> lines;
    std::string text;
    ScriptLocation where;
    while (source.Next(text, where))
        lines.push_back(std::filesystem::path(where.file).filename().string() + ":" +
                        std::to_string(where.line) + " " + text);
    EXPECT_EQ(lines, (std::vector<std::string>{"one.script:1 get A", "one.script:2 get B",
                                               "<stdin>:1 get D", "two.script:1 get C"}));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orbel::host
