#include "vhdl/declarations.h"

#include <cstring>

namespace velmorn {

namespace {

constexpr size_t kFewestSlots = 1024;

// The name's characters in 8-byte words, case folded, mixed: whatever parts
// the name is made of, the same characters give the same hash. Identifiers
// hold letters, digits and "_": setting bit 5 folds the case of a letter and
// changes no other character of them into another.
uint64_t hashOf(std::string_view s)
{
    constexpr uint64_t kFold = 0x2020202020202020ull, kMultiplier = 0x9E3779B97F4A7C15ull;
    uint64_t h = s.size() * kMultiplier;
    size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        uint64_t w;
        std::memcpy(&w, s.data() + i, 8);
        h = (h ^ (w | kFold)) * kMultiplier;
        h ^= h >> 32;
    }
    if (i < s.size()) {
        uint64_t w = 0;
        std::memcpy(&w, s.data() + i, s.size() - i);
        h = (h ^ (w | kFold)) * kMultiplier;
    }
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return h ? h : 1;
}

}  // namespace

void DeclarationLog::beginFile(const std::string& path)
{
    files.push_back({path, {}, {}, false});
    if (slots_.empty()) slots_.resize(kFewestSlots);
    ++file_;
    used_ = 0;
}

bool DeclarationLog::insert(uint64_t hash)
{
    if (2 * (used_ + 1) > slots_.size()) {
        std::vector<Slot> old(slots_.size() * 2);
        old.swap(slots_);
        used_ = 0;
        for (const Slot& slot : old)
            if (slot.file == file_) insert(slot.hash);
    }
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (slot.file != file_) {
            slot = {hash, file_};
            ++used_;
            return true;
        }
        if (slot.hash == hash) return false;
    }
}

void DeclarationLog::add(DeclarationKind kind, const DerivedName& name, PortRole role, const Port* source,
                         bool unitsOwn)
{
    if (files.empty()) beginFile("");
    FileDeclarations& file = files.back();
    if (kind == DeclarationKind::Entity) {
        file.entities.push_back(name.text());  // a design unit's name, not a name of the file's region
    } else {
        // The name put together where it is hashed: on the stack, as most are short.
        char local[256];
        const size_t most = maxTextSize(name);
        if (most > sizeof local) long_.resize(most);
        char* const start = most > sizeof local ? long_.data() : local;
        const char* const end = placeText(start, name);
        if (!insert(hashOf(std::string_view(start, static_cast<size_t>(end - start))))) file.clashSeen = true;
    }
    if (keep_) file.names.push_back({name.text(), kind, role, source, unitsOwn});
}

bool DeclarationLog::clashSeen() const
{
    for (const FileDeclarations& file : files)
        if (file.clashSeen) return true;
    return false;
}

std::vector<std::string> DeclarationLog::entities() const
{
    std::vector<std::string> all;
    for (const FileDeclarations& file : files) all.insert(all.end(), file.entities.begin(), file.entities.end());
    return all;
}

}  // namespace velmorn
