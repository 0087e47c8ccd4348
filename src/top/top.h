// The top-level assemblies and the unit-with-checker module.
#pragma once

#include <string>

#include "emit/text.h"

namespace velmorn {

VhdlText GenerateTopTMR(const Design& d, const std::string& module, const std::string& voter,
                        const std::string& top, const std::string& arch);
VhdlText GenerateTopTMR3FU3V(const Design& d, const std::string& module, const std::string& voter,
                             const std::string& fdec, const std::string& top, const std::string& arch);
VhdlText GenerateTopTMR3(const Design& d, const std::string& module, const std::string& prm,
                         const std::string& top, const std::string& arch);
VhdlText GenerateTopTMR3FU(const Design& d, const std::string& module, const std::string& voter,
                           const std::string& top, const std::string& arch);
VhdlText GenerateTopDuplex(const Design& d, const std::string& module, const std::string& voter,
                           const std::string& top, const std::string& arch);
// One unit copy paired with the user's checker; its file is named by `top`.
VhdlText GeneratePRMFUCH(const Design& d, const std::string& module, const std::string& checker,
                         const std::string& top, const std::string& arch);
VhdlText GenerateTopDPL1(const Design& d, const std::string& module, const std::string& checker,
                         const std::string& prm, const std::string& top, const std::string& arch);
VhdlText GenerateTopDPL2(const Design& d, const std::string& module, const std::string& checker,
                         const std::string& prm, const std::string& top, const std::string& arch);

}  // namespace velmorn
