// The architecture body: one pass that finds its closing END clause, design
// units after it and unterminated literals and comments; the cut of the
// closing clause.
#pragma once

#include <string>
#include <string_view>

#include "model/source_text.h"

namespace velmorn {

// One pass over the body text, outside comments and literals.
struct BodyScan {
    size_t lastEnd = std::string::npos;  // offset of the last whole word END
    std::string unitAfterBody;           // "second architecture", ... or empty
    bool unterminatedString = false;     // a string literal runs to its line end
    bool unterminatedComment = false;    // a "/*" comment is never closed
};
BodyScan scanBody(std::string_view body);

// The body as the copies write it: `body` up to the closing clause that `scan`
// found (the last whole word END outside comments and string literals), then
// that clause and everything after it as blanks (the length is kept). The
// source is not changed. False when the scan found no closing clause.
bool cutClosingEnd(const SourceSpan& body, const BodyScan& scan, ArchitectureBody& cut);
// Blanks the closing clause of a text in place, with a scan of its own.
bool cutClosingEnd(std::string& body);

}  // namespace velmorn
