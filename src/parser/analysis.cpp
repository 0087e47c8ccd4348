#include "parser/analysis.h"

#include <algorithm>
#include <array>
#include <string_view>
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

bool sameWord(std::string_view w, std::string_view upper)
{
    if (w.size() != upper.size()) return false;
    for (size_t i = 0; i < w.size(); ++i) {
        char c = w[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        if (c != upper[i]) return false;
    }
    return true;
}

// Remembers the last three words of the body to recognise the head of a
// design unit that follows the architecture.
struct UnitHeads {
    std::string_view w1, w2, w3;  // the previous words, newest first
    const char* found = nullptr;

    void word(std::string_view w)
    {
        if (w.size() == 2) head(w);  // only OF and IS close a unit head
        w3 = w2;
        w2 = w1;
        w1 = w;
    }

    void head(std::string_view w)
    {
        if (sameWord(w, "OF")) {
            if (sameWord(w2, "ARCHITECTURE")) found = "second architecture";
            if (sameWord(w2, "CONFIGURATION")) found = "configuration after the architecture";
        } else if (sameWord(w, "IS")) {
            if (sameWord(w2, "ENTITY")) found = "entity after the architecture";
            if (sameWord(w2, "PACKAGE") || (sameWord(w2, "BODY") && sameWord(w3, "PACKAGE")))
                found = "package after the architecture";
            if (sameWord(w2, "CONTEXT")) found = "context declaration after the architecture";
        }
    }
};

}  // namespace

BodyScan scanBody(const std::string& body)
{
    // What a character can begin; looked up once per character.
    enum : unsigned char { kOther, kIdent, kDash, kSlash, kQuote, kTick };
    static const auto kClass = [] {
        std::array<unsigned char, 256> t{};
        for (int c = 0; c < 256; ++c) {
            if (isIdentChar(static_cast<char>(c))) t[c] = kIdent;
        }
        t['-'] = kDash;
        t['/'] = kSlash;
        t['"'] = kQuote;
        t['\''] = kTick;
        return t;
    }();
    const char* const text = body.data();  // locals, so that nothing reloads them per character
    const size_t n = body.size();
    auto cls = [&](size_t i) { return kClass[static_cast<unsigned char>(text[i])]; };

    BodyScan r;
    UnitHeads units;
    for (size_t i = 0; i < n && !units.found;) {
        switch (cls(i)) {
        case kOther:
            ++i;
            while (i < n && cls(i) == kOther) ++i;
            break;
        case kDash:
            if (i + 1 < n && text[i + 1] == '-') {
                const size_t lf = body.find('\n', i);
                i = lf == std::string::npos ? n : lf;
            } else {
                ++i;
            }
            break;
        case kSlash:
            if (i + 1 < n && text[i + 1] == '*') {
                i = skipDelimitedComment(body, i);
                if (i > n) r.unterminatedComment = true;
            } else {
                ++i;
            }
            break;
        case kQuote:
            ++i;
            while (i < n && text[i] != '"' && text[i] != '\n') ++i;
            if (i >= n || text[i] == '\n') r.unterminatedString = true;
            ++i;
            break;
        case kTick:
            i += i + 2 < n && text[i + 2] == '\'' ? 3 : 1;  // 3: a character literal such as '"'
            break;
        default: {
            const size_t start = i;
            while (i < n && cls(i) == kIdent) ++i;
            const std::string_view w(text + start, i - start);
            if (w.size() == 3 && isEndWord(body, start)) r.lastEnd = start;
            units.word(w);
        }
        }
    }
    if (units.found) r.unitAfterBody = units.found;
    return r;
}

bool cutClosingEnd(std::string& body) { return cutClosingEnd(body, scanBody(body)); }

bool cutClosingEnd(std::string& body, const BodyScan& scan)
{
    if (scan.lastEnd == std::string::npos) return false;
    std::fill(body.begin() + static_cast<long>(scan.lastEnd), body.end(), ' ');
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
    const BodyScan scan = scanBody(d_.obsah2);
    if (!scan.unitAfterBody.empty()) return unsupported(scan.unitAfterBody);
    if (scan.unterminatedString || scan.unterminatedComment) {
        out_ << "Unterminated " << (scan.unterminatedString ? "string literal" : "comment")
             << " in the architecture of input file - " << source_ << " !" << "\n";
        return false;
    }
    if (!cutClosingEnd(d_.obsah2, scan)) {
        out_ << "Can't find the end of architecture in input file - " << source_ << " !" << "\n";
        return false;
    }
    return true;
}

}  // namespace velmorn
