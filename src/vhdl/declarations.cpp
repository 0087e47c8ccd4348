#include "vhdl/declarations.h"

#include <cstring>
#include <new>

#include <sys/mman.h>

namespace velmorn {

namespace {

constexpr size_t kFewestSlots = 4096;  // 32 KiB: the hashes spread over all of it, so a small design touches no more
// The table is at most three quarters full: a name's slot is found within a
// cache line or two, and the table of a unit of 10,000 ports (about 70,000
// names in its largest file) takes 1 MiB, which stays in the processor's
// second-level cache.

// The name's characters in 8-byte words, case folded, mixed: whatever parts
// the name is made of, the same characters give the same hash. Identifiers
// hold letters, digits and "_": setting bit 5 folds the case of a letter and
// changes no other character of them into another.
// `s` is followed by at least 8 bytes that the hash may read: zeros, placed
// there by the caller, so that the last word needs no copy of its own.
uint64_t hashOf(std::string_view s)
{
    constexpr uint64_t kFold = 0x2020202020202020ull, kMultiplier = 0x9E3779B97F4A7C15ull;
    uint64_t h = s.size() * kMultiplier;
    for (size_t i = 0; i < s.size(); i += 8) {
        uint64_t w;
        std::memcpy(&w, s.data() + i, 8);
        h = (h ^ (w | kFold)) * kMultiplier;
        h ^= h >> 32;
    }
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return h ? h : 1;
}

}  // namespace

void DeclarationLog::FreeSlots::operator()(uint64_t* slots) const { munmap(slots, bytes); }

void DeclarationLog::allocate(size_t slots)
{
    // Zeroed pages that the system puts in place all at once: memory that is
    // only read first would be the system's page of zeros, and the first write
    // to each page a second fault that, with two threads running, stops the
    // other processor to flush its address cache.
    const size_t bytes = slots * sizeof(uint64_t);
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (memory == MAP_FAILED) throw std::bad_alloc();
    slots_ = std::unique_ptr<uint64_t[], FreeSlots>(static_cast<uint64_t*>(memory), FreeSlots{bytes});
    mask_ = slots - 1;
}

void DeclarationLog::beginFile(const std::string& path)
{
    settlePending();
    files.push_back({path, {}, {}, false, 0});
    declared_ = passed_ = 0;
    if (!slots_) {
        size_t slots = kFewestSlots;
        while (3 * slots < 4 * expected_) slots *= 2;
        allocate(slots);
    } else if (used_ > 0) {
        std::memset(slots_.get(), 0, (mask_ + 1) * sizeof(uint64_t));  // the names of the file before
    }
    used_ = 0;
}

inline bool DeclarationLog::insert(uint64_t hash)
{
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
        uint64_t& slot = slots_[i];
        if (slot == 0) {
            slot = hash;
            ++used_;
            return true;
        }
        if (slot == hash) return false;
    }
}

inline void DeclarationLog::settle(uint64_t hash)
{
    if (!insert(hash)) files.back().clashSeen = true;  // a hash waits only while its file is logged
}

void DeclarationLog::grow()
{
    // Twice the slots: this file's hashes move over.
    settlePending();
    std::unique_ptr<uint64_t[], FreeSlots> old = std::move(slots_);
    const size_t oldSlots = mask_ + 1;
    allocate(2 * oldSlots);
    used_ = 0;
    for (size_t i = 0; i < oldSlots; ++i)
        if (old[i] != 0) insert(old[i]);
}

inline void DeclarationLog::push(uint64_t hash)
{
    if (4 * (used_ + kPending + 1) > 3 * (mask_ + 1)) grow();
    __builtin_prefetch(&slots_[hash & mask_], 1);
    // The oldest waiting hash, whose slot has had time to arrive, makes way.
    uint64_t& waiting = pending_[pendingNext_];
    pendingNext_ = (pendingNext_ + 1) % kPending;
    const uint64_t oldest = waiting;
    waiting = hash;
    if (oldest != 0) settle(oldest);
}

void DeclarationLog::hashWaitingName()
{
    if (waitingName_ < 0) return;
    const int name = waitingName_;
    waitingName_ = -1;
    push(hashOf(std::string_view(names_[name], nameLength_[name])));
}

void DeclarationLog::settlePending()
{
    hashWaitingName();
    for (uint64_t& waiting : pending_) {
        if (waiting != 0) settle(waiting);
        waiting = 0;
    }
    pendingNext_ = 0;
}

void DeclarationLog::add(DeclarationKind kind, const DerivedName& name, PortRole role, const Port* source,
                         bool unitsOwn)
{
    if (files.empty()) beginFile("");
    FileDeclarations& file = files.back();
    ++declared_;
    if (kind == DeclarationKind::Entity) {
        file.entities.push_back(name.text());  // a design unit's name, not a name of the file's region
    } else {
        const size_t most = maxTextSize(name);
        if (most > kShortName) {
            // A long name, put together and hashed at once.
            long_.resize(most + 8);
            char* const end = placeText(long_.data(), name);
            std::memset(end, 0, 8);
            push(hashOf(std::string_view(long_.data(), static_cast<size_t>(end - long_.data()))));
        } else {
            // Put together here, hashed when the next name comes: reading
            // the words of a text just written in pieces would wait for the
            // pieces to reach the cache.
            const int into = waitingName_ == 0 ? 1 : 0;
            char* const end = placeText(names_[into], name);
            std::memset(end, 0, 8);
            hashWaitingName();
            waitingName_ = into;
            nameLength_[into] = static_cast<size_t>(end - names_[into]);
        }
    }
    if (keep_) file.names.push_back({name.text(), kind, role, source, unitsOwn});
}

FileDeclarations DeclarationLog::endFile()
{
    settlePending();
    constexpr size_t kBytesPerName = 100;  // a declaration, with its uses: about a line of a port list or map
    files.back().cost = kBytesPerName * declared_ + passed_;
    FileDeclarations file = std::move(files.back());
    files.pop_back();
    return file;
}

bool DeclarationLog::clashSeen()
{
    settlePending();
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
