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

// True when the text from `a` to `b` is blanks and one ":".
bool onlyColonBetween(const std::string& s, size_t a, size_t b)
{
    int colons = 0;
    for (size_t i = a; i < b; ++i) {
        if (s[i] == ':') ++colons;
        else if (s[i] != ' ' && s[i] != '\t' && s[i] != '\n' && s[i] != '\r') return false;
    }
    return colons == 1;
}

// Collects the names of the design units that the body uses: after ENTITY
// (a selected name such as work.timer_cmp), after COMPONENT, and the unit of
// an instance "label : name port map".
struct UsedUnits {
    std::vector<std::string>& names;
    bool afterEntity = false, afterComponent = false;
    std::string_view w1 = {}, w2 = {};  // the previous words, newest first
    size_t w2Start = 0, w3End = 0;  // where w2 starts, where the word before it ends
    size_t w1Start = 0, w2End = 0, w1End = 0;

    void add(std::string_view w)
    {
        if (sameWord(w, "IS")) return;
        std::string u(w);
        for (char& c : u) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        names.push_back(std::move(u));
    }

    void word(std::string_view w, size_t start, size_t end, const std::string& body)
    {
        if (afterEntity) {
            if (end >= body.size() || body[end] != '.') {
                add(w);
                afterEntity = false;
            }
        } else if (afterComponent) {
            add(w);
            afterComponent = false;
        } else if (w.size() == 6 && sameWord(w, "ENTITY") && !sameWord(w1, "END")) {
            afterEntity = true;
        } else if (w.size() == 9 && sameWord(w, "COMPONENT") && !sameWord(w1, "END")) {
            afterComponent = true;
        } else if (w.size() == 3 && sameWord(w, "MAP") && (sameWord(w1, "PORT") || sameWord(w1, "GENERIC")) &&
                   !w2.empty() && onlyColonBetween(body, w3End, w2Start)) {
            add(w2);
        }
        w3End = w2End;
        w2 = w1, w2Start = w1Start, w2End = w1End;
        w1 = w, w1Start = start, w1End = end;
    }
};

}  // namespace

BodyScan scanBody(const std::string& body, std::string_view name)
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
    size_t nameEnd = std::string::npos;  // after the last occurrence of the architecture's name
    UsedUnits used{r.usedUnits};
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
            if (w.size() == name.size() && sameWord(w, name)) nameEnd = i;
            if (w.size() == 12 && nameEnd != std::string::npos && r.namesArchitecture == std::string::npos &&
                sameWord(w, "ARCHITECTURE") && onlyColonBetween(body, nameEnd, start))
                r.namesArchitecture = start;
            units.word(w);
            used.word(w, start, i, body);
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
