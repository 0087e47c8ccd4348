// The fast body scan against the scan character by character: the same
// results on hand-made bodies at every offset of a block, on generated
// bodies, and when it takes over the prescan of the whole source; the vector
// masks against the byte-by-byte ones; the control bytes the prescan finds.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "read/body.h"
#include "read/byte_masks.h"
#include "support/helper_thread.h"

namespace {

using velmorn::BodyScan;
using velmorn::prescanSource;
using velmorn::scanBody;
using velmorn::scanBodyByCharacter;

std::string describe(const BodyScan& s)
{
    auto offset = [](size_t at) { return at == std::string::npos ? std::string("none") : std::to_string(at); };
    std::string d = "lastEnd " + offset(s.lastEnd) + ", unit '" + s.unitAfterBody + "'" +
                    (s.unterminatedString ? ", unterminated string" : "") +
                    (s.unterminatedComment ? ", unterminated comment" : "") + ", names the architecture at " +
                    offset(s.namesArchitecture) + ", uses";
    for (const std::string& u : s.usedUnits) d += " " + u;
    return d;
}

// The fast scan of `body` (of the architecture RTL), alone and after a
// prescan of `head` + `body`, each as the scan character by character finds it.
void expectSameScans(const std::string& body, const std::string& head = "architecture rtl of e is")
{
    const std::string expected = describe(scanBodyByCharacter(body, "RTL"));
    EXPECT_EQ(describe(scanBody(body, "RTL")), expected) << body.substr(0, 200);
    const std::string source = head + body;
    const velmorn::SourcePrescan p = prescanSource(source);
    EXPECT_EQ(describe(scanBody(std::string_view(source).substr(head.size()), "RTL", &p)), expected)
        << body.substr(0, 200);
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
    // the architecture's name before ": architecture", or not quite
    "\n attribute keep of rtl : architecture is \"yes\";\nend;",
    "\n attribute keep of RTL:architecture is 1; attribute k of other : architecture is 2;\nend;",
    "\n attribute k of rtl -- c\n : architecture is 1;\nend;",  // a comment between
    "\n -- rtl\n : architecture\nend;",                          // the name in a comment
    "\n rtl :: architecture; rtl architecture; \"rtl\" : architecture; rtl_x : architecture\nend;",
    "rtl : architecture",
    // packages inside the architecture, before its BEGIN
    "\n package p is\n constant c : integer := 1;\n end package p;\nbegin\nend rtl;\n",
    "\n package body p is\n end;\nbegin\nend;\npackage q is\n",
    "\n beginning; package p is end; begin_x; begin\n end; package body q is",
    // entities and components the body uses
    "\nbegin\n u1 : entity work.timer_cmp port map (a => b);\n u2 : entity timer generic map (1) port map (x);\nend;",
    "\n component adder is port (a : in bit); end component;\n component sub\n port(a: in bit); end component sub;\n"
    "begin\n u3 : adder port map (a => s);\n u4: sub\n generic map (W => 1)\n port map (a);\n u5 : -- c\n sub port map (a);\nend;",
    "\n entity -- c\n /* x */ \"s\" 'q' work . lib.x is\nend;",  // what comes between ENTITY and the name
    "\n end entity; end component; entity is; component is;\n end\n entity\n x;",
    " : c port map (a); u : : c port map; u : c port\n -- c\n map; (u) : c port map; u : map port map",
    "\nend;\narchitecture component of e is",                     // COMPONENT, then a unit head
    "\n u : entity work.", "\n u : entity work.x", "\n component", "\n x : y port map",
};

TEST(FastBodyScan, EqualsTheScanByCharacterAtEveryOffsetOfABlock)
{
    for (const std::string& body : kBodies)
        for (size_t pad = 0; pad < 70; ++pad) expectSameScans(std::string(pad, ' ') + body);
}

TEST(FastBodyScan, FindsWhatItFindsWhereTheCharacterScanDoes)
{
    const std::string uses =
        "\n attribute keep_hierarchy of rtl : architecture is \"yes\";\n u1 : entity work.timer_cmp port map (a => b);\n"
        " component adder\n  port (a : in bit);\n end component;\nbegin\n u2 : adder port map (a => s);\nend rtl;\n";
    EXPECT_EQ(scanBody(uses, "RTL").namesArchitecture, 36u);
    EXPECT_EQ(scanBody(uses, "OTHER").namesArchitecture, std::string::npos);
    EXPECT_EQ(scanBody(uses).usedUnits, (std::vector<std::string>{"TIMER_CMP", "ADDER", "ADDER"}));
    EXPECT_EQ(scanBody("\n package p is\n end package;\nbegin\nend rtl;\n").unitAfterBody, "");
    EXPECT_EQ(scanBody("\nbegin\nend rtl;\npackage p is\n").unitAfterBody, "package after the architecture");
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
        "   backend <= ends;\n",  "   a <= b - c / d;\n",
        "   u : entity work.timer port map (a => b);\n", "   component adder is end component;\n",
        "   v: adder generic map (4)\n      port map (s);\n", "   attribute k of rtl : architecture is \"yes\";\n"};
    static const std::vector<std::string> rare = {"entity x is\n", "architecture a of e is\n", "package body p is\n",
                                                  "\"unterminated\n", "/* never closed\n", "entity -- c\n x is\n",
                                                  "   end rtl;\n", "begin\n", "package p is\n", "component\n"};
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

std::string commentLines(size_t bytes, const std::string& tail = "")
{
    std::string text;
    while (text.size() < bytes) text += "   -- a comment line of the body\n";
    return text + tail + "end rtl;\n";
}

// The body scan takes the results of the prescan from its first checkpoint on.
TEST(FastBodyScan, TakesOverThePrescanOfTheWholeSource)
{
    std::mt19937 random(7);
    const std::string uses = "   attribute k of rtl : architecture is 1;\n   u : entity work.timer port map (a);\n";
    for (const std::string& body : {generatedBody(random, 400000, 0), commentLines(400000, uses)}) {
        const std::string head = "architecture rtl of e is";
        const std::string source = head + body;
        velmorn::SourcePrescan p = prescanSource(source);
        ASSERT_GT(p.checkpoints.size(), 4u);
        const std::string_view view = std::string_view(source).substr(head.size());
        EXPECT_EQ(describe(scanBody(view, "RTL", &p)), describe(scanBodyByCharacter(body, "RTL")));
        // A prescan that claims another closing END, another last unit used
        // and no attribute of the architecture after the checkpoints: the
        // body scan believes it.
        p.tally.lastEnd = source.size() - 2;
        p.usedUnits.back() = "fake";
        EXPECT_EQ(scanBody(view, "RTL", &p).lastEnd, body.size() - 2);
        EXPECT_EQ(scanBody(view, "RTL", &p).usedUnits.back(), "FAKE");
        p.architectureNames.back().name = "other";
        if (p.architectureNames.size() == 1) {
            EXPECT_EQ(scanBody(view, "RTL", &p).namesArchitecture, std::string::npos);
        }
    }
}

// A package head before the body's first BEGIN declares a package inside the
// architecture, after it a unit after the architecture; the prescan, which
// may have seen a BEGIN before the body, keeps both for the body scan.
TEST(FastBodyScan, PackageHeadsCountAfterTheFirstBeginOfTheBodyAfterAJoinToo)
{
    const std::string package = "   package p is\n   end package;\n";
    const std::vector<std::string> bodies = {
        commentLines(200000, package + commentLines(100000, "begin\n")),
        commentLines(200000, package + commentLines(100000, "begin\n")) + package,
        commentLines(200000, "begin\n" + package),
        commentLines(100000, "begin\n" + commentLines(100000, "package body q is\n")),
        commentLines(100000, "begin\n" + commentLines(100000, "")) + "package body q is\n",
    };
    const std::vector<std::string> found = {"", "package after the architecture", "package after the architecture",
                                            "package after the architecture", "package after the architecture"};
    for (size_t i = 0; i < bodies.size(); ++i) {
        EXPECT_EQ(scanBodyByCharacter(bodies[i]).unitAfterBody, found[i]) << i;
        expectSameScans(bodies[i]);
        expectSameScans(bodies[i], "entity e is\nbegin\n assert true;\nend;\narchitecture rtl of e is");
    }
}

// The rare things of a body, put where the two parts of a prescan meet.
const std::vector<std::string>& rareThingsWherePartsMeet()
{
    static const std::vector<std::string> things = {"",
                                                    "entity x is\n",
                                                    "\"unterminated\n",
                                                    "/* not closed before\n",
                                                    "-- a comment over the meeting point",
                                                    "\x01",
                                                    "u1 : entity work.counter port map (a);\n",
                                                    "attribute k of rtl : architecture is 1;\n",
                                                    "package p is\n",
                                                    "begin\npackage p is\n",
                                                    "component\n"};
    return things;
}

// Sources of 16 MiB and more are prescanned in two halves at once; the rare
// things lie around the middle, where the halves meet.
TEST(FastBodyScan, PrescanInTwoHalvesEqualsTheScanByCharacter)
{
    std::mt19937 random(3);
    const std::string base = generatedBody(random, 17 << 20, 0);
    for (const std::string& middle : rareThingsWherePartsMeet()) {
        std::string body = base;
        body.insert(body.find('\n', body.size() / 2 - 40) + 1, middle);
        const std::string source = "architecture a of e is" + body;
        const std::string expected = describe(scanBodyByCharacter(body, "RTL"));
        // The second half on a thread of its own, and on a run's helper.
        for (const bool helped : {false, true}) {
            std::optional<velmorn::HelperThread::Scope> helper;
            if (helped) helper.emplace();
            const velmorn::SourcePrescan p = prescanSource(source);
            EXPECT_EQ(p.controlByte, source.find('\x01'));
            EXPECT_EQ(describe(scanBody(std::string_view(source).substr(22), "RTL", &p)), expected)
                << "middle: " << middle << (helped ? ", helper" : "");
        }
    }
    // A unit head well inside the second half: the units used up to it come
    // from both halves.
    std::string body = base;
    body.insert(body.find('\n', body.size() / 4 * 3) + 1, "begin\npackage p is\n");
    const std::string source = "architecture a of e is" + body;
    const velmorn::SourcePrescan p = prescanSource(source);
    const BodyScan scan = scanBody(std::string_view(source).substr(22), "RTL", &p);
    EXPECT_EQ(scan.unitAfterBody, "package after the architecture");
    EXPECT_EQ(describe(scan), describe(scanBodyByCharacter(body, "RTL")));
}

// The first part's scan of a prescan in two parts took over the second's
// results soon after `share` of the text, where the second part began.
void expectJoinedAfter(const velmorn::SourcePrescan& p, double share)
{
    const auto split = static_cast<size_t>(static_cast<double>(p.text.size()) * share);
    ASSERT_NE(p.joinedAt, std::string::npos) << "share " << share;
    EXPECT_GE(p.joinedAt + 64, split) << "share " << share;
    EXPECT_LT(p.joinedAt, split + (1u << 20)) << "share " << share;
}

// The prescan's first part may be any share of the source (the faster
// thread's is the larger): where the parts meet, the rare things give the
// same results as the scan character by character; a share beyond the bounds
// is taken as the bound.
TEST(FastBodyScan, PrescanSplitAnywhereEqualsTheScanByCharacter)
{
    std::mt19937 random(5);
    const std::string base = generatedBody(random, 17 << 20, 0);
    const velmorn::HelperThread::Scope helper;
    for (const double share : {0.25, 0.4, 0.75}) {
        for (const std::string& meet : rareThingsWherePartsMeet()) {
            std::string body = base;
            const size_t at = static_cast<size_t>(static_cast<double>(body.size()) * share);
            body.insert(body.find('\n', at - 40) + 1, meet);
            const std::string source = "architecture a of e is" + body;
            const velmorn::SourcePrescan p = prescanSource(source, share);
            EXPECT_EQ(p.controlByte, source.find('\x01'));
            if (meet != "\x01") expectJoinedAfter(p, share);
            EXPECT_EQ(describe(scanBody(std::string_view(source).substr(22), "RTL", &p)),
                      describe(scanBodyByCharacter(body, "RTL")))
                << "share " << share << ", at the meeting point: " << meet;
        }
    }
    // Shares beyond a quarter and three quarters are taken as those.
    const std::string source = "architecture a of e is" + base;
    const std::string expected = describe(scanBody(std::string_view(source).substr(22), "RTL", nullptr));
    for (const double share : {0.0, 0.05, 0.95, 1.0}) {
        const velmorn::SourcePrescan p = prescanSource(source, share);
        expectJoinedAfter(p, share < 0.5 ? 0.25 : 0.75);
        EXPECT_EQ(describe(scanBody(std::string_view(source).substr(22), "RTL", &p)), expected) << share;
    }
}

// Where a scan's text begins later than the other's, the two look back to
// different words until three words have passed: what a rule finds there by
// one is not the other's.
TEST(FastBodyScan, RulesThatLookBackBeforeTheBodyAreNotTheBodys)
{
    std::string dashes;
    while (dashes.size() < 300000) dashes += "--\n";
    // The prescan sees "entity is" + "is", the body scan only its "is".
    expectSameScans(dashes + " is\nend;\n", "architecture a of entity is");
    expectSameScans(dashes + " of x\nend;\n", "architecture a of architecture x is");
    EXPECT_EQ(scanBodyByCharacter(dashes + " is\nend;\n").unitAfterBody, "");
    // The same for the label and unit of an instance, END before ENTITY and
    // the architecture's name; blanks, so that only the words differ.
    const std::string blanks(300000, ' ');
    expectSameScans(blanks + " map (a);\nend;\n", "u : c port");
    expectSameScans(blanks + ": c port map (a);\nend;\n", "u");
    expectSameScans(blanks + " entity x;\nend;\n", "end");
    expectSameScans(blanks + " x;\nend;\n", "component");
    expectSameScans(blanks + ": architecture is 1;\nend;\n", "rtl");
    EXPECT_EQ(scanBodyByCharacter(blanks + " map (a);\nend;\n").usedUnits.size(), 0u);
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
    const BodyScan scan = scanBody(std::string_view(source).substr(22), {}, &p);
    EXPECT_EQ(scan.unitAfterBody, "entity after the architecture");
    EXPECT_EQ(describe(scan), describe(scanBodyByCharacter(body)));
}

TEST(FastBodyScan, RulesThatLookBackBeforeTheSecondHalfAreFound)
{
    // An instance, an ENTITY and an attribute whose words lie on both sides
    // of a megabyte of comment lines around the middle.
    std::mt19937 random(6);
    const std::string half = generatedBody(random, 8 << 20, 0);
    std::string dashes;
    while (dashes.size() < (1 << 20)) dashes += "--\n";
    for (const std::string& across : {"u1 : timer port\n" + dashes + " map (a);\n", "entity\n" + dashes + " work.counter;\n",
                                      "rtl\n" + std::string(1 << 20, '\n') + ": architecture is 1;\n"}) {
        const std::string body = half + across + half;
        const std::string source = "architecture rtl of e is" + body;
        const velmorn::SourcePrescan p = prescanSource(source);
        EXPECT_EQ(describe(scanBody(std::string_view(source).substr(24), "RTL", &p)),
                  describe(scanBodyByCharacter(body, "RTL")));
    }
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
    // With bytes from 0x80 on (UTF-8 text in comments and strings), which no
    // rule takes for a letter, after every letter and special character.
    const std::string letters = "eEnNdDtToOfFiIsSbBgGcCmMaApPrR-/\"'*\n\r\t\x01\xc3\xa9\xee\xe4";
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

namespace {

// The keyword's offset as a plain search finds it: before the first of the
// two spellings of "rchitecture".
size_t keywordByFind(const std::string& text)
{
    const size_t found = std::min(text.find("rchitecture"), text.find("RCHITECTURE"));
    return found == std::string::npos ? found : found == 0 ? 0 : found - 1;
}

}  // namespace

TEST(ArchitectureKeyword, FoundWhereAPlainSearchFindsItAtEveryOffsetAndLength)
{
    // Near misses in every case, and texts with an R and an E ten bytes apart.
    const std::vector<std::string> words = {"architecture", "ARCHITECTURE", "Architecture", "aRchitecture",
                                            "architecturE", "ArChItEcTuRe", "rchitectur", "RCHITECTUR e",
                                            "rrrrrrrrrreeeeeeeeee"};
    std::mt19937 random(7);
    const std::string filler = "rReEcChH _\n;(";
    for (size_t length = 0; length < 90; ++length) {
        for (size_t round = 0; round < 8; ++round) {
            std::string text;
            for (size_t i = 0; i < length; ++i) text += filler[random() % filler.size()];
            ASSERT_EQ(velmorn::architectureKeyword(text), keywordByFind(text)) << "'" << text << "'";
            for (const std::string& word : words) {
                for (size_t at = 0; at <= length; at += 1 + round) {
                    std::string planted = text;
                    planted.insert(at, word);
                    ASSERT_EQ(velmorn::architectureKeyword(planted), keywordByFind(planted)) << "'" << planted << "'";
                }
            }
        }
    }
    const std::string late = std::string(100000, 'r') + std::string(9, 'e') + "Architecture is";
    EXPECT_EQ(velmorn::architectureKeyword(late), 100009u);
    EXPECT_EQ(velmorn::architectureKeyword(std::string(100000, 'e')), std::string::npos);
}
