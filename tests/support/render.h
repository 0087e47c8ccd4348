// Generated files in memory: one emitter's file as the plan writes it
// (prologue and text), or every file of an architecture's plan.
#pragma once

#include <map>
#include <sstream>
#include <string>
#include <string_view>

#include "arch/architectures.h"
#include "arch/generate.h"
#include "arch/names.h"
#include "model/design.h"
#include "modules/checked_mux.h"
#include "modules/checked_unit.h"
#include "modules/comparator.h"
#include "modules/fault_decoder.h"
#include "modules/selector.h"
#include "modules/two_channel.h"
#include "modules/unit_copy.h"
#include "modules/voter.h"
#include "tops/tops.h"
#include "support/diagnostics.h"
#include "vhdl/blocks.h"
#include "vhdl/out.h"
#include "vhdl/writer.h"

namespace vtest {

// One generated file: where the plan puts it and its whole text.
class Generated {
public:
    Generated(std::string path, std::string text) : path_(std::move(path)), text_(std::move(text)) {}
    const std::string& path() const { return path_; }
    const std::string& str() const { return text_; }
    size_t size() const { return text_.size(); }

private:
    std::string path_, text_;
};

template <class Emit>
Generated render(const velmorn::Design& d, const std::string& path, std::string_view label, const Emit& emit)
{
    velmorn::TextSink sink;
    {
        velmorn::VhdlOut out(sink);
        velmorn::prologue(out, d, path, label);
        emit(out);
    }
    return Generated(path, sink.text);
}

// A module file named by `suffix`, as the plan writes it.
inline Generated module(void (*emit)(const velmorn::Design&, std::string_view, velmorn::VhdlOut&),
                        const velmorn::Design& d, std::string_view suffix, std::string_view label)
{
    return render(d, velmorn::names::modulePath(d, suffix), label,
                  [&](velmorn::VhdlOut& out) { emit(d, suffix, out); });
}

// A top-level file named by `suffix`.
template <class Names>
Generated top(void (*emit)(const velmorn::Design&, const Names&, const velmorn::GenerationOptions&, velmorn::VhdlOut&),
              const velmorn::Design& d, const Names& names, std::string_view suffix, std::string_view label,
              const velmorn::GenerationOptions& options = {})
{
    return render(d, velmorn::names::topPath(d, suffix), label,
                  [&](velmorn::VhdlOut& out) { emit(d, names, options, out); });
}

// The module that pairs a copy with the checker, named by names.module.
inline Generated checkedUnit(const velmorn::Design& d, const velmorn::CheckedUnitNames& names, std::string_view label,
                             const velmorn::GenerationOptions& options = {})
{
    return render(d, velmorn::names::modulePath(d, names.module), label,
                  [&](velmorn::VhdlOut& out) { velmorn::emitCheckedUnit(d, names, options, out); });
}

// Files kept in memory, by path, in the order they were written.
class MemoryWriter : public velmorn::FileWriter {
public:
    std::map<std::string, std::string> files;
    std::vector<std::string> order, directories;

    bool makeDirectory(const std::string& path) override
    {
        directories.push_back(path);
        return true;
    }
    bool write(const std::string& path, const std::function<void(velmorn::VhdlOut&)>& emit) override
    {
        velmorn::TextSink sink;
        {
            velmorn::VhdlOut out(sink);
            emit(out);
        }
        files[path] = sink.text;
        order.push_back(path);
        return true;
    }
};

// Every file of an architecture's plan, and the console lines of the run.
struct PlanOutput {
    MemoryWriter writer;
    std::string console;
    bool ok = false;
};
inline PlanOutput runPlan(const velmorn::Design& d, const velmorn::Architecture& a,
                          const velmorn::GenerationOptions& options = {})
{
    PlanOutput r;
    std::ostringstream out, err;
    velmorn::Diagnostics diag(out, err);
    r.ok = velmorn::generate(d, a, r.writer, diag, options).ok;
    r.console = out.str();
    return r;
}

}  // namespace vtest
