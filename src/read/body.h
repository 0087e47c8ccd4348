// The architecture body: one pass that finds its closing END clause, design
// units after it and unterminated literals and comments; the cut of the
// closing clause.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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
// `name`: the architecture's name, upper case (may be empty).
BodyScan scanBody(const std::string& body, std::string_view name = {});

// Blanks the closing clause that `scan` found in `body`: the last whole word
// END outside comments and string literals, and everything after it, become
// blanks (the length is kept). False when it found none.
bool cutClosingEnd(std::string& body, const BodyScan& scan);
// The same with a scan of its own.
bool cutClosingEnd(std::string& body);

}  // namespace velmorn
