#include "arch/plan.h"

#include "modules/checked_unit.h"
#include "modules/unit_copy.h"
#include "tops/top_common.h"
#include "vhdl/blocks.h"

namespace velmorn {

void Plan::file(const std::string& path, const std::function<void(VhdlOut&)>& emit)
{
    const bool written = writer_.write(path, [&](VhdlOut& out) {
        prologue(out, d_, path, label_);
        emit(out);
    });
    record_.files.push_back(path);
    ok_ = written && ok_;
}

void Plan::module(ModuleEmitter emit, std::string_view suffix)
{
    record_.modules.push_back({emit, std::string(suffix)});
    file(names::modulePath(d_, suffix), [&](VhdlOut& out) { emit(d_, suffix, out); });
}

void Plan::unitCopy(std::string_view stem, int c)
{
    module(emitUnitCopy, stem, c);
    record_.copies.push_back({"", copyLabel(d_, stem, c), names::numbered(stem, c)});
}

void Plan::unitCopies(std::string_view stem, int count)
{
    for (int c = 1; c <= count; ++c) unitCopy(stem, c);
}

void Plan::checkedUnit(std::string_view copy, std::string_view moduleSuffix, bool isTop)
{
    const CheckedUnitNames n{copy, names::kChecker, moduleSuffix};
    const std::string path = names::modulePath(d_, moduleSuffix);
    if (isTop) {
        record_.topFile = path;
        record_.top = checkedUnitInterface(d_, moduleSuffix);
        record_.copies.push_back({"", checkedCopyLabel(d_, copy), std::string(copy)});
    }
    file(path, [&](VhdlOut& out) { emitCheckedUnit(d_, n, out); });
}

void Plan::checkedCopy(int k)
{
    const std::string copy = names::numbered(names::kUnit, k);
    module(emitUnitCopy, copy);
    checkedUnit(copy, names::numbered(names::kCopy, k));
    record_.copies.push_back({copyLabel(d_, names::kCopy, k), checkedCopyLabel(d_, copy), copy});
}

}  // namespace velmorn
