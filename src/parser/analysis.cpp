#include "parser/analysis.h"

#include <vector>

namespace velmorn {

namespace {

bool isIdentChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool isEndWord(const std::string& s, size_t i)
{
    if (i + 3 > s.size()) return false;
    auto up = [&](size_t k) { return static_cast<char>(s[k] >= 'a' && s[k] <= 'z' ? s[k] - 32 : s[k]); };
    if (up(i) != 'E' || up(i + 1) != 'N' || up(i + 2) != 'D') return false;
    if (i > 0 && isIdentChar(s[i - 1])) return false;
    return i + 3 == s.size() || !isIdentChar(s[i + 3]);
}

// The offset after the "*/" of a delimited comment that starts at `i`, or
// the text's size + 1 when it is never closed.
size_t skipDelimitedComment(const std::string& s, size_t i)
{
    const size_t close = s.find("*/", i + 2);
    return close == std::string::npos ? s.size() + 1 : close + 2;
}

// The words of a body outside comments, string and character literals, as
// cutClosingEnd sees them; the last three are kept to recognise the head of a
// design unit that follows the architecture.
struct BodyUnits {
    std::string w1, w2, w3;  // the previous words, newest first
    std::string found;       // what was found, or empty

    void word(std::string w)
    {
        for (char& ch : w)
            if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
        if (w == "OF" && w2 == "ARCHITECTURE") found = "second architecture";
        if (w == "OF" && w2 == "CONFIGURATION") found = "configuration after the architecture";
        if (w == "IS" && w2 == "ENTITY") found = "entity after the architecture";
        if (w == "IS" && (w2 == "PACKAGE" || (w2 == "BODY" && w3 == "PACKAGE")))
            found = "package after the architecture";
        if (w == "IS" && w2 == "CONTEXT") found = "context declaration after the architecture";
        w3 = std::move(w2);
        w2 = std::move(w1);
        w1 = std::move(w);
    }
};

}  // namespace

std::string findUnitAfterBody(const std::string& body, bool& unterminatedString, bool& unterminatedComment)
{
    BodyUnits units;
    unterminatedString = unterminatedComment = false;
    const size_t n = body.size();
    for (size_t i = 0; i < n && units.found.empty();) {
        char c = body[i];
        if (c == '-' && i + 1 < n && body[i + 1] == '-') {
            while (i < n && body[i] != '\n') ++i;
        } else if (c == '/' && i + 1 < n && body[i + 1] == '*') {
            i = skipDelimitedComment(body, i);
            if (i > n) unterminatedComment = true;
        } else if (c == '"') {
            ++i;
            while (i < n && body[i] != '"' && body[i] != '\n') ++i;
            if (i >= n || body[i] == '\n') unterminatedString = true;
            ++i;
        } else if (c == '\'' && i + 2 < n && body[i + 2] == '\'') {
            i += 3;
        } else if (isIdentChar(c)) {
            size_t start = i;
            while (i < n && isIdentChar(body[i])) ++i;
            units.word(body.substr(start, i - start));
        } else {
            ++i;
        }
    }
    return units.found;
}

bool cutClosingEnd(std::string& body)
{
    size_t last = std::string::npos;
    const size_t n = body.size();
    for (size_t i = 0; i < n;) {
        char c = body[i];
        if (c == '-' && i + 1 < n && body[i + 1] == '-') {
            while (i < n && body[i] != '\n') ++i;
        } else if (c == '/' && i + 1 < n && body[i + 1] == '*') {
            i = skipDelimitedComment(body, i);
        } else if (c == '"') {
            ++i;
            while (i < n && body[i] != '"' && body[i] != '\n') ++i;
            ++i;
        } else if (c == '\'' && i + 2 < n && body[i + 2] == '\'') {
            i += 3;  // a character literal such as '"'
        } else if (isIdentChar(c)) {
            size_t start = i;
            while (i < n && isIdentChar(body[i])) ++i;
            if (i - start == 3 && isEndWord(body, start)) last = start;
        } else {
            ++i;
        }
    }
    if (last == std::string::npos) return false;
    std::fill(body.begin() + static_cast<long>(last), body.end(), ' ');
    return true;
}

bool Analysis::noEntity()
{
    out_ << "No entity found in input file - " << source_ << " !" << "\n";
    return false;
}

bool Analysis::unsupported(const std::string& what)
{
    out_ << "Unsupported " << what << " in input file - " << source_ << " !" << "\n";
    return false;
}

void Analysis::next()
{
    prev2_ = std::move(prev_);
    prev_ = std::move(item);
    item = lex_.lex();
}

bool Analysis::noArchitecture()
{
    out_ << "No architecture found in input file - " << source_ << " !" << "\n";
    return false;
}

bool Analysis::parse()
{
    d_.inname = lex_.inname;
    const size_t bad = lex_.findControlByte();
    if (bad != std::string::npos) {
        out_ << "Invalid character at line " << lex_.lineOf(bad) << " in input file - " << source_ << " !"
             << "\n";
        return false;
    }
    next();
    if (item == "LIBRARY" && !library()) return false;
    if (item == "PACKAGE") return unsupported("package before the entity");
    if (item == "CONFIGURATION") return unsupported("configuration before the entity");
    if (item == "CONTEXT") return unsupported("context declaration before the entity");
    if (item != "ENTITY") return noEntity();
    if (!entity()) return false;
    return architecture();
}

bool Analysis::library()
{
    d_.librarys = "LIBRARY";
    lex_.knihovna = lex_.strednik = 1;
    next();
    std::string word1, word2;  // the last two words, newest first
    while (item != "ENTITY" && item != "ARCHITECTURE" && !item.empty()) {
        if (item == "PACKAGE") return unsupported("package before the entity");
        if (item == "CONFIGURATION") return unsupported("configuration before the entity");
        if (item == "IS" && word2 == "CONTEXT") return unsupported("context declaration before the entity");
        if (item != " " && item != ";") {
            word2 = std::move(word1);
            word1 = item;
        }
        d_.librarys += item;
        const bool semicolon = item == ";";
        next();
        if (semicolon) d_.librarys += "\n";
    }
    lex_.strednik = lex_.knihovna = 0;
    return true;
}

bool Analysis::entity()
{
    next();
    if (item.empty()) return noEntity();
    d_.entity_name = item;
    out_ << "Analysis of entity - " << d_.entity_name << " ";
    next();  // IS
    next();
    if (item == "END") {
        next();
        out_ << item << "konec";
    } else {
        std::vector<std::string> names;
        auto readNames = [&]() {
            while (item != ":") {
                if (item.empty()) return false;
                if (item != "SIGNAL" && item != "VARIABLE" && item != "CONSTANT") names.push_back(item);
                next();
            }
            return true;
        };
        auto captureType = [&]() {
            lex_.typ = 1;
            std::string type = lex_.lex();
            lex_.typ = 0;
            return type;
        };
        if (item == "GENERIC") {
            next();
            while (item != "PORT" && item != "END") {
                if (!readNames()) return noArchitecture();
                std::string type = captureType();
                for (auto& name : names) d_.add_generic(name, type, item);
                names.clear();
                next();
            }
        }
        if (item == "PORT") {
            next();
            std::string inout;
            while (item != "END") {
                if (!readNames()) return noArchitecture();
                next();  // the mode word, or the first word of the type
                std::string typeWord;
                if (item == "IN" || item == "OUT" || item == "INOUT") {
                    inout = item;
                } else if (item == "BUFFER") {
                    inout = "OUT";
                } else if (item == "LINKAGE") {
                    out_ << "Unsupported port mode LINKAGE in entity - " << d_.entity_name << " !" << "\n";
                    return false;
                } else if (item.empty()) {
                    return noArchitecture();
                } else {
                    inout = "IN";  // no mode word: an IN port
                    typeWord = item;
                }
                std::string type = captureType();
                if (!typeWord.empty()) type = "  " + typeWord + (type.empty() ? "" : type.substr(1));
                for (auto& name : names) {
                    if (inout == "IN") d_.add_inport(name, type, "", inout);
                    if (inout == "OUT") d_.add_outport(name, type, "", inout);
                    if (inout == "INOUT") d_.add_inoutport(name, type, "", inout);
                }
                names.clear();
                next();
            }
            out_ << "...";
        }
    }
    out_ << " Done\n";
    // Everything up to the architecture is skipped: a design unit there would
    // be lost, or the architecture would belong to another entity. ";" is a
    // token here, so that 'end; entity' is not taken for 'end entity'.
    lex_.strednik = 1;
    while (item != "ARCHITECTURE") {
        if (item.empty()) return noArchitecture();
        if (item == "ENTITY" && prev_ != "END") return unsupported("second entity before the architecture");
        if (item == "PACKAGE" && prev_ != "END")
            return unsupported("package between the entity and the architecture");
        if (item == "CONFIGURATION" && prev_ != "END")
            return unsupported("configuration between the entity and the architecture");
        if (item == "IS" && prev2_ == "CONTEXT")
            return unsupported("context declaration between the entity and the architecture");
        next();
    }
    lex_.strednik = 0;
    return true;
}

bool Analysis::architecture()
{
    next();  // the architecture's name
    next();  // OF
    next();  // the entity's name
    if (item.empty()) return noArchitecture();
    out_ << "Analysis of architecture " << item << " ...";
    next();  // IS
    if (item.empty()) return noArchitecture();
    lex_.obsah = 1;
    d_.obsah2 = lex_.lex();
    out_ << " Done\n";
    bool unterminatedString = false, unterminatedComment = false;
    const std::string after = findUnitAfterBody(d_.obsah2, unterminatedString, unterminatedComment);
    if (!after.empty()) return unsupported(after);
    if (unterminatedString || unterminatedComment) {
        out_ << "Unterminated " << (unterminatedString ? "string literal" : "comment")
             << " in the architecture of input file - " << source_ << " !" << "\n";
        return false;
    }
    if (!cutClosingEnd(d_.obsah2)) {
        out_ << "Can't find the end of architecture in input file - " << source_ << " !" << "\n";
        return false;
    }
    return true;
}

}  // namespace velmorn
