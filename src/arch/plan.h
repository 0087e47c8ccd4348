// One architecture's plan: the files it writes, in order, each with the
// emitter that writes it. Planning writes nothing; a writer writes the list.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "arch/names.h"
#include "model/design.h"
#include "vhdl/options.h"
#include "tops/tops.h"
#include "vhdl/interface.h"
#include "vhdl/out.h"
#include "vhdl/writer.h"

namespace velmorn {

// Where one copy of the unit sits in the tree: the label of the instance of
// the module that holds it (empty: the top itself), the label of the copy's
// own instance there, and the copy's suffix, which names the signals that its
// OUT ports drive in that module (copyOutputSignal).
struct CopySite {
    std::string holder;
    std::string label;
    std::string copy;
};

// What a plan wrote, for the stages that work on the tree after it.
struct PlanRecord {
    using ModuleEmitter = void (*)(const Design&, std::string_view suffix, VhdlOut&);
    struct Module {
        ModuleEmitter emit;
        std::string suffix;
    };
    std::vector<std::string> files;  // every file, in the order written
    std::vector<Module> modules;     // every module file and its emitter
    std::vector<CopySite> copies;    // the copies of the unit, copy 1 first
    Interface top;                   // the top level's entity
    std::string topFile;             // the path of the top-level file in the tree
};

class Plan {
public:
    using ModuleEmitter = PlanRecord::ModuleEmitter;

    // The names given to top() and the label are constants that outlive the plan.
    Plan(const Design& d, std::string_view label, const GenerationOptions& options)
        : d_(d), label_(label), options_(options)
    {
    }

    // A module file named by `suffix`.
    void module(ModuleEmitter emit, std::string_view suffix);
    // The same, with the suffix stem + n.
    void module(ModuleEmitter emit, std::string_view stem, int n) { module(emit, names::numbered(stem, n)); }
    // The unit copy named by `suffix`.
    void unitCopy(std::string_view suffix);
    // Unit copy <stem><c>, instantiated by the top as copy c.
    void unitCopy(std::string_view stem, int c);
    // Unit copies stem1 .. stem<count>.
    void unitCopies(std::string_view stem, int count);
    // The unit copy <unit><k> and the module <copy><k> that pairs it with the checker.
    void checkedCopy(int k);
    // The top-level file named by `suffix`.
    template <class Names>
    void top(void (*emit)(const Design&, const Names&, const GenerationOptions&, VhdlOut&), const Names& names,
             std::string_view suffix)
    {
        record_.topFile = names::topPath(d_, suffix);
        record_.top = topEntity(d_, names);
        file(record_.topFile, [this, emit, names](VhdlOut& out) { emit(d_, names, options_, out); });
    }
    // The module file named by `module`, pairing the copy `copy` with the
    // checker; `isTop` when it is the architecture's top level.
    void checkedUnit(std::string_view copy, std::string_view module, bool isTop = false);

    // The Yosys script that marks every module written so far, and the
    // checker when a module instantiates it, keep_hierarchy.
    void keepScript();

    // The files planned so far, in order, each with what writes it; the
    // emitters read the design and the options, which outlive the plan.
    const std::vector<FileJob>& files() const { return files_; }
    // Gives the files their costs, as a dry run found them.
    void weigh(const FileCosts& costs)
    {
        for (FileJob& file : files_)
            if (const auto found = costs.find(file.path); found != costs.end()) file.cost = found->second;
    }
    // The path of the top-level file in the tree.
    const std::string& topFile() const { return record_.topFile; }
    const PlanRecord& record() const { return record_; }

private:
    const Design& d_;
    std::string_view label_;
    const GenerationOptions& options_;
    std::vector<FileJob> files_;
    PlanRecord record_;
    std::vector<std::string> moduleEntities_;  // of the modules below the top, in the order written
    bool usesChecker_ = false;                 // a module instantiates the checker

    // Plans one file: the prologue, then what `emit` writes. The unit's
    // copies keep the unit's context as it is; the other files declare
    // std_logic ports and signals and see ieee.std_logic_1164.
    void file(const std::string& path, std::function<void(VhdlOut&)> emit, bool unitCopy = false);
};

}  // namespace velmorn
