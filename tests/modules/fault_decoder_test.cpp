// The fault decoder.
#include <gtest/gtest.h>

#include "support/examples.h"
#include "support/render.h"

namespace {

using vtest::DesignBuilder;

TEST(FaultDecoder, CounterWholeFile)
{
    const auto t = vtest::module(velmorn::emitFaultDecoder, vtest::cntDesign(), "_fdec_prm", "3FU-3V");
    EXPECT_EQ(t.path(), "cnt/modules/cnt_fdec_prm.vhd");
    EXPECT_GOLDEN(t.str(), "modules/fault_decoder_counter.vhd");
}

// One OUT port, no generics: the OR chains have a single operand; IN ports
// never appear, an INOUT drive is compared after the outputs.
TEST(FaultDecoder, OneOutputNoGenerics)
{
    const auto d = DesignBuilder("AND2", "and2").in("XIN").inout("XIO").out("Q").build();
    const std::string s = vtest::module(velmorn::emitFaultDecoder, d, "_fdec_prm", "3FU-3V").str();
    EXPECT_NE(s.find("entity AND2_fdec_prm is\n   port(\n      Q_fdec_prm1_in : IN  std_logic;\n"), std::string::npos);
    EXPECT_EQ(s.find("generic"), std::string::npos);
    EXPECT_EQ(s.find("XIN"), std::string::npos);
    EXPECT_NE(s.find("\n   cmp13_sig <= Q_fdec_prm1_siga or XIO_fdec_prm2_siga;\n\n"), std::string::npos) << s;
    EXPECT_NE(s.find("\n   cmp23_sig <= Q_fdec_prm1_sigb or XIO_fdec_prm2_sigb;\n\n  err3_sig"), std::string::npos);
    const auto outOnly = DesignBuilder("AND2", "and2").in("XIN").out("Q").build();
    const std::string t = vtest::module(velmorn::emitFaultDecoder, outOnly, "_fdec_prm", "3FU-3V").str();
    EXPECT_NE(t.find("\n   cmp13_sig <= Q_fdec_prm1_siga;\n\n"), std::string::npos);
}

}  // namespace
