#include "vhdl/declarations.h"

namespace velmorn {

namespace {

// FNV-1a over the characters, case folded: VHDL names ignore case.
struct NameHash {
    uint64_t h = 1469598103934665603ull;
    void add(std::string_view s)
    {
        // Identifiers hold letters, digits and "_": setting bit 5 folds the
        // case of a letter and changes no other character of them into another.
        for (char c : s) h = (h ^ (static_cast<unsigned char>(c) | 0x20u)) * 1099511628211ull;
    }
};

uint64_t hashOf(const DerivedName& name)
{
    NameHash h;
    h.add(name.base);
    h.add(name.suffix);
    if (name.n > 0) {
        char digits[24];
        size_t i = sizeof digits;
        for (size_t v = name.n; v > 0; v /= 10) digits[--i] = static_cast<char>('0' + v % 10);
        h.add(std::string_view(digits + i, sizeof digits - i));
    }
    h.add(name.ending);
    return h.h ? h.h : 1;
}

}  // namespace

void DeclarationLog::beginFile(const std::string& path)
{
    if (keep_) files.push_back({path, {}});
    slots_.assign(1024, 0);
    used_ = 0;
}

bool DeclarationLog::insert(uint64_t hash)
{
    if (2 * (used_ + 1) > slots_.size()) {
        std::vector<uint64_t> old;
        old.swap(slots_);
        slots_.assign(old.size() * 2, 0);
        used_ = 0;
        for (uint64_t h : old)
            if (h) insert(h);
    }
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        if (slots_[i] == hash) return false;
        if (slots_[i] == 0) {
            slots_[i] = hash;
            ++used_;
            return true;
        }
    }
}

void DeclarationLog::add(DeclarationKind kind, const DerivedName& name, PortRole role, const Port* source,
                         bool unitsOwn)
{
    if (kind == DeclarationKind::Entity) {
        entities_.push_back(name.text());  // a design unit's name, not a name of the file's region
    } else if (!insert(hashOf(name))) {
        clash_ = true;
    }
    if (keep_ && !files.empty()) files.back().names.push_back({name.text(), kind, role, source, unitsOwn});
}

}  // namespace velmorn
