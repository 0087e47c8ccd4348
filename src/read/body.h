// The architecture body: one pass that finds its closing END clause, design
// units after it and unterminated literals and comments; the cut of the
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
};

// What the scan has found up to a point: offsets in the prescanned text.
struct ScanTally {
    size_t lastEnd = std::string::npos;  // of the last whole word END
    size_t unterminatedStrings = 0;
};

// The scan's state where the prescan passed a multiple of 64 KiB.
struct ScanCheckpoint {
    size_t at = 0;  // where the scan goes on, in code
    // The last words before it, newest first; empty ones where the scanned
    // text began first. A unit head looks back three words at most.
    std::array<std::string_view, 3> words{};
    ScanTally tally;  // up to it
    // The first design unit found after this checkpoint and before the next
    // one, with the tally up to it and where the earliest word it looked
    // back to begins; found is empty when there is none.
    std::string_view found;
    ScanTally foundTally;
    size_t foundWordsFrom = 0;
};

// One pass over a source (from where the analysis begins): its first control
// byte, and the body scan's checkpoints. Sources of 16 MiB and more are
// prescanned in two halves at once, the second half's scan starting as if
// the text began there; the first half's scan takes over the second's
// results where their states agree.
struct SourcePrescan {
    std::string_view text;
    size_t controlByte = std::string::npos;  // offset in text of the first control byte
    // Empty when the scan could not follow the text to its end (a control
    // byte, or words it could not look back to).
    std::vector<ScanCheckpoint> checkpoints;
    ScanTally tally;  // at the end of the text
    bool unterminatedComment = false;
    // The last OF or IS that looked back to where the scanned text began, for
    // lack of words; a scan of a longer text may find a unit head there.
    size_t lastShortSighted = std::string::npos;
};
SourcePrescan prescanSource(std::string_view text);

// The scan of `body`; with a prescan of a text that ends with `body`, from the
// first checkpoint where the two scans agree on, the prescan's results.
BodyScan scanBody(std::string_view body, const SourcePrescan* prescan = nullptr);
// The same scan, character by character: where the words before a unit head
// lie beyond what the fast scan keeps, and the reference of the tests.
BodyScan scanBodyByCharacter(std::string_view body);

// The body as the copies write it: `body` up to the closing clause that `scan`
// found (the last whole word END outside comments and string literals), then
// that clause and everything after it as blanks (the length is kept). The
// source is not changed. False when the scan found no closing clause.
bool cutClosingEnd(const SourceSpan& body, const BodyScan& scan, ArchitectureBody& cut);
// Blanks the closing clause of a text in place, with a scan of its own.
bool cutClosingEnd(std::string& body);

}  // namespace velmorn
