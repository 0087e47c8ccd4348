// The architecture body: one pass that finds its closing END clause, design
// units after it, unterminated literals and comments, an attribute set on the
// architecture and the entities and components the body uses; the cut of the
// closing clause.
//
// The scan jumps from one byte that matters to the next (bit masks of 64-byte
// blocks, read/byte_masks.h). So that the source is read from memory once, the
// pass that looks for control bytes before the analysis (SourcePrescan) runs
// the same scan from the start of the source and keeps its state every 64 KiB;
// the scan of the body, which starts where the analysis finds the body, runs
// only until its state equals one of those and takes the rest from the
// prescan.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/source_text.h"

namespace velmorn {

// One pass over the body text, outside comments and literals.
struct BodyScan {
    size_t lastEnd = std::string::npos;  // offset of the last whole word END
    std::string unitAfterBody;           // "second architecture", ... or empty
    bool unterminatedString = false;     // a string literal runs to its line end
    bool unterminatedComment = false;    // a "/*" comment is never closed
    // Offset of the first "<name> : architecture" (an attribute set on the
    // architecture named `name`), or npos.
    size_t namesArchitecture = std::string::npos;
    // The entities and components that the body instantiates or declares,
    // upper case.
    std::vector<std::string> usedUnits;
};

// What the scan has found up to a point: offsets in the prescanned text.
struct ScanTally {
    size_t lastEnd = std::string::npos;  // of the last whole word END
    size_t unterminatedStrings = 0;
};

// The word that the scan waits for after ENTITY or COMPONENT: the name of a
// unit the body uses.
enum class UsedUnitWait : uint8_t { None, AfterEntity, AfterComponent };

// A design unit head that a prescan found, with what it had found before it.
struct FoundUnit {
    std::string_view unit;  // "second architecture", ...; empty: none
    ScanTally tally;
    size_t usedUnits = 0;          // entries of SourcePrescan::usedUnits up to it
    size_t architectureNames = 0;  // entries of SourcePrescan::architectureNames up to it
};

// "<name> : architecture" where a prescan found it: the name, and the offset
// of ARCHITECTURE.
struct ArchitectureNamed {
    size_t at;
    std::string_view name;
};

// The scan's state where the prescan passed a multiple of 64 KiB.
struct ScanCheckpoint {
    size_t at = 0;  // where the scan goes on, in code
    // The last words before it, newest first; empty ones where the scanned
    // text began first. No rule looks back more than three words.
    std::array<std::string_view, 3> words{};
    UsedUnitWait waiting = UsedUnitWait::None;
    ScanTally tally;  // up to it
    size_t usedUnits = 0, architectureNames = 0;  // entries of the prescan's lists up to it
    // The first unit head after this checkpoint and before the next one; and
    // the first such head that counts for a scan that saw no BEGIN before
    // this checkpoint (a package head counts only after a BEGIN: before it, it
    // is a package declared inside the architecture).
    FoundUnit head, headWithoutBegin;
    bool begins = false;  // a BEGIN lies after this checkpoint and before the next one
    // The earliest offset that the words of any rule from here to the end of
    // the text looked back to (npos: none looked back).
    size_t lookedBackTo = std::string::npos;
};

// One pass over a source (from where the analysis begins): its first control
// byte, and the body scan's checkpoints. Sources of kTwoPartsFrom and more
// are prescanned in two parts at once, the second part's scan starting as if
// the text began there; the first part's scan takes over the second's
// results where their states agree.
struct SourcePrescan {
    std::string_view text;
    size_t controlByte = std::string::npos;  // offset in text of the first control byte
    // Where the first part's scan took over the second part's results, or
    // npos (one part, or their states never agreed).
    size_t joinedAt = std::string::npos;
    // Empty when the scan could not follow the text to its end (a control
    // byte, or words it could not look back to).
    std::vector<ScanCheckpoint> checkpoints;
    ScanTally tally;  // at the end of the text
    bool unterminatedComment = false;
    // The last rule that looked back to where the scanned text began, for
    // lack of words; a scan of a longer text may decide otherwise there.
    size_t lastShortSighted = std::string::npos;
    // Every name the scan took for a unit the body uses, in order (as written).
    std::vector<std::string_view> usedUnits;
    // Every "<name> : architecture", in order; the body scan picks the
    // architecture's own name from them.
    std::vector<ArchitectureNamed> architectureNames;
};
// Sources from this size on are read, and prescanned, in two parts at once.
inline constexpr size_t kTwoPartsFrom = size_t{16} << 20;
// The first part, on this thread, is `firstShare` of the text (kept between a
// quarter and three quarters): more where this thread is the faster one.
inline constexpr double kEvenShare = 0.5;
SourcePrescan prescanSource(std::string_view text, double firstShare = kEvenShare);

// The scan of `body`, whose architecture is named `name` (upper case, may be
// empty); with a prescan of a text that ends with `body`, from the first
// checkpoint where the two scans agree on, the prescan's results.
BodyScan scanBody(std::string_view body, std::string_view name = {}, const SourcePrescan* prescan = nullptr);
// The same scan, character by character: where the words before a rule's
// word lie beyond what the fast scan keeps, and the reference of the tests.
BodyScan scanBodyByCharacter(std::string_view body, std::string_view name = {});

// The body as the copies write it: `body` up to the closing clause that `scan`
// found (the last whole word END outside comments and string literals), then
// that clause and everything after it as blanks (the length is kept). The
// source is not changed. False when the scan found no closing clause.
bool cutClosingEnd(const SourceSpan& body, const BodyScan& scan, ArchitectureBody& cut);
// Blanks the closing clause of a text in place, with a scan of its own.
bool cutClosingEnd(std::string& body);

}  // namespace velmorn
