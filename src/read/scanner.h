// The VHDL token scanner. The source is mapped into memory once; the analysis
// asks for the kind of token it expects next: a word (upper-cased words, digit
// strings and ":"), a token of a library clause (where white space and ";"
// count), the raw type text of a declaration, or the rest of the file.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "model/source_text.h"
#include "read/body.h"

namespace velmorn {

class Scanner {
public:
    // Maps the whole source (or reads it where it cannot be mapped); false
    // when it is not a readable regular file. The mapping stays while a span
    // of it is held.
    bool load(const std::string& path);
    // Scans a text in memory (tests and the fuzz target).
    void loadText(std::string text);

    // The next word, number or ":"; white space, comments and every other
    // character are skipped. The empty token once the input has ended.
    std::string word();
    // The same, with ";" a token of its own.
    std::string wordOrSemicolon();
    // A token of a library or use clause: each white-space character is a " "
    // token, and ";" and "," are tokens.
    std::string clauseToken();
    // The two words ":" and a word after it, where nothing but white space
    // comes before and after the colon: the word put in `into` (upper case)
    // as word() would give it after ":". False, with nothing read and `into`
    // untouched, otherwise.
    bool colonThenWord(std::string& into);
    // The same three, put in `into` (its memory reused from token to token).
    void word(std::string& into);
    void wordOrSemicolon(std::string& into);
    void clauseToken(std::string& into);
    // The raw text of a declaration up to its end, after its colon or mode
    // word: begins with a blank, keeps the source's case. The declaration
    // ends at its ";" outside parentheses and literals, or at the ")" that
    // closes its list (then *closedList is set); comments are dropped. A line
    // end inside parentheses is kept; a line end after which the declaration
    // goes on, with the blanks around it, is one blank.
    std::string typeText(bool* closedList = nullptr);
    // The raw text of a declaration up to and including its ";" outside
    // parentheses and literals, comments dropped.
    std::string declarationText();
    // Everything that is left of the source.
    SourceSpan restOfFile();

    // The text being scanned, and the offset in it where the scan stands.
    std::string_view text() const { return buf_; }
    size_t position() const { return pos_; }
    // A scanner of the same text that starts at `offset`, for a second thread
    // that reads a part of the source (without the prescan).
    Scanner startingAt(size_t offset) const;
    // Goes on where `other`, a scanner of the same text, stands.
    void continueFrom(const Scanner& other)
    {
        pos_ = other.pos_;
        wordStart_ = other.wordStart_;
    }

    // The last word or number returned, as the source spells it.
    std::string lastWordAsWritten(size_t length) const { return std::string(buf_.substr(wordStart_, length)); }

    // The offset of the first byte that no VHDL text holds (a control
    // character other than tab, line feed, vertical tab, form feed and carriage
    // return) in what is left to scan, or npos. The same pass prescans the
    // body scan (read/body.h), so that the source is read from memory once.
    size_t findControlByte();
    // What the last findControlByte found for the body scan.
    const SourcePrescan& prescanned() const { return prescan_; }
    // The share of the source that this thread read where it was read in
    // chunks (1 where this thread read them all; kEvenShare for a source
    // mapped or held in memory): the prescan's first part is as large.
    double readShare() const { return readShare_; }
    // The line (from 1) of an offset returned by findControlByte.
    size_t lineOf(size_t offset) const;

private:
    std::string_view buf_;               // the source text
    std::shared_ptr<const void> keeper_;  // what buf_ lives in
    size_t pos_ = 0;
    size_t wordStart_ = 0;  // where the last word or number began
    SourcePrescan prescan_;
    double readShare_ = kEvenShare;

    void hold(std::shared_ptr<const std::string> text);

    bool ended() const { return pos_ >= buf_.size(); }
    // The offset of the first character from `at` that is neither white
    // space nor part of a comment.
    size_t skipBlanksAndComments(size_t at) const;
    void token(std::string& into, bool blanksAreTokens, bool semicolonIsToken);
};

}  // namespace velmorn
