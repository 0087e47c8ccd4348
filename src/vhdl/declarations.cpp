#include "vhdl/declarations.h"

#include <algorithm>
#include <cstring>

namespace velmorn {

namespace {

// The hash of a name that is made of parts: its characters in 8-byte words
// as they would lie one after another in memory, the last word filled up
// with zeros, case folded and mixed. Whatever parts the name is made of, the
// same characters give the same hash, and no part is copied to make the
// words: they are put together in a register. Identifiers hold letters,
// digits and "_": setting bit 5 folds the case of a letter and changes no
// other character of them into another.
class NameHash {
public:
    explicit NameHash(size_t length) : hash_(length * kMultiplier) {}

    void add(std::string_view part)
    {
        const char* p = part.data();
        size_t n = part.size();
        for (; n >= 8; p += 8, n -= 8) {
            uint64_t w;
            std::memcpy(&w, p, 8);
            if (bits_ == 0) {
                mix(w);
            } else {
                mix(word_ | (w << bits_));
                word_ = w >> (64 - bits_);
            }
        }
        if (n > 0) addShort(p, n);
    }

    uint64_t finish()
    {
        if (bits_ > 0) mix(word_);
        uint64_t h = hash_;
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 32;
        return h;
    }

private:
    static constexpr uint64_t kFold = 0x2020202020202020ull, kMultiplier = 0x9E3779B97F4A7C15ull;
    uint64_t hash_;
    uint64_t word_ = 0;  // the characters of the word begun, in its low `bits_` bits
    unsigned bits_ = 0;

    void mix(uint64_t w)
    {
        hash_ = (hash_ ^ (w | kFold)) * kMultiplier;
        hash_ ^= hash_ >> 32;
    }

    // One to seven characters, read without a byte past them: two loads
    // that may overlap (the bytes they share are the same).
    void addShort(const char* p, size_t n)
    {
        uint64_t w;
        if (n >= 4) {
            uint32_t head, tail;
            std::memcpy(&head, p, 4);
            std::memcpy(&tail, p + n - 4, 4);
            w = head | (uint64_t{tail} << (8 * (n - 4)));
        } else if (n >= 2) {
            uint16_t head, tail;
            std::memcpy(&head, p, 2);
            std::memcpy(&tail, p + n - 2, 2);
            w = head | (uint64_t{tail} << (8 * (n - 2)));
        } else {
            w = static_cast<unsigned char>(*p);
        }
        const unsigned bits = static_cast<unsigned>(8 * n);
        word_ |= w << bits_;
        bits_ += bits;
        if (bits_ >= 64) {
            mix(word_);
            bits_ -= 64;
            word_ = w >> (bits - bits_);  // the characters that did not fit (none when bits_ is 0)
        }
    }
};

uint64_t hashOf(const DerivedName& name)
{
    char digits[20];
    const std::string_view number(digits, name.n > 0 ? static_cast<size_t>(placeText(digits, name.n) - digits) : 0);
    NameHash hash(name.base.size() + name.suffix.size() + number.size() + name.ending.size());
    hash.add(name.base);
    hash.add(name.suffix);
    hash.add(number);
    hash.add(name.ending);
    return hash.finish();
}

}  // namespace

void DeclarationLog::beginFile(const std::string& path)
{
    if (!files.empty()) checkFile();
    files.push_back({path, {}, {}, false, 0});
    text_ = 0;
    hashes_.clear();
    checked_ = 0;
}

void DeclarationLog::checkFile()
{
    const size_t count = hashes_.size();
    if (checked_ == count) return;
    checked_ = count;
    // Sorted by the top byte into 256 groups (equal hashes share a group),
    // then each group put in a table that stays in the first-level cache.
    size_t starts[257] = {};
    for (const uint64_t h : hashes_) ++starts[(h >> 56) + 1];
    size_t largest = 0;
    for (size_t b = 0; b < 256; ++b) {
        largest = std::max(largest, starts[b + 1]);
        starts[b + 1] += starts[b];
    }
    if (sorted_.capacity() < count) {
        sorted_.reserve(count);
        mapCapacity(sorted_);
    }
    sorted_.resize(count);
    size_t next[256];
    std::copy(starts, starts + 256, next);
    for (const uint64_t h : hashes_) sorted_[next[h >> 56]++] = h;

    size_t slots = 64;
    while (slots < 2 * largest) slots *= 2;  // at most half full
    if (slots_.size() < slots) {
        slots_.assign(slots, 0);
        rounds_.assign(slots, 0);
        round_ = 0;
    }
    const size_t mask = slots - 1;
    for (size_t b = 0; b < 256; ++b) {
        if (starts[b + 1] - starts[b] < 2) continue;
        if (++round_ == 0) {
            std::fill(rounds_.begin(), rounds_.end(), 0);
            round_ = 1;
        }
        for (size_t k = starts[b]; k < starts[b + 1]; ++k) {
            const uint64_t h = sorted_[k];
            for (size_t i = h & mask;; i = (i + 1) & mask) {
                if (rounds_[i] != round_) {
                    rounds_[i] = round_;
                    slots_[i] = h;
                    break;
                }
                if (slots_[i] == h) {
                    files.back().clashSeen = true;
                    return;
                }
            }
        }
    }
}

void DeclarationLog::add(DeclarationKind kind, const DerivedName& name, PortRole role, const Port* source,
                         bool unitsOwn)
{
    if (files.empty()) beginFile("");
    FileDeclarations& file = files.back();
    if (kind == DeclarationKind::Entity)
        file.entities.push_back(name.text());  // a design unit's name, not a name of the file's region
    else
        hashes_.push_back(hashOf(name));
    if (keep_) file.names.push_back({name.text(), kind, role, source, unitsOwn});
}

FileDeclarations DeclarationLog::endFile()
{
    checkFile();
    files.back().cost = text_;
    FileDeclarations file = std::move(files.back());
    files.pop_back();
    hashes_.clear();
    checked_ = 0;
    return file;
}

bool DeclarationLog::clashSeen()
{
    if (!files.empty()) checkFile();
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
