#include "arch/checks.h"

#include <functional>
#include <map>
#include <sstream>

#include "arch/generate.h"
#include "vhdl/declarations.h"
#include "vhdl/writer.h"
#include "support/text.h"
#include "support/two_workers.h"

namespace velmorn {

namespace {

// A plan run that writes nothing and logs every name its files declare, two
// files at a time, each thread into a log of its own.
class DryRun : public FileWriter {
public:
    // A file declares each of the unit's names a few times over (ports,
    // copies' signals, results): up to about seven times, in the voting
    // module that compares two voters. The logs make room for that many.
    DryRun(bool keepNames, const Design& d)
        : logs_{DeclarationLog(keepNames, 7 * entityNameCount(d)), DeclarationLog(keepNames, 7 * entityNameCount(d))}
    {
    }
    // What each file declared, in the plan's order.
    std::vector<FileDeclarations> files;
    // A check that writes no file, run beside the files on whichever thread
    // is free first.
    std::function<void()> alongside;

    bool makeDirectory(const std::string&) override { return true; }
    bool write(const std::string& path, const std::function<void(VhdlOut&)>& emit) override
    {
        files.push_back(logFile(path, emit, logs_[0]));
        return true;
    }
    bool writeAll(const std::vector<FileJob>& jobs, bool twoAtATime) override
    {
        std::vector<FileDeclarations> logged(jobs.size());
        std::vector<size_t> order = copiesLast(jobs);
        if (alongside) order.push_back(jobs.size());
        runOnTwoWorkers(order.size(), twoAtATime && twoCores(), order, [&](size_t i, int worker) {
            if (i == jobs.size()) alongside();
            else logged[i] = logFile(jobs[i].path, jobs[i].emit, logs_[worker]);
        });
        for (FileDeclarations& file : logged) files.push_back(std::move(file));
        return true;
    }

private:
    struct Discard : OutputSink {
        void write(std::string_view) override {}
    };
    DeclarationLog logs_[2];

    static FileDeclarations logFile(const std::string& path, const std::function<void(VhdlOut&)>& emit,
                                    DeclarationLog& log)
    {
        log.beginFile(path);
        Discard discard;
        {
            VhdlOut out(discard, log);
            emit(out);
        }
        return log.endFile();
    }
};

void dryRun(const Design& d, const Architecture& arch, DryRun& run)
{
    std::ostringstream quiet;
    Diagnostics silent(quiet, quiet);
    generate(d, arch, run, silent);
}

std::string describe(const Declaration& n)
{
    switch (n.kind) {
    case DeclarationKind::Port:
        if (n.role == PortRole::ErrorFlag) return "the error output " + n.name;
        if (n.role == PortRole::CheckerError) return "the checker's error output " + n.name;
        if (n.role == PortRole::CheckerErrorInput) return "the checker error input " + n.name;
        return "the port " + n.name;
    case DeclarationKind::Generic: return "the generic " + n.name;
    case DeclarationKind::Signal: return "the signal " + n.name;
    case DeclarationKind::Component: return "the component " + n.name;
    case DeclarationKind::Label: return "the instance label " + n.name;
    case DeclarationKind::Entity: return "the entity " + n.name;
    }
    return n.name;
}

// The unit's own port or generic among two clashing names, or nullptr.
const Declaration* unitsOwn(const Declaration& a, const Declaration& b)
{
    return a.unitsOwn ? &a : b.unitsOwn ? &b : nullptr;
}

// Reports the first name that a file declares twice; `run` kept every name.
// False when no file does (two names only hashed alike).
bool reportClash(const Design& d, const std::string& flag, const DryRun& run, Diagnostics& diag)
{
    for (const FileDeclarations& file : run.files) {
        std::map<std::string, const Declaration*> seen;
        for (const Declaration& n : file.names) {
            if (n.kind == DeclarationKind::Entity) continue;
            auto [at, fresh] = seen.emplace(lowerCase(n.name), &n);
            if (fresh) continue;
            const Declaration& first = *at->second;
            if (const Declaration* own = unitsOwn(first, n)) {
                const Declaration& other = own == &n ? first : n;
                const bool generic = own->kind == DeclarationKind::Generic;
                diag.progress((generic ? "Generic " : "Port ") + own->name + " of entity " + d.entityName +
                              " clashes with " + describe(other) + " that " + flag + " adds - rename the " +
                              (generic ? "generic" : "port") + " !\n");
            } else {
                const Declaration* derived = first.source ? &first : n.source ? &n : nullptr;
                diag.progress("Names that " + flag + " writes clash in " + file.path + ": " + describe(first) +
                              " and " + describe(n) +
                              (derived ? " - rename port " + derived->source->name + " !\n" : " !\n"));
            }
            return true;
        }
    }
    return false;
}

// The first port, inputs first, then outputs, then INOUT ports, whose type
// is an array type without a constraint; nullptr where there is none.
const Port* firstUnconstrained(const Design& d)
{
    for (const auto* list : {&d.inputs, &d.outputs, &d.inouts})
        for (const Port& p : *list)
            if (hasUnconstrainedType(p)) return &p;
    return nullptr;
}

// No name taken twice: in each generated file (its entity's generics and
// ports, and its architecture's components, signals and labels, all from
// what the emitters write), and between the generated entities and the
// units that the body uses. Compared as VHDL does, ignoring case. `run` is
// the dry run of the plan.
bool noNameClash(const Design& d, const Architecture& arch, const DryRun& run, Diagnostics& diag, FileCosts* costs)
{
    const std::string flag(arch.flag);
    bool clashSeen = false;
    for (const FileDeclarations& file : run.files) {
        clashSeen = clashSeen || file.clashSeen;
        if (costs) (*costs)[file.path] = file.cost;
        for (const std::string& entity : file.entities) {
            const std::string key = lowerCase(entity);
            if (key == lowerCase(d.entityName)) continue;
            for (const std::string& used : d.usedUnits)
                if (lowerCase(used) == key) {
                    diag.progress("Entity " + used + " that the architecture of " + d.entityName +
                                  " uses clashes with the entity " + entity + " that " + flag +
                                  " writes - rename it !\n");
                    return false;
                }
        }
    }
    if (!clashSeen) return true;
    DryRun named(true, d);
    dryRun(d, arch, named);
    return !reportClash(d, flag, named, diag);
}

}  // namespace

bool checkDesign(const Design& d, const Architecture& architecture, Diagnostics& diag, FileCosts* costs)
{
    if (d.outputs.empty()) {
        diag.progress("Entity " + d.entityName + " has no OUT port - nothing to generate !\n");
        return false;
    }
    // The ports' types are checked beside the dry run's files; a port that
    // cannot be declared is reported before any clash.
    const Port* unconstrained = nullptr;
    bool typesChecked = false;
    DryRun run(false, d);
    run.alongside = [&] {
        unconstrained = firstUnconstrained(d);
        typesChecked = true;
    };
    dryRun(d, architecture, run);
    if (!typesChecked) run.alongside();  // a plan that wrote its files one by one
    if (const Port* p = unconstrained) {
        diag.progress("Port " + p->name + " of entity " + d.entityName + " has the unconstrained type " +
                      std::string(trimmed(p->type)) + " - constrain it, or give its width as a generic !\n");
        return false;
    }
    return noNameClash(d, architecture, run, diag, costs);
}

}  // namespace velmorn
