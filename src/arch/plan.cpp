#include "arch/plan.h"

#include "modules/checked_unit.h"
#include "modules/unit_copy.h"
#include "vhdl/blocks.h"
#include "vhdl/interface.h"
#include "vhdl/keep.h"

namespace velmorn {

void Plan::file(const std::string& path, const std::function<void(VhdlOut&)>& emit, bool unitCopy)
{
    const bool written = writer_.write(path, [&](VhdlOut& out) {
        prologue(out, d_, path, label_, !unitCopy);
        emit(out);
    });
    ok_ = written && ok_;
}

void Plan::module(ModuleEmitter emit, std::string_view suffix)
{
    moduleEntities_.push_back(moduleEntity(d_, suffix));
    file(names::modulePath(d_, suffix), [&](VhdlOut& out) { emit(d_, suffix, out); });
}

void Plan::unitCopy(std::string_view suffix)
{
    moduleEntities_.push_back(moduleEntity(d_, suffix));
    file(names::modulePath(d_, suffix), [&](VhdlOut& out) { emitUnitCopy(d_, suffix, out); }, true);
}

void Plan::unitCopies(std::string_view stem, int count)
{
    for (int c = 1; c <= count; ++c) unitCopy(stem, c);
}

void Plan::checkedUnit(std::string_view copy, std::string_view moduleSuffix, bool isTop)
{
    const CheckedUnitNames n{copy, names::kChecker, moduleSuffix};
    const std::string path = names::modulePath(d_, moduleSuffix);
    if (isTop) topFile_ = path;
    else moduleEntities_.push_back(moduleEntity(d_, moduleSuffix));
    usesChecker_ = true;
    file(path, [&](VhdlOut& out) { emitCheckedUnit(d_, n, options_, out); });
}

void Plan::keepScript()
{
    std::vector<std::string> entities = moduleEntities_;
    if (usesChecker_) entities.push_back(moduleEntity(d_, names::kChecker));
    const std::string path = names::keepScriptPath(d_);
    ok_ = writer_.write(path, [&](VhdlOut& out) { velmorn::keepScript(out, d_, path, label_, entities); }) && ok_;
}

void Plan::checkedCopy(int k)
{
    const std::string copy = names::numbered(names::kUnit, k);
    unitCopy(copy);
    checkedUnit(copy, names::numbered(names::kCopy, k));
}

}  // namespace velmorn
