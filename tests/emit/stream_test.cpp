// Streaming: inside a StreamScope a file's text reaches the stream in blocks
// as it is generated, and the blocks plus what is left make the same text.
#include <gtest/gtest.h>

#include "components/components.h"
#include "emit/modul.h"
#include "support/testing.h"

namespace {

struct Capture : velmorn::TextStream {
    std::vector<std::string> paths;
    std::string text;
    size_t writes = 0;
    void begin(const std::string& path) override { paths.push_back(path); }
    void write(std::string_view block) override
    {
        text.append(block);
        ++writes;
    }
};

velmorn::Design wideDesign()
{
    vtest::DesignBuilder b("WIDE", "wide");
    b.generic("W", "  integer := 4");
    for (int i = 0; i < 4000; ++i) {
        const std::string n = std::to_string(i);
        b.in(std::string(1, 'I').append(n)).out(std::string(1, 'O').append(n), "  std_logic_vector(W-1 downto 0)");
    }
    b.body(std::string(300000, 'x') + "\n");
    return b.build();
}

TEST(Streaming, BlocksAndRestEqualTheWholeText)
{
    const auto d = wideDesign();
    const std::string whole = velmorn::GenerateModul(d, "_prm1", "TMR").str();
    const std::string voter = velmorn::GenerateVoterWithErr(d, "_vot_prm1", "3FU-3V").str();

    Capture c;
    velmorn::StreamScope scope(c);
    auto t = velmorn::GenerateModul(d, "_prm1", "TMR");
    EXPECT_EQ(c.paths, std::vector<std::string>{"wide/modules/wide_prm1.vhd"});
    EXPECT_GT(c.writes, 2u);
    EXPECT_LT(t.size(), 600u * 1024);  // only the tail is held
    EXPECT_EQ(c.text + t.str(), whole);

    c.text.clear();
    auto v = velmorn::GenerateVoterWithErr(d, "_vot_prm1", "3FU-3V");
    EXPECT_EQ(c.text + v.str(), voter);
}

TEST(Streaming, OutsideAScopeTheWholeTextIsKept)
{
    const auto d = wideDesign();
    auto t = velmorn::GenerateModul(d, "_prm1", "TMR");
    EXPECT_EQ(t.size(), t.str().size());
    EXPECT_GT(t.size(), 300000u);
    EXPECT_NE(t.str().find("end WIDE_prm1_BEHAV;"), std::string::npos);
}

}  // namespace
