// Token sequences of the scanner: text in, the exact tokens out.
#include <gtest/gtest.h>

#include <cctype>

#include "main/driver.h"
#include "read/scanner.h"

namespace {

using velmorn::Scanner;
using V = std::vector<std::string>;

// Every token of `text`: words, or the tokens of a library clause.
V tokens(const std::string& text, bool clause = false)
{
    Scanner s;
    s.loadText(text);
    auto next = [&] { return clause ? s.clauseToken() : s.word(); };
    V out;
    for (std::string t = next(); !t.empty(); t = next()) out.push_back(t);
    return out;
}

// The type text captured right after `prefix` has been read as tokens.
std::string typeAfter(const std::string& text, size_t tokensBefore)
{
    Scanner s;
    s.loadText(text);
    for (size_t i = 0; i < tokensBefore; ++i) s.word();
    return s.typeText();
}

TEST(Scanner, WordsAreUpperCasedAndKeepDotsHyphensAndUnderscores)
{
    EXPECT_EQ(tokens("ieee.std_logic_1164.all"), V{"IEEE.STD_LOGIC_1164.ALL"});
    EXPECT_EQ(tokens("a--b"), V{"A--B"});
    EXPECT_EQ(tokens("_x"), V{"_X"});
    EXPECT_EQ(tokens("abc123"), V{"ABC123"});
}

TEST(Scanner, NumbersStopAtTheFirstNonDigit)
{
    EXPECT_EQ(tokens("123abc"), (V{"123", "ABC"}));
    EXPECT_EQ(tokens("-5"), V{"5"});
}

TEST(Scanner, PunctuationOtherThanColonIsDropped)
{
    EXPECT_EQ(tokens("x := 5;"), (V{"X", ":", "5"}));
    EXPECT_EQ(tokens("std_logic_vector(7 downto 0)"), (V{"STD_LOGIC_VECTOR", "7", "DOWNTO", "0"}));
    EXPECT_EQ(tokens("a, b : in std_logic"), (V{"A", "B", ":", "IN", "STD_LOGIC"}));
}

TEST(Scanner, CommentAtTokenStartIsSkippedToItsLineEnd)
{
    EXPECT_EQ(tokens("-- a comment : x\ny"), V{"Y"});
    EXPECT_EQ(tokens("x -- trailing"), V{"X"});
}

TEST(Scanner, LibraryModeMakesBlanksAndSemicolonsTokens)
{
    Scanner s;
    s.loadText("library ieee;\n");
    EXPECT_EQ(s.word(), "LIBRARY");
    V got;
    for (std::string t = s.clauseToken(); !t.empty(); t = s.clauseToken()) got.push_back(t);
    EXPECT_EQ(got, (V{" ", "IEEE", ";", " "}));
}

TEST(Scanner, LibraryModeDropsTheLineFeedThatClosesAComment)
{
    EXPECT_EQ(tokens("a -- note\nb", true), (V{"A", " ", "B"}));
}

TEST(Scanner, ClauseTokensKeepCommas)
{
    EXPECT_EQ(tokens("ieee, std;", true), (V{"IEEE", ",", " ", "STD", ";"}));
    EXPECT_EQ(tokens("a, b"), (V{"A", "B"}));  // outside clauses a comma is dropped
}

TEST(Scanner, DelimitedCommentsAreNoTokens)
{
    EXPECT_EQ(tokens("a /* b : in c; */ d"), (V{"A", "D"}));
    EXPECT_EQ(tokens("a /* b\n c */;", true), (V{"A", " ", ";"}));
    EXPECT_EQ(tokens("a /* never closed"), V{"A"});
}

TEST(Scanner, ExtendedIdentifierIsOneTokenAsWritten)
{
    EXPECT_EQ(tokens("\\a[0]\\ : x"), (V{"\\a[0]\\", ":", "X"}));
    EXPECT_EQ(tokens("\\a\\\\b\\"), V{"\\a\\\\b\\"});  // a doubled backslash stays inside
}

TEST(Scanner, DeclarationGoesOnAfterALineEndUntilItsEnd)
{
    EXPECT_EQ(typeAfter("s : in\n   std_logic_vector(1 downto 0);", 3), " std_logic_vector(1 downto 0)");
    EXPECT_EQ(typeAfter("w : integer   -- width\n   := 4;", 2), "  integer := 4");
    EXPECT_EQ(typeAfter("y : out bit\n   := '0'\n);", 3), "  bit := '0'");
    // The end of the list on the next line, after comments, ends it.
    EXPECT_EQ(typeAfter("y : out bit -- a\n  /* b */\n);", 3), "  bit ");
}

TEST(Scanner, TypeTextKeepsLiteralsWhole)
{
    EXPECT_EQ(typeAfter("n : string := \"core;0\"; m", 2), "  string := \"core;0\"");
    EXPECT_EQ(typeAfter("n : string := \"--core\" -- c\n);", 2), "  string := \"--core\" ");
    EXPECT_EQ(typeAfter("c : character := ';'; m", 2), "  character := ';'");
    EXPECT_EQ(typeAfter("c : character := '(';", 2), "  character := '('");
    // The list's ")" after a literal that holds one: only the list's is dropped.
    EXPECT_EQ(typeAfter("c : character := ')');", 2), "  character := ')'");
    EXPECT_EQ(typeAfter("n : string := \")\" );", 2), "  string := \")\" ");
    EXPECT_EQ(typeAfter("v : bit_vector(1 downto 0) := \"01\"));", 2), "  bit_vector(1 downto 0) := \"01\"");
    EXPECT_EQ(typeAfter("v : t := x'length;", 2), "  t := x'length");
}

TEST(Scanner, WordAtEndOfInputIsReturnedOnceWhole)
{
    Scanner s;
    s.loadText("entity");
    EXPECT_EQ(s.word(), "ENTITY");
    EXPECT_EQ(s.word(), "");
    EXPECT_EQ(s.word(), "");
}

TEST(Scanner, TypeTextAfterColonKeepsCaseAndStopsAtSemicolon)
{
    EXPECT_EQ(typeAfter("N : integer := 8; M", 2), "  integer := 8");
    EXPECT_EQ(typeAfter("a : in Std_Logic\n);", 3), "  Std_Logic");
}

TEST(Scanner, TypeTextDropsListClosingParen)
{
    EXPECT_EQ(typeAfter("q : out std_logic);\nend", 3), "  std_logic");
    EXPECT_EQ(typeAfter("q : out std_logic_vector(3 downto 0));", 3), "  std_logic_vector(3 downto 0)");
    EXPECT_EQ(typeAfter("n : integer := 8);", 2), "  integer := 8");
    EXPECT_EQ(typeAfter("q : out std_logic )  \n", 3), "  std_logic ");
}

TEST(Scanner, TypeTextKeepsBalancedParens)
{
    EXPECT_EQ(typeAfter("q : out std_logic_vector(3 downto 0);", 3), "  std_logic_vector(3 downto 0)");
    EXPECT_EQ(typeAfter("q : out unsigned((W*2)-1 downto 0)\n", 3), "  unsigned((W*2)-1 downto 0)");
}

// A type text's runs are read sixteen bytes at a time: runs of every length,
// with parentheses and the character that ends the run at every offset, and
// parentheses right after the end that must not count.
TEST(Scanner, TypeTextRunsOfEveryLengthReadAsWritten)
{
    for (size_t before = 0; before < 40; ++before)
        for (size_t inside = 0; inside < 20; ++inside) {
            const std::string type = std::string("t").append(before, 'x').append("(").append(inside, 'y').append(")");
            const std::string where = "type " + type;
            bool closed = false;
            Scanner s;
            s.loadText("q : out " + type + ");((((((((((((((((\nend");
            s.word(), s.word(), s.word();
            EXPECT_EQ(s.typeText(&closed), "  " + type) << where;
            EXPECT_TRUE(closed) << where;
            EXPECT_EQ(typeAfter("q : out " + type + " -- c;)\n);", 3), "  " + type + " ") << where;
            EXPECT_EQ(typeAfter("q : out " + type + " := \"a;)\" & 'b';(", 3), "  " + type + " := \"a;)\" & 'b'")
                << where;
            EXPECT_EQ(typeAfter("q : out " + type + "/* ; */;", 3), "  " + type) << where;
        }
}

TEST(Scanner, WordsOfEveryLengthAreUpperCased)
{
    // Every character a word may hold, at every place of words up to 40 long.
    const std::string characters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_.-";
    for (size_t n = 1; n <= 40; ++n)
        for (size_t from = 0; from < characters.size(); ++from) {
            std::string word = "q";
            for (size_t i = 1; i < n; ++i) word += characters[(from + i) % characters.size()];
            std::string upper = word;
            for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            ASSERT_EQ(tokens(word + " {`@["), V{upper}) << word;
            ASSERT_EQ(tokens("x : " + word), (V{"X", ":", upper})) << word;  // the colon and word read in one step
        }
}

TEST(Scanner, TypeTextSkipsTrailingComment)
{
    EXPECT_EQ(typeAfter("q : out std_logic -- result\n);", 3), "  std_logic ");
    EXPECT_EQ(typeAfter("q : out std_logic -- result; more\n", 3), "  std_logic ");
}

TEST(Scanner, TypeTextSpansLinesWhileParensAreOpen)
{
    EXPECT_EQ(typeAfter("q : out std_logic_vector(\n  7 downto 0);", 3), "  std_logic_vector(\n  7 downto 0)");
}

TEST(Scanner, TypeTextDropsCarriageReturnOfCrlf)
{
    EXPECT_EQ(typeAfter("q : out std_logic\r\n);", 3), "  std_logic");
    EXPECT_EQ(typeAfter("q : out std_logic_vector(\r\n7 downto 0);", 3), "  std_logic_vector(\n7 downto 0)");
}

TEST(Scanner, RestOfFileModeReturnsEverythingLeftOnce)
{
    Scanner s;
    s.loadText("is\n  begin\n end rtl;\n");
    EXPECT_EQ(s.word(), "IS");
    EXPECT_EQ(s.restOfFile().text, "\n  begin\n end rtl;\n");
    EXPECT_EQ(s.word(), "");
    EXPECT_EQ(s.restOfFile().text, "");
}

TEST(OutputName, DropsDirectoryAndExtension)
{
    EXPECT_EQ(velmorn::outputNameOf("counter.vhd"), "counter");
    EXPECT_EQ(velmorn::outputNameOf("dir/counter.vhd"), "counter");
    EXPECT_EQ(velmorn::outputNameOf("dir\\counter.vhd"), "counter");
    EXPECT_EQ(velmorn::outputNameOf("a.b.vhd"), "a.b");
    EXPECT_EQ(velmorn::outputNameOf("dir.x/counter"), "counter");
    EXPECT_EQ(velmorn::outputNameOf(".vhd"), "");
    EXPECT_EQ(velmorn::outputNameOf("dir/"), "");
    EXPECT_EQ(velmorn::outputNameOf("...vhd"), "..");
}

}  // namespace

namespace {

// After a port's name, the colon and the word after it read in one step give
// what two words would, and the scan goes on from the same place; where
// anything but white space stands around the colon, nothing is read.
TEST(Scanner, ColonAndWordInOneStepReadAsTwoWordsWould)
{
    struct Case {
        std::string text;
        bool oneStep;
    };
    const std::vector<Case> cases = {
        {"p : in std_logic;", true},
        {"p:OUT unsigned(3 downto 0));", true},
        {"p\t:\n\r\tinout bit_vector(1 to 2)\n);", true},
        {"p : std_logic := '0';", true},  // a type without a mode word: the same word either way
        {"p : _x;", true},
        {"p , q : in bit;", false},
        {"p -- note\n : in bit;", false},
        {"p : -- note\n in bit;", false},
        {"p /* a */ : in bit;", false},
        {"p : /* a */ in bit;", false},
        {"p : 7 downto 0;", false},
        {"p : @in bit;", false},
        {"p : \\ext\\ ;", false},
        {"p :", false},
        {"p", false},
    };
    for (const Case& c : cases) {
        Scanner twoWords, oneStep;
        twoWords.loadText(c.text);
        oneStep.loadText(c.text);
        ASSERT_EQ(twoWords.word(), oneStep.word()) << c.text;
        std::string word = "untouched";
        const bool read = oneStep.colonThenWord(word);
        EXPECT_EQ(read, c.oneStep) << c.text;
        if (read) {
            EXPECT_EQ(twoWords.word(), ":") << c.text;
            EXPECT_EQ(twoWords.word(), word) << c.text;
            EXPECT_EQ(twoWords.lastWordAsWritten(word.size()), oneStep.lastWordAsWritten(word.size())) << c.text;
        } else {
            EXPECT_EQ(word, "untouched") << c.text;
        }
        // The rest of the text reads alike.
        EXPECT_EQ(twoWords.typeText(), oneStep.typeText()) << c.text;
        for (std::string a = twoWords.word(), b = oneStep.word(); !a.empty() || !b.empty();
             a = twoWords.word(), b = oneStep.word())
            EXPECT_EQ(a, b) << c.text;
    }
}

}  // namespace
