// The fast body scan against the scan character by character: the same
// results on hand-made bodies at every offset of a block, on generated
// bodies, and when it takes over the prescan of the whole source; the vector
// masks against the byte-by-byte ones; the control bytes the prescan finds.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "read/body.h"
#include "read/byte_masks.h"

namespace {

using velmorn::BodyScan;
using velmorn::prescanSource;
using velmorn::scanBody;
using velmorn::scanBodyByCharacter;

std::string describe(const BodyScan& s)
{
    return "lastEnd " + (s.lastEnd == std::string::npos ? std::string("none") : std::to_string(s.lastEnd)) +
           ", unit '" + s.unitAfterBody + "'" + (s.unterminatedString ? ", unterminated string" : "") +
           (s.unterminatedComment ? ", unterminated comment" : "");
}

// The fast scan of `body`, alone and after a prescan of `head` + `body`, each
// as the scan character by character finds it.
void expectSameScans(const std::string& body, const std::string& head = "architecture a of e is")
{
    const std::string expected = describe(scanBodyByCharacter(body));
    EXPECT_EQ(describe(scanBody(body)), expected) << body.substr(0, 200);
    const std::string source = head + body;
    const velmorn::SourcePrescan p = prescanSource(source);
    EXPECT_EQ(describe(scanBody(std::string_view(source).substr(head.size()), &p)), expected) << body.substr(0, 200);
}

// Bodies that each lean on one rule of the scan.
const std::vector<std::string> kBodies = {
    "\nbegin\n q <= a;\nend rtl;\n",
    "\nbegin\n q <= a; -- end\n",                        // END in a comment only
    "\n s <= \"end\"; backend <= x; end_x <= '1';\n",    // in a literal, inside longer words
    "\n c <= '\"'; -- \"\nend;",                         // a quote as a character literal
    "\n x <= y'event; z <= 'a'end; end",                  // an attribute tick, END after a literal
    "\n /* end */ a; /*/ end */ end /* x",                // delimited comments, one never closed
    "\n /**/ end; ",                                      // the shortest delimited comment
    "\n a; /*/ end */ x;\n",                             // "/*/" opens one only
    "\n \"open\n end;",                                  // a string closed by its line end
    "\n q <= a;\nend rtl; \"never",                      // ... or by the end of the text
    "\nend rtl;\narchitecture b of e is\nbegin\nend b;", // units after the body
    "\nend;\nENTITY x -- note\n/* more */ IS",
    "\nend;\npackage body p is\nend;",
    "\nend;\nbody x is\n",                                // BODY without PACKAGE
    "\nend;\npackage -- a\n-- b\n-- c\n-- d\n-- e\n-- f\nbody p is",
    "\nend;\nconfiguration c of e is\n",
    "\nend;\ncontext c is\n",
    "\n type t is (a, b); signal s : t;\nend;\n",        // IS and OF that close no unit head
    "\nend;\n entity_x is; my_entity x is; entity 'x' is",
    "\nendendend end\tEND\rEnd\n",
    "\n-- a\n-- b\n--\n---\n- -end\n",
    "is",
    "of end",
    "end",
    "",
};

TEST(FastBodyScan, EqualsTheScanByCharacterAtEveryOffsetOfABlock)
{
    for (const std::string& body : kBodies)
        for (size_t pad = 0; pad < 70; ++pad) expectSameScans(std::string(pad, ' ') + body);
}

TEST(FastBodyScan, FindsWhatItFindsWhereTheCharacterScanDoes)
{
    // Hand-counted offsets, so that both scans being wrong the same way shows.
    EXPECT_EQ(scanBody("\nbegin\n q <= a;\nend rtl;\n").lastEnd, 16u);
    EXPECT_EQ(scanBody(" s <= \"end\"; end -- end\n").lastEnd, 13u);
    EXPECT_EQ(scanBody("\nend;\nENTITY x -- note\n/* more */ IS").unitAfterBody, "entity after the architecture");
    EXPECT_TRUE(scanBody(" x /* end").unterminatedComment);
    EXPECT_TRUE(scanBody(" \"end\n end;").unterminatedString);
    EXPECT_EQ(scanBody(" \"end\n end;").lastEnd, 7u);
}

// Lines of a body, some with the rare things mixed in at random.
std::string generatedBody(std::mt19937& random, size_t bytes, double rareShare)
{
    static const std::vector<std::string> common = {
        "   q <= a and b;\n", "   -- a comment with end and is of\n", "   s <= \"string end\";\n",
        "   c <= '1';\n",     "   x <= y'event;\n",                     "   end if;\n",
        "   type t is (a, b);\n", "   /* block\n end */\n",            "\n",
        "   backend <= ends;\n",  "   a <= b - c / d;\n"};
    static const std::vector<std::string> rare = {"entity x is\n", "architecture a of e is\n", "package body p is\n",
                                                  "\"unterminated\n", "/* never closed\n", "entity -- c\n x is\n",
                                                  "   end rtl;\n"};
    std::uniform_real_distribution<double> share(0, 1);
    std::string body;
    while (body.size() < bytes) {
        body += common[random() % common.size()];
        if (share(random) < rareShare) body += rare[random() % rare.size()];
    }
    return body + "end rtl;\n";
}

TEST(FastBodyScan, EqualsTheScanByCharacterOnGeneratedBodies)
{
    std::mt19937 random(16);
    for (int i = 0; i < 300; ++i) expectSameScans(generatedBody(random, 2000 + random() % 300000, 0.0002));
}

std::string commentLines(size_t bytes)
{
    std::string text;
    while (text.size() < bytes) text += "   -- a comment line of the body\n";
    return text + "end rtl;\n";
}

// The body scan takes the results of the prescan from its first checkpoint on.
TEST(FastBodyScan, TakesOverThePrescanOfTheWholeSource)
{
    std::mt19937 random(7);
    for (const std::string& body : {generatedBody(random, 400000, 0), commentLines(400000)}) {
        const std::string head = "architecture a of e is";
        const std::string source = head + body;
        velmorn::SourcePrescan p = prescanSource(source);
        ASSERT_GT(p.checkpoints.size(), 4u);
        const std::string_view view = std::string_view(source).substr(head.size());
        EXPECT_EQ(describe(scanBody(view, &p)), describe(scanBodyByCharacter(body)));
        // A prescan that claims another closing END: the body scan believes it.
        p.tally.lastEnd = source.size() - 2;
        EXPECT_EQ(scanBody(view, &p).lastEnd, body.size() - 2);
    }
}

// Sources of 16 MiB and more are prescanned in two halves at once; the rare
// things lie around the middle, where the halves meet.
TEST(FastBodyScan, PrescanInTwoHalvesEqualsTheScanByCharacter)
{
    std::mt19937 random(3);
    const std::string base = generatedBody(random, 17 << 20, 0);
    const std::vector<std::string> middles = {"", "entity x is\n", "\"unterminated\n", "/* not closed before\n",
                                              "-- a comment over the middle", "\x01"};
    for (const std::string& middle : middles) {
        std::string body = base;
        body.insert(body.find('\n', body.size() / 2 - 40) + 1, middle);
        const std::string source = "architecture a of e is" + body;
        const velmorn::SourcePrescan p = prescanSource(source);
        EXPECT_EQ(p.controlByte, source.find('\x01'));
        EXPECT_EQ(describe(scanBody(std::string_view(source).substr(22), &p)), describe(scanBodyByCharacter(body)))
            << "middle: " << middle;
    }
}

// Where a scan's text begins later than the other's, the two look back to
// different words until three words have passed: a unit head found there by
// one is not the other's.
TEST(FastBodyScan, UnitHeadsThatLookBackBeforeTheBodyAreNotTheBodys)
{
    std::string dashes;
    while (dashes.size() < 300000) dashes += "--\n";
    // The prescan sees "entity is" + "is", the body scan only its "is".
    expectSameScans(dashes + " is\nend;\n", "architecture a of entity is");
    expectSameScans(dashes + " of x\nend;\n", "architecture a of architecture x is");
    EXPECT_EQ(scanBodyByCharacter(dashes + " is\nend;\n").unitAfterBody, "");
}

// More literals between a unit head's words than the fast scan remembers: the
// scan by character decides, alone and after a prescan that gives up.
TEST(FastBodyScan, UnitHeadsBehindManyLiteralsAreFoundByTheCharacterScan)
{
    std::string literals;
    for (int i = 0; i < 100; ++i) literals += "\"s\" & '1' & ";
    const std::string body = "\nend;\nentity x " + literals + "is\n";
    EXPECT_EQ(scanBody(body).unitAfterBody, "entity after the architecture");
    expectSameScans(body);
    std::mt19937 random(9);
    expectSameScans(generatedBody(random, 200000, 0) + body);  // past the first checkpoints
}

TEST(FastBodyScan, UnitHeadsThatLookBackBeforeTheSecondHalfAreFound)
{
    // "entity x" ends the first half and "is" follows a megabyte of comment
    // lines around the middle: the second half's scan cannot see the entity.
    std::mt19937 random(5);
    const std::string half = generatedBody(random, 8 << 20, 0);
    std::string dashes;
    while (dashes.size() < (1 << 20)) dashes += "--\n";
    const std::string body = half + "entity x\n" + dashes + "is\n" + half;
    const std::string source = "architecture a of e is" + body;
    const velmorn::SourcePrescan p = prescanSource(source);
    const BodyScan scan = scanBody(std::string_view(source).substr(22), &p);
    EXPECT_EQ(scan.unitAfterBody, "entity after the architecture");
    EXPECT_EQ(describe(scan), describe(scanBodyByCharacter(body)));
}

TEST(Prescan, FindsTheFirstControlByteAndNoWhiteSpace)
{
    const std::string text(300000, 'x');
    for (int c = 0; c < 0x20; ++c) {
        for (size_t at : {size_t{0}, size_t{63}, size_t{64}, size_t{4095}, size_t{4096}, size_t{200001}, text.size() - 1}) {
            std::string t = text;
            t[at] = static_cast<char>(c);
            const bool control = c < '\t' || c > '\r';
            EXPECT_EQ(prescanSource(t).controlByte, control ? at : std::string::npos) << "byte " << c << " at " << at;
        }
    }
    std::string two = text;
    two[5000] = '\x1f';
    two[90000] = '\0';
    EXPECT_EQ(prescanSource(two).controlByte, 5000u);
    EXPECT_EQ(prescanSource(std::string(1000, '\x7f') + "\x80\xff").controlByte, std::string::npos);
}

// Every version that this processor runs.
TEST(ByteMasks, VectorMasksEqualTheMasksByByte)
{
    std::mt19937 random(64);
    std::string bytes(9000, ' ');
    for (auto& c : bytes) c = static_cast<char>(random());
    const std::string letters = "eEnNdDoOfFiIsS-/\"'*\n\r\t\x01";
    std::string vhdl(9000, ' ');
    for (auto& c : vhdl) c = letters[random() % letters.size()];
    for (const std::string* text : {&bytes, &vhdl}) {
        for (size_t from = 0; from < 300; from += 7) {
            for (size_t available : {size_t{1}, size_t{65}, size_t{66}, size_t{67}, size_t{130}, size_t{4096}, text->size() - from}) {
                velmorn::ChunkMasks byByte;
                const size_t blocks = velmorn::chunkMasksByByte(text->data() + from, available, byByte);
                for (const velmorn::MaskKernel& kernel : velmorn::maskKernels()) {
                    velmorn::ChunkMasks fast;
                    ASSERT_EQ(kernel.masks(text->data() + from, available, fast), blocks) << kernel.name;
                    EXPECT_EQ(fast.control, byByte.control) << kernel.name;
                    for (size_t b = 0; b < blocks; ++b) {
                        EXPECT_EQ(fast.code[b], byByte.code[b]) << kernel.name << " " << from << " " << available;
                        EXPECT_EQ(fast.newline[b], byByte.newline[b]) << kernel.name;
                    }
                }
            }
        }
    }
}

TEST(ByteMasks, EveryVersionTellsControlBytesFromAllOthers)
{
    for (const velmorn::MaskKernel& kernel : velmorn::maskKernels()) {
        for (int c = 0; c < 256; ++c) {
            for (size_t at : {size_t{0}, size_t{31}, size_t{100}, size_t{4095}}) {
                std::string text(4096 + 70, 'x');
                text[at] = static_cast<char>(c);
                velmorn::ChunkMasks m;
                kernel.masks(text.data(), text.size(), m);
                EXPECT_EQ(m.control, c < '\t' || (c > '\r' && c < 0x20)) << kernel.name << " byte " << c << " at " << at;
            }
        }
    }
}

}  // namespace
