// The checks before generation on a unit large enough for the dry run to go
// two files at a time: the ports' types, checked beside the files, are
// reported before any clash, the first such port in the lists' order.
#include <gtest/gtest.h>

#include <sstream>

#include "arch/architectures.h"
#include "arch/checks.h"
#include "support/testing.h"

namespace {

// 2,000 inputs and outputs; `unconstrainedInput` and `unconstrainedOutput`
// (-1: none) give those ports an open std_logic_vector; `twice` declares
// input I7 a second time.
velmorn::Design unit(int unconstrainedInput, int unconstrainedOutput, bool twice)
{
    vtest::DesignBuilder b("WIDE", "wide");
    for (int i = 0; i < 1000; ++i) {
        const std::string n = std::to_string(i);
        b.in("I" + n, i == unconstrainedInput ? "  std_logic_vector" : "  std_logic");
        b.out("Q" + n, i == unconstrainedOutput ? "  unsigned" : "  std_logic_vector(3 downto 0)");
    }
    if (twice) b.in("I7");
    b.body("begin\nend architecture;\n");
    return b.build();
}

std::string verdict(const velmorn::Design& d, const velmorn::Architecture& a)
{
    std::ostringstream console, warnings;
    velmorn::Diagnostics diag(console, warnings);
    return velmorn::checkDesign(d, a, diag) ? "accepted" : console.str();
}

TEST(Checks, AnOpenTypeIsReportedBeforeAClashTheFirstPortInTheListsOrder)
{
    const std::string open = " has the unconstrained type ";
    for (const velmorn::Architecture& a : velmorn::architectures()) {
        EXPECT_EQ(verdict(unit(-1, -1, false), a), "accepted") << a.flag;
        const std::string clash = verdict(unit(-1, -1, true), a);
        EXPECT_NE(clash.find("I7"), std::string::npos) << a.flag << ": " << clash;
        EXPECT_EQ(clash.find(open), std::string::npos) << a.flag << ": " << clash;
        EXPECT_EQ(verdict(unit(900, -1, true), a),
                  "Port I900 of entity WIDE" + open + "std_logic_vector - constrain it, or give its width as a generic !\n")
            << a.flag;
        // The inputs come first, wherever the output stands.
        EXPECT_EQ(verdict(unit(950, 3, false), a).substr(0, 10), "Port I950 ") << a.flag;
        EXPECT_EQ(verdict(unit(-1, 998, false), a).substr(0, 10), "Port Q998 ") << a.flag;
    }
}

}  // namespace
