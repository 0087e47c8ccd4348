// What --keep adds to a tree, in memory: the attributes on every instance
// label of the tops and checked units, before their begin, and nothing else;
// the Yosys script (whose names GHDL's synthesis and Yosys check in
// e2e/keep_synthesis_test.cpp); the unit names that the attributes'
// declarations would clash with.
#include <gtest/gtest.h>

#include <regex>

#include "support/examples.h"
#include "support/render.h"
#include "vhdl/keep.h"

namespace {

using vtest::DesignBuilder;

const velmorn::GenerationOptions kKeep{true};

// A gate without generics, with the names of tests/designs/andor.vhd.
velmorn::Design andorDesign()
{
    return DesignBuilder("ANDOR", "andor").in("A").in("B").in("C").out("Y").body("begin\n   Y <= (A and B) or C;\n").build();
}

// The labels of the instances in a file: "<label> : <entity>" followed by a
// generic or port map.
std::vector<std::string> instanceLabels(const std::string& text)
{
    const std::regex instance("(^|\n)([A-Za-z0-9_]+) : [A-Za-z0-9_]+\n   (generic|port) map\\(");
    std::vector<std::string> labels;
    for (std::sregex_iterator m(text.begin(), text.end(), instance), end; m != end; ++m) labels.push_back((*m)[2]);
    return labels;
}

TEST(KeepAttributes, TmrTopWholeFile)
{
    const auto t = vtest::top(velmorn::emitTmrTop, vtest::cntDesign(), velmorn::TmrTopNames{"_prm", "_voter"}, "_tmr",
                              "TMR", kKeep);
    EXPECT_GOLDEN(t.str(), "keep/tmr_counter_keep.vhd");
}

TEST(KeepAttributes, CheckedUnitWholeFile)
{
    const auto t = vtest::checkedUnit(vtest::cntDesign(), {"_fu1", "_ch", "_prm1"}, "TMR+3CH", kKeep);
    EXPECT_GOLDEN(t.str(), "keep/checked_unit_counter_suffixed_keep.vhd");
}

// Every architecture: each file with instances declares the two attributes
// once and sets both on each of its labels, in a block just before its begin;
// taking that block out gives the file without --keep. Files without
// instances, and the console, are the same as without --keep.
TEST(KeepAttributes, EveryInstanceOfEveryArchitectureIsKept)
{
    for (const velmorn::Design& d : {vtest::cntDesign(), andorDesign()})
        for (const velmorn::Architecture& a : velmorn::architectures()) {
            SCOPED_TRACE(d.entityName + " " + std::string(a.flag));
            const vtest::PlanOutput plain = vtest::runPlan(d, a), kept = vtest::runPlan(d, a, kKeep);
            ASSERT_TRUE(plain.ok && kept.ok);
            EXPECT_EQ(kept.console, plain.console);
            // The one file more is the script, written last.
            EXPECT_EQ(kept.writer.files.size(), plain.writer.files.size() + 1);
            EXPECT_EQ(kept.writer.order.back(), d.outputName + "/" + d.outputName + "_keep.ys");
            int filesWithInstances = 0;
            for (const auto& [path, text] : plain.writer.files) {
                SCOPED_TRACE(path);
                ASSERT_EQ(kept.writer.files.count(path), 1u);
                const std::string& keptText = kept.writer.files.at(path);
                const std::vector<std::string> labels = instanceLabels(plain.writer.files.at(path));
                if (labels.empty()) {
                    EXPECT_EQ(keptText, text);
                    continue;
                }
                ++filesWithInstances;
                EXPECT_EQ(instanceLabels(keptText), labels);
                std::string block = "\n-- velmorn --keep: synthesis keeps every instance of this file as written\n"
                                    "attribute keep_hierarchy : string;\nattribute DONT_TOUCH : string;\n";
                for (const std::string& l : labels)
                    block += "attribute keep_hierarchy of " + l + " : label is \"yes\";\nattribute DONT_TOUCH of " + l +
                             " : label is \"true\";\n";
                const size_t begin = text.find("\nbegin\n");
                ASSERT_NE(begin, std::string::npos);
                EXPECT_EQ(keptText, text.substr(0, begin) + block + text.substr(begin));
            }
            // The top level, and each checked unit.
            EXPECT_GE(filesWithInstances, 1);
        }
}

// The script names every module below the top (and the checker) in GHDL's
// lower case, with "_*" for the generics' values that GHDL appends.
TEST(KeepScript, WholeScripts)
{
    const auto tmr3 = vtest::runPlan(vtest::cntDesign(), *velmorn::findArchitecture("-tmr3"), kKeep);
    EXPECT_GOLDEN(tmr3.writer.files.at("cnt/cnt_keep.ys"), "keep/cnt_tmr3ch_keep.ys");
    const auto tmr = vtest::runPlan(andorDesign(), *velmorn::findArchitecture("-tmr0"), kKeep);
    EXPECT_GOLDEN(tmr.writer.files.at("andor/andor_keep.ys"), "keep/andor_tmr_keep.ys");
}

// The top level and the FU+CH module keep the unit's port and generic names
// in the region where the attributes are declared.
TEST(KeepClash, PortsAndGenericsNamedLikeTheDeclarations)
{
    EXPECT_EQ(velmorn::keepClash(vtest::cntDesign()), "");
    EXPECT_EQ(velmorn::keepClash(DesignBuilder("U").in("KEEP").out("HIERARCHY").out("TOUCH").build()), "");
    EXPECT_EQ(velmorn::keepClash(DesignBuilder("U").in("A").out("KEEP_HIERARCHY").build()), "port KEEP_HIERARCHY");
    EXPECT_EQ(velmorn::keepClash(DesignBuilder("U").inout("Dont_Touch").out("Q").build()), "port Dont_Touch");
    EXPECT_EQ(velmorn::keepClash(DesignBuilder("U").in("STRING").out("Q").build()), "port STRING");
    EXPECT_EQ(velmorn::keepClash(DesignBuilder("U").generic("DONT_TOUCH", " boolean := true").out("Q").build()),
              "generic DONT_TOUCH");
}

}  // namespace
