// Splitting command lines into argument vectors: quoting works as users of a shell expect,
// and nothing a shell would act on has any effect.
#include <gtest/gtest.h>

#include "platform/shell/CommandLine.h"

namespace orbel::platform {
namespace {

using Words = std::vector<std::string>;

TEST(SplitShellWords, BlanksSeparateAndQuotesGroup) {
    EXPECT_EQ(SplitShellWords("  -a   -b\tc\n"), (Words{"-a", "-b", "c"}));
    EXPECT_EQ(SplitShellWords("--title 'My Report' \"a b\"c"),
              (Words{"--title", "My Report", "a bc"}));
    EXPECT_EQ(SplitShellWords("'' \"\" x"), (Words{"", "", "x"}));
    EXPECT_EQ(SplitShellWords(""), Words{});
}

TEST(SplitShellWords, BackslashesEscapeAsInAShell) {
    EXPECT_EQ(SplitShellWords(R"(a\ b "c\"d" "e\f" 'g\h')"),
              (Words{"a b", "c\"d", "e\\f", "g\\h"}));
    // A backslash at the very end has nothing to escape and stays.
    EXPECT_EQ(SplitShellWords("x\\"), (Words{"x\\"}));
}

TEST(SplitShellWords, OpenQuotesRunToTheEnd) {
    EXPECT_EQ(SplitShellWords("a 'b c"), (Words{"a", "b c"}));
    EXPECT_EQ(SplitShellWords("a \"b c\\"), (Words{"a", "b c\\"}));
}

TEST(SplitShellWords, NothingIsExpandedOrTakenAsAnOperator) {
    EXPECT_EQ(SplitShellWords("$(touch /tmp/p) `id` $HOME ~ *.txt"),
              (Words{"$(touch", "/tmp/p)", "`id`", "$HOME", "~", "*.txt"}));
    EXPECT_EQ(SplitShellWords("a;b|c&d>e<f #g"), (Words{"a;b|c&d>e<f", "#g"}));
    EXPECT_EQ(SplitShellWords("\"$(rm -rf ~)\""), (Words{"$(rm -rf ~)"}));
}

TEST(QuoteShellWord, QuotedWordsComeBackUnchanged) {
    const Words words = {"plain", "", "a b", "it's", "$(x)", "`y`", "\\", "\"", "\n", "-x=1,2"};
    EXPECT_EQ(SplitShellWords(JoinShellWords(words)), words);
    EXPECT_EQ(QuoteShellWord("/usr/bin/x-1.2"), "/usr/bin/x-1.2");
    EXPECT_EQ(QuoteShellWord("a b"), "'a b'");
}

}  // namespace
}  // namespace orbel::platform
