// The output stream: generated text reaches the sink in blocks of bounded
// size, and the body goes to it as it is, without a copy.
#include <gtest/gtest.h>

#include "support/render.h"
#include "support/testing.h"

namespace {

struct Capture : velmorn::OutputSink {
    std::string text;
    std::vector<std::string_view> writes;
    void write(std::string_view block) override
    {
        text.append(block);
        writes.push_back(block);
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

TEST(Streaming, BodyReachesTheSinkWithoutACopy)
{
    const auto d = wideDesign();
    Capture c;
    {
        velmorn::VhdlOut out(c);
        velmorn::emitUnitCopy(d, "_prm1", out);
    }
    size_t bodyWrites = 0;
    for (auto w : c.writes) bodyWrites += w.data() == d.body.kept.text.data() && w.size() == d.body.kept.text.size();
    EXPECT_EQ(bodyWrites, 1u);
    EXPECT_NE(c.text.find("   I0 <= I0_prm1;\n"), std::string::npos);
    EXPECT_EQ(c.text.substr(c.text.size() - 20), "end WIDE_prm1_BEHAV;");
}

TEST(Streaming, GeneratedTextIsHandedOverInBoundedBlocks)
{
    const auto d = wideDesign();
    Capture c;
    {
        velmorn::VhdlOut out(c);
        velmorn::emitVoterWithError(d, "_vot_prm1", out);
    }
    EXPECT_GT(c.writes.size(), 2u);
    for (auto w : c.writes) EXPECT_LE(w.size(), 256u * 1024);
    EXPECT_EQ(c.text, vtest::module(velmorn::emitVoterWithError, d, "_vot_prm1", "3FU-3V").str().substr(
                          velmorn::banner("wide/modules/wide_vot_prm1.vhd", "3FU-3V").size() + d.contextClause.size() + 2));
}

}  // namespace

namespace {

TEST(Streaming, PiecesOfEveryLengthAndNumbersOfEveryWidthArriveWhole)
{
    // Each length that the stream copies in its own way (by single bytes,
    // by overlapping words, by 16-byte moves, by memcpy), one after another
    // so that a piece written past its end shows in the next one.
    std::string all, expected;
    for (size_t n = 0; n <= 70; ++n) all += std::string(n, static_cast<char>('a' + n % 26)) + "|";
    Capture sink;
    {
        velmorn::VhdlOut out(sink);
        for (size_t n = 0; n <= 70; ++n) {
            const std::string piece(n, static_cast<char>('a' + n % 26));
            if (n % 2) out << piece << "|";
            else out.put(std::string_view(piece), std::string_view("|"));
        }
        for (size_t k : {size_t{0}, size_t{7}, size_t{9}, size_t{10}, size_t{99}, size_t{12345}, size_t{18446744073709551615u}}) {
            out.put(velmorn::DerivedName{"q", "_prm", k, "_in"}, std::string_view(";"));
            expected += "q_prm" + (k ? std::to_string(k) : std::string()) + "_in;";
        }
    }
    EXPECT_EQ(sink.text, all + expected);

    // Every port number a large design numbers its names with, across each
    // change of width, as the standard library spells it.
    size_t wrong = 0;
    for (size_t k = 0; k <= 200000; ++k) {
        char text[24];
        const std::string expectedText = std::to_string(k);
        wrong += std::string_view(text, static_cast<size_t>(velmorn::placeText(text, k) - text)) != expectedText;
    }
    EXPECT_EQ(wrong, 0u);
}

}  // namespace
