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
#include <string>
#include <vector>

#include "model/design.h"
#include "support/mapped_ahead.h"
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
    // How much work writing the file is: about the bytes of its text, as the
    // dry run noted them.
    size_t cost = 0;
};

class DeclarationLog {
public:
    // `keepNames`: every declaration is kept in `files`; otherwise only
    // hashed, and clashSeen() tells whether two names of a file hashed alike
    // (a name declared twice, or, very rarely, two names of one hash).
    // `expectedNames`: about how many names the largest file declares, so
    // that the hashes seldom need more room.
    explicit DeclarationLog(bool keepNames, size_t expectedNames = 0) : keep_(keepNames)
    {
        hashes_.reserve(expectedNames);
        mapCapacity(hashes_);
    }

    void beginFile(const std::string& path);
    void add(DeclarationKind kind, const DerivedName& name, PortRole role = PortRole::UnitPort,
             const Port* source = nullptr, bool unitsOwn = false);

    bool clashSeen();
    // Notes `bytes` of the file's text, which a dry run skips or passes
    // through (the body) instead of writing: the file's cost adds up from them.
    void notesText(size_t bytes) { text_ += bytes; }
    // Takes what the file begun last declared out of `files`.
    FileDeclarations endFile();
    // The entity names of the files, in order.
    std::vector<std::string> entities() const;
    // What each file declared, in the order logged.
    std::vector<FileDeclarations> files;

private:
    bool keep_;
    size_t text_ = 0;  // the bytes of text of this file, as far as noted
    // The hashes of the names of the file being logged, in order; looked
    // through for two alike when the file ends. Collected one after another
    // rather than put in a table as they come: a table of a large unit's
    // names fills the processor's cache, and two threads logging at once
    // would each wait for their tables most of the time.
    std::vector<uint64_t> hashes_;
    size_t checked_ = 0;  // hashes_ looked through up to here
    // Where the hashes are sorted by their top byte, and a small table of
    // the hashes of one such byte, each slot marked with the round that
    // filled it (a slot of another round is empty).
    std::vector<uint64_t> sorted_;
    std::vector<uint64_t> slots_;
    std::vector<uint32_t> rounds_;
    uint32_t round_ = 0;

    // Looks through the hashes of this file for two alike; notes a clash.
    void checkFile();
};

}  // namespace velmorn
