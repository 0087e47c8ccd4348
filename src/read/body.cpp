#include "read/body.h"

#include <algorithm>
#include <array>
#include <string_view>

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

    bool seenBegin = false;  // a package before the first BEGIN is declared inside the architecture

    void word(std::string_view w)
    {
        if (w.size() == 2) head(w);  // only OF and IS close a unit head
        if (w.size() == 5 && sameWord(w, "BEGIN")) seenBegin = true;
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
            if ((sameWord(w2, "PACKAGE") || (sameWord(w2, "BODY") && sameWord(w3, "PACKAGE"))) && seenBegin)
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

}  // namespace velmorn
