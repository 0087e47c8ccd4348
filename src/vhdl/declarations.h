// The names that generated files declare, as the emitters write them: a dry
// run of a plan with a log attached to its output streams sees, per file, the
// entity, its generics and ports, the components, signals and instance
// labels, so that clashes are found before anything is written.
//
// The log first only hashes the names (none is kept, so that a design of
// thousands of ports costs little); when two names of a file hash alike, a
// second run keeps every name to say which ones clash, if any do.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/design.h"
#include "vhdl/interface.h"

namespace velmorn {

enum class DeclarationKind { Entity, Generic, Port, Component, Signal, Label };

struct Declaration {
    std::string name;
    DeclarationKind kind;
    PortRole role = PortRole::UnitPort;  // of a port
    const Port* source = nullptr;        // the unit's port that the name derives from
    bool unitsOwn = false;               // the unit's own port or generic name, unchanged
};

// One declarative region: a generated entity with its architecture.
struct FileDeclarations {
    std::string path;
    std::vector<Declaration> names;     // every name, when the log keeps them
    std::vector<std::string> entities;  // the design units the file declares
    bool clashSeen = false;             // two of its names hashed alike
    // How much work writing the file is, about the bytes it takes: its names
    // (a line or so each) and the text it passes through (the body).
    size_t cost = 0;
};

class DeclarationLog {
public:
    // `keepNames`: every declaration is kept in `files`; otherwise only
    // hashed, and clashSeen() tells whether two names of a file hashed alike
    // (a name declared twice, or, very rarely, two names of one hash).
    // `expectedNames`: about how many names the largest file declares, so
    // that the table seldom grows.
    explicit DeclarationLog(bool keepNames, size_t expectedNames = 0) : keep_(keepNames), expected_(expectedNames) {}

    void beginFile(const std::string& path);
    void add(DeclarationKind kind, const DerivedName& name, PortRole role = PortRole::UnitPort,
             const Port* source = nullptr, bool unitsOwn = false);

    bool clashSeen();
    // Notes text that the file passes through as it stands (the body).
    void passesThrough(size_t bytes) { passed_ += bytes; }
    // Takes what the file begun last declared out of `files`.
    FileDeclarations endFile();
    // The entity names of the files, in order.
    std::vector<std::string> entities() const;
    // What each file declared, in the order logged.
    std::vector<FileDeclarations> files;

private:
    bool keep_;
    size_t expected_;
    // An open-addressing set of the file's name hashes, whole (a hash is
    // never 0, an empty slot is), cleared for each file. The memory comes
    // zeroed from the system, mapped for the table alone.
    struct FreeSlots {
        size_t bytes;  // of the mapping
        void operator()(uint64_t* slots) const;
    };
    std::unique_ptr<uint64_t[], FreeSlots> slots_;
    size_t mask_ = 0;   // the number of slots less one
    size_t used_ = 0;    // slots of this file
    size_t declared_ = 0, passed_ = 0;  // names and passed-through bytes of this file
    // Hashes waiting for their slot: each slot is fetched into the cache a
    // few names before it is looked at, so that the table's size costs no
    // waiting on memory.
    static constexpr size_t kPending = 8;
    uint64_t pending_[kPending] = {};  // a ring, 0 where none waits; the oldest at pendingNext_
    size_t pendingNext_ = 0;
    // The last short name put together, waiting to be hashed (-1: none), in
    // one of two texts, each followed by eight zeros for the hash to read.
    static constexpr size_t kShortName = 248;
    char names_[2][kShortName + 8];
    size_t nameLength_[2] = {};
    int waitingName_ = -1;
    std::string long_;  // a longer name, being hashed

    void allocate(size_t slots);
    // Puts a waiting hash in its slot, noting a clash when it was there.
    void settle(uint64_t hash);
    void hashWaitingName();
    void settlePending();
    void grow();
    void push(uint64_t hash);
    bool insert(uint64_t hash);
};

}  // namespace velmorn
