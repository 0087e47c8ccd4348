// One architecture's plan: the files it writes, in order, each with the
// emitter that writes it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "arch/names.h"
#include "model/design.h"
#include "vhdl/options.h"
#include "vhdl/out.h"
#include "vhdl/writer.h"

namespace velmorn {

class Plan {
public:
    using ModuleEmitter = void (*)(const Design&, std::string_view suffix, VhdlOut&);

    Plan(const Design& d, std::string_view label, const GenerationOptions& options, FileWriter& writer)
        : d_(d), label_(label), options_(options), writer_(writer)
    {
    }

    // A module file named by `suffix`.
    void module(ModuleEmitter emit, std::string_view suffix);
    // The same, with the suffix stem + n.
    void module(ModuleEmitter emit, std::string_view stem, int n) { module(emit, names::numbered(stem, n)); }
    // The unit copy named by `suffix`, and with the suffix stem + n.
    void unitCopy(std::string_view suffix);
    void unitCopy(std::string_view stem, int n) { unitCopy(names::numbered(stem, n)); }
    // Unit copies stem1 .. stem<count>.
    void unitCopies(std::string_view stem, int count);
    // The unit copy <unit><k> and the module <copy><k> that pairs it with the checker.
    void checkedCopy(int k);
    // The top-level file named by `suffix`.
    template <class Names>
    void top(void (*emit)(const Design&, const Names&, const GenerationOptions&, VhdlOut&), const Names& names,
             std::string_view suffix)
    {
        topFile_ = names::topPath(d_, suffix);
        file(topFile_, [&](VhdlOut& out) { emit(d_, names, options_, out); });
    }
    // The module file named by `module`, pairing the copy `copy` with the
    // checker; `isTop` when it is the architecture's top level.
    void checkedUnit(std::string_view copy, std::string_view module, bool isTop = false);

    // The Yosys script that marks every module written so far, and the
    // checker when a module instantiates it, keep_hierarchy.
    void keepScript();

    // True when every file was written.
    bool ok() const { return ok_; }
    // The path of the top-level file in the tree.
    const std::string& topFile() const { return topFile_; }

private:
    const Design& d_;
    std::string_view label_;
    const GenerationOptions& options_;
    FileWriter& writer_;
    bool ok_ = true;
    std::string topFile_;
    std::vector<std::string> moduleEntities_;  // of the modules below the top, in the order written
    bool usesChecker_ = false;                 // a module instantiates the checker

    // Writes one file: the prologue, then what `emit` writes. The unit's
    // copies keep the unit's context as it is; the other files declare
    // std_logic ports and signals and see ieee.std_logic_1164.
    void file(const std::string& path, const std::function<void(VhdlOut&)>& emit, bool unitCopy = false);
};

}  // namespace velmorn
