// The analysis of the source: library clauses, the entity's generics and ports,
// the architecture head and body. It fills one Design.
#pragma once

#include <ostream>
#include <string>

#include "lex/lex.h"
#include "parser/design.h"

namespace velmorn {

// Blanks the closing END clause of an architecture body: the last whole word
// END outside comments and string literals, and everything after it, become
// blanks (the length is kept). "/* */" comments count as comments too. False
// when the body has no such END.
bool cutClosingEnd(std::string& body);

// One pass over the body text, outside comments and literals.
struct BodyScan {
    size_t lastEnd = std::string::npos;  // offset of the last whole word END
    std::string unitAfterBody;           // "second architecture", ... or empty
    bool unterminatedString = false;     // a string literal runs to its line end
    bool unterminatedComment = false;    // a "/*" comment is never closed
};
BodyScan scanBody(const std::string& body);
// Blanks the closing clause that `scan` found in `body`; false when it found none.
bool cutClosingEnd(std::string& body, const BodyScan& scan);

class Analysis {
public:
    Analysis(Scanner& scanner, Design& design, std::ostream& out, std::string sourceName)
        : lex_(scanner), d_(design), out_(out), source_(std::move(sourceName))
    {
    }

    // Reads the whole source; true when the design is complete and may be
    // generated. Every refusal has been reported on the console.
    bool parse();

private:
    Scanner& lex_;
    Design& d_;
    std::ostream& out_;
    std::string source_;
    std::string item;
    std::string prev_, prev2_;  // the two tokens before `item`

    void next();
    bool library();
    bool entity();
    bool architecture();
    bool noEntity();
    bool noArchitecture();
    bool unsupported(const std::string& what);
};

}  // namespace velmorn
