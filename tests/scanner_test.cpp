// Token sequences of the scanner: text in, the exact tokens out.
#include <gtest/gtest.h>

#include "lex/lex.h"

namespace {

using velmorn::Scanner;

std::vector<std::string> tokens(const std::string& text, int library = 0)
{
    Scanner s;
    s.initFromText(text);
    s.knihovna = s.strednik = library;
    std::vector<std::string> out;
    for (std::string t = s.lex(); !t.empty(); t = s.lex()) out.push_back(t);
    return out;
}

using V = std::vector<std::string>;

TEST(Scanner, WordsAreUpperCasedAndKeepDotsAndHyphens)
{
    EXPECT_EQ(tokens("ieee.std_logic_1164.all"), V{"IEEE.STD_LOGIC_1164.ALL"});
    EXPECT_EQ(tokens("a--b"), V{"A--B"});
    EXPECT_EQ(tokens("_x abc123"), (V{"_X", "ABC123"}));
}

}  // namespace
