// The log of declared names that finds a name declared twice in one file
// before anything is written.
#include "vhdl/declarations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmorn {
namespace {

// Logs the names of each file, in order; true when a file declared one twice.
bool clashIn(const std::vector<std::vector<std::string>>& files)
{
    DeclarationLog log(false);
    for (const auto& names : files) {
        log.beginFile("f.vhd");
        for (const std::string& name : names) log.add(DeclarationKind::Signal, DerivedName{name});
    }
    return log.clashSeen();
}

std::vector<std::string> numbered(const std::string& stem, size_t count)
{
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i) names.push_back(stem + std::to_string(i));
    return names;
}

TEST(DeclarationLog, ANameTwiceInOneFileIsAClashInAnyCaseAndSplit)
{
    EXPECT_TRUE(clashIn({{"A_prm1", "b", "a_PRM1"}}));
    EXPECT_FALSE(clashIn({{"A_prm1", "A_prm2", "A_prm"}}));
    // The last name of a file counts in its own file, not in the next.
    EXPECT_FALSE(clashIn({{"p", "q"}, {"Q"}}));
    EXPECT_TRUE(clashIn({{"p", "q", "Q"}, {"r"}}));
    // Names longer than most, hashed where they are put together.
    const std::string longName(300, 'x');
    EXPECT_TRUE(clashIn({{longName, "y", longName}}));
    EXPECT_FALSE(clashIn({{longName, longName.substr(1), "y"}, {longName}}));

    // The same text from other parts: base, suffix, number and ending.
    DeclarationLog log(false);
    log.beginFile("f.vhd");
    log.add(DeclarationKind::Port, DerivedName{"Q", "_voter", 1, "_in"});
    EXPECT_FALSE(log.clashSeen());
    log.add(DeclarationKind::Signal, DerivedName{"q_VOTER1_IN"});
    EXPECT_TRUE(log.clashSeen());
}

TEST(DeclarationLog, FilesAreRegionsOfTheirOwnAtEverySize)
{
    // Thousands of names, so that the table grows in the first file and the
    // later files find the slots of the earlier ones filled.
    const auto many = numbered("p", 5000);
    EXPECT_FALSE(clashIn({many, many, many}));
    EXPECT_FALSE(clashIn({numbered("x", 3), many, numbered("x", 3)}));

    auto twice = numbered("p", 4000);
    twice.push_back("P3999");
    EXPECT_TRUE(clashIn({many, many, twice}));
    EXPECT_TRUE(clashIn({many, {"s", "S"}}));
}

TEST(DeclarationLog, LargeFilesAndFileAfterFile)
{
    // A clash among a hundred thousand names, whichever file it is in, and
    // the names of the file before never taken for the next.
    const auto huge = numbered("q_", 100000);
    auto hugeTwice = huge;
    hugeTwice.push_back("Q_12345");
    EXPECT_FALSE(clashIn({huge, huge}));
    EXPECT_TRUE(clashIn({hugeTwice}));
    EXPECT_TRUE(clashIn({huge, hugeTwice}));
    EXPECT_TRUE(clashIn({hugeTwice, huge}));

    // Tens of thousands of files in one log: no name of an earlier file
    // counts in a later one.
    DeclarationLog log(false);
    for (int file = 0; file < 70000; ++file) {
        log.beginFile("f.vhd");
        log.add(DeclarationKind::Signal, DerivedName{"s", "", static_cast<size_t>(file % 3)});
        log.add(DeclarationKind::Signal, DerivedName{"t"});
    }
    EXPECT_FALSE(log.clashSeen());
    log.add(DeclarationKind::Signal, DerivedName{"T"});
    EXPECT_TRUE(log.clashSeen());
    EXPECT_EQ(log.endFile().clashSeen, true);
}

TEST(DeclarationLog, ATextIsTheSameNameFromPartsSplitAnywhere)
{
    // Every length to 40 and every split into base, suffix and ending: the
    // parts give the name that the whole text gives, and no other.
    const std::string letters = "abcdefghijklmnopqrstuvwxyz_0123456789ABCD";
    for (size_t length = 1; length <= 40; ++length) {
        const std::string whole = letters.substr(0, length);
        std::string other = whole;
        other[length / 2] = other[length / 2] == 'x' ? 'y' : 'x';
        for (size_t a = 0; a <= length; ++a)
            for (size_t b = a; b <= length; ++b) {
                const std::string_view w(whole);
                const DerivedName parts{w.substr(0, a), w.substr(a, b - a), 0, w.substr(b)};
                for (const bool same : {true, false}) {
                    DeclarationLog log(false);
                    log.beginFile("f.vhd");
                    log.add(DeclarationKind::Signal, DerivedName{same ? whole : other});
                    log.add(DeclarationKind::Port, parts);
                    EXPECT_EQ(log.clashSeen(), same) << whole << " split at " << a << " and " << b;
                }
            }
    }
}

TEST(DeclarationLog, LongNamesAreComparedWhole)
{
    const std::string longName(1000, 'a');
    EXPECT_FALSE(clashIn({{longName + "1", longName + "2", longName}}));
    EXPECT_TRUE(clashIn({{longName + "1", "b", longName + "1"}}));
}

TEST(DeclarationLog, KeptNamesSayWhichFileDeclaredThem)
{
    DeclarationLog log(true);
    log.beginFile("a.vhd");
    log.add(DeclarationKind::Entity, DerivedName{"unit", "_prm", 1});
    log.add(DeclarationKind::Port, DerivedName{"clk"});
    log.beginFile("b.vhd");
    log.add(DeclarationKind::Port, DerivedName{"clk"});
    EXPECT_FALSE(log.clashSeen());
    ASSERT_EQ(log.files.size(), 2u);
    EXPECT_EQ(log.files[0].path, "a.vhd");
    ASSERT_EQ(log.files[0].names.size(), 2u);
    EXPECT_EQ(log.files[0].names[0].name, "unit_prm1");
    EXPECT_EQ(log.files[1].names.size(), 1u);
    EXPECT_EQ(log.entities(), std::vector<std::string>{"unit_prm1"});
}

}  // namespace
}  // namespace velmorn
