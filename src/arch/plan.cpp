#include "arch/plan.h"

#include "modules/checked_unit.h"
#include "modules/unit_copy.h"
#include "tops/top_common.h"
#include "vhdl/blocks.h"
#include "vhdl/interface.h"
#include "vhdl/keep.h"

namespace velmorn {

void Plan::file(const std::string& path, std::function<void(VhdlOut&)> emit, bool unitCopy)
{
    files_.push_back({path,
                      [this, path, emit = std::move(emit), unitCopy](VhdlOut& out) {
                          prologue(out, d_, path, label_, !unitCopy);
                          emit(out);
                      },
                      0, unitCopy});
    record_.files.push_back(path);
}

void Plan::module(ModuleEmitter emit, std::string_view suffix)
{
    record_.modules.push_back({emit, std::string(suffix)});
    moduleEntities_.push_back(moduleEntity(d_, suffix));
    file(names::modulePath(d_, suffix), [this, emit, suffix = std::string(suffix)](VhdlOut& out) { emit(d_, suffix, out); });
}

void Plan::unitCopy(std::string_view suffix)
{
    record_.modules.push_back({emitUnitCopy, std::string(suffix)});
    moduleEntities_.push_back(moduleEntity(d_, suffix));
    file(names::modulePath(d_, suffix), [this, suffix = std::string(suffix)](VhdlOut& out) { emitUnitCopy(d_, suffix, out); },
         true);
}

void Plan::unitCopy(std::string_view stem, int c)
{
    unitCopy(names::numbered(stem, c));
    record_.copies.push_back({"", copyLabel(d_, stem, c), names::numbered(stem, c)});
}

void Plan::unitCopies(std::string_view stem, int count)
{
    for (int c = 1; c <= count; ++c) unitCopy(stem, c);
}

void Plan::checkedUnit(std::string_view copy, std::string_view moduleSuffix, bool isTop)
{
    const std::string path = names::modulePath(d_, moduleSuffix);
    if (isTop) {
        record_.topFile = path;
        record_.top = checkedUnitInterface(d_, moduleSuffix);
        record_.copies.push_back({"", checkedCopyLabel(d_, copy), std::string(copy)});
    } else {
        moduleEntities_.push_back(moduleEntity(d_, moduleSuffix));
    }
    usesChecker_ = true;
    file(path, [this, copy = std::string(copy), moduleSuffix = std::string(moduleSuffix)](VhdlOut& out) {
        emitCheckedUnit(d_, CheckedUnitNames{copy, names::kChecker, moduleSuffix}, options_, out);
    });
}

void Plan::keepScript()
{
    std::vector<std::string> entities = moduleEntities_;
    if (usesChecker_) entities.push_back(moduleEntity(d_, names::kChecker));
    const std::string path = names::keepScriptPath(d_);
    files_.push_back({path, [this, path, entities](VhdlOut& out) { velmorn::keepScript(out, d_, path, label_, entities); }});
}

void Plan::checkedCopy(int k)
{
    const std::string copy = names::numbered(names::kUnit, k);
    unitCopy(copy);
    checkedUnit(copy, names::numbered(names::kCopy, k));
    record_.copies.push_back({copyLabel(d_, names::kCopy, k), checkedCopyLabel(d_, copy), copy});
}

}  // namespace velmorn
