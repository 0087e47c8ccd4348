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

// The scan's state where the prescan passed a multiple of 64 KiB.
struct ScanCheckpoint {
    size_t at = 0;                       // where the scan goes on, in code
    std::array<std::string_view, 4> words{};  // the last words before it, newest first
    size_t lastEnd = std::string::npos;  // the results up to it
    size_t unterminatedStrings = 0;
    // The first design unit found after this checkpoint and before the next
    // one, with the results up to it; found is empty when there is none.
    std::string_view found;
    size_t foundLastEnd = std::string::npos;
    size_t foundUnterminatedStrings = 0;
};

// One pass over a source (from where the analysis begins): its first control
// byte, and the body scan's checkpoints.
struct SourcePrescan {
    std::string_view text;
    size_t controlByte = std::string::npos;  // offset in text of the first control byte
    // Empty when the scan could not follow the text to its end (a control
    // byte, or words it could not look back to: see scanBody).
    std::vector<ScanCheckpoint> checkpoints;
    size_t lastEnd = std::string::npos;      // the results at the end of the text
    size_t unterminatedStrings = 0;
    bool unterminatedComment = false;
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
