#include "read/body.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "read/byte_masks.h"
#include "support/helper_thread.h"
#include "support/two_workers.h"

namespace velmorn {

namespace {

constexpr size_t kNone = std::string::npos;
constexpr const char* kPackageAfter = "package after the architecture";

bool isIdentChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool isEndWord(std::string_view s, size_t i)
{
    if (i + 3 > s.size()) return false;
    auto up = [&](size_t k) { return static_cast<char>(s[k] >= 'a' && s[k] <= 'z' ? s[k] - 32 : s[k]); };
    if (up(i) != 'E' || up(i + 1) != 'N' || up(i + 2) != 'D') return false;
    if (i > 0 && isIdentChar(s[i - 1])) return false;
    return i + 3 == s.size() || !isIdentChar(s[i + 3]);
}

// The offset after the "*/" of a delimited comment that starts at `i`, or
// the text's size + 1 when it is never closed.
size_t skipDelimitedComment(std::string_view s, size_t i)
{
    const size_t close = s.find("*/", i + 2);
    return close == std::string_view::npos ? s.size() + 1 : close + 2;
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

std::string upperCase(std::string_view w)
{
    std::string u(w);
    for (char& c : u) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    return u;
}

// The design unit whose head ends with the word `w` (OF or IS) after the
// words w1, w2, w3 (newest first), or nullptr. A package head (kPackageAfter)
// counts only after the body's first BEGIN.
const char* unitHead(std::string_view w, std::string_view w2, std::string_view w3)
{
    const char* found = nullptr;
    if (sameWord(w, "OF")) {
        if (sameWord(w2, "ARCHITECTURE")) found = "second architecture";
        if (sameWord(w2, "CONFIGURATION")) found = "configuration after the architecture";
    } else if (sameWord(w, "IS")) {
        if (sameWord(w2, "ENTITY")) found = "entity after the architecture";
        if (sameWord(w2, "PACKAGE") || (sameWord(w2, "BODY") && sameWord(w3, "PACKAGE"))) found = kPackageAfter;
        if (sameWord(w2, "CONTEXT")) found = "context declaration after the architecture";
    }
    return found;
}

// True when the text from `a` to `b` is blanks and one ":".
bool onlyColonBetween(std::string_view s, size_t a, size_t b)
{
    int colons = 0;
    for (size_t i = a; i < b; ++i) {
        if (s[i] == ':') ++colons;
        else if (s[i] != ' ' && s[i] != '\t' && s[i] != '\n' && s[i] != '\r') return false;
    }
    return colons == 1;
}

// Remembers the last three words of the body to recognise the head of a
// design unit that follows the architecture.
struct UnitHeads {
    std::string_view w1, w2, w3;  // the previous words, newest first
    const char* found = nullptr;

    bool seenBegin = false;  // a package before the first BEGIN is declared inside the architecture

    void word(std::string_view w)
    {
        if (w.size() == 2) {  // only OF and IS close a unit head
            const char* unit = unitHead(w, w2, w3);
            if (unit && (unit != kPackageAfter || seenBegin)) found = unit;
        }
        if (w.size() == 5 && sameWord(w, "BEGIN")) seenBegin = true;
        w3 = w2;
        w2 = w1;
        w1 = w;
    }
};

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
        if (!sameWord(w, "IS")) names.push_back(upperCase(w));
    }

    void word(std::string_view w, size_t start, size_t end, std::string_view body)
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

BodyScan scanBodyByCharacter(std::string_view body, std::string_view name)
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
    size_t nameEnd = kNone;  // after the last occurrence of the architecture's name
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
                i = lf == std::string_view::npos ? n : lf;
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
            if (w.size() == 12 && nameEnd != kNone && r.namesArchitecture == kNone && sameWord(w, "ARCHITECTURE") &&
                onlyColonBetween(body, nameEnd, start))
                r.namesArchitecture = start;
            units.word(w);
            used.word(w, start, i, body);
        }
        }
    }
    if (units.found) r.unitAfterBody = units.found;
    return r;
}

namespace {

constexpr size_t kCheckpointEvery = 64 * 1024;
// Comments and literals remembered for looking back from a rule's word or a
// checkpoint to the words before it. A comment with no word between it and the
// comment or literal before is kept as one with it, so that runs of comment
// lines take one place.
constexpr size_t kSkippedKept = 64;

const auto kIdentChars = [] {
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = isIdentChar(static_cast<char>(c));
    return t;
}();

bool sameView(std::string_view a, std::string_view b) { return a.data() == b.data() && a.size() == b.size(); }

// A tally of another scan from `join` on, continued from this scan's `mine`
// at that point: an END after the join point is the other scan's, else ours.
ScanTally carried(const ScanTally& later, const ScanTally& atJoin, const ScanTally& mine)
{
    return {later.lastEnd != atJoin.lastEnd ? later.lastEnd : mine.lastEnd,
            mine.unterminatedStrings + later.unterminatedStrings - atJoin.unterminatedStrings};
}

// The body scan over a text, from one byte that matters to the next. Its
// state between two such bytes: where it goes on (`at_`), whether it is in
// code, a comment or a string literal, whether it waits for the name after
// ENTITY or COMPONENT, and the last comments and literals it skipped (the
// words before a point are found by looking back over the text, jumping over
// those).
//
// The words it stops at are those the masks mark (END, ENTITY, OF, IS,
// BEGIN, COMPONENT, MAP, ARCHITECTURE begin with one of their letter
// groups); while it waits for a name, it reads every word.
class FastScan {
public:
    // The scan of `text`, which begins `base` bytes into the prescanned text,
    // for the architecture `name` (upper case; a prescan, which does not know
    // it, notes every "<name> : architecture"). `record`: the prescan that
    // this scan fills; `follow`: the prescan whose checkpoints this scan
    // compares its state with, to take over its results (`ready` is called
    // before the first comparison).
    FastScan(std::string_view text, size_t base, std::string_view name, SourcePrescan* record,
             const SourcePrescan* follow, std::function<void()> ready = {})
        : t_(text.data()),
          n_(text.size()),
          base_(base),
          name_(name),
          record_(record),
          follow_(follow),
          ready_(std::move(ready))
    {
        nextCheckpoint_ = (base / kCheckpointEvery + 1) * kCheckpointEvery;
        if (record_) record_->checkpoints.reserve(n_ / kCheckpointEvery + 1);
    }

    // Runs to the end of the text, to the first unit head (body scan) or to a
    // state of the followed prescan. False when the words before a rule's
    // word lay beyond the comments and literals kept.
    bool run();

    BodyScan result() const;

private:
    enum class Mode { Code, LineComment, BlockComment, String, Ended };
    struct Skipped {
        size_t from, to;
    };

    const char* t_;
    size_t n_;
    size_t base_;
    std::string_view name_;
    SourcePrescan* record_;
    const SourcePrescan* follow_;
    std::function<void()> ready_;

    Mode mode_ = Mode::Code;
    size_t at_ = 0;
    size_t skipFrom_ = 0;  // where the comment or literal being skipped began
    std::array<Skipped, kSkippedKept> skipped_{};
    size_t skippedCount_ = 0;
    size_t nextCheckpoint_;  // in the prescanned text's offsets
    size_t control_ = kNone;
    bool lost_ = false;
    UsedUnitWait waiting_ = UsedUnitWait::None;
    bool seenBegin_ = false;

    size_t lastEnd_ = kNone;
    size_t unterminatedStrings_ = 0;
    bool unterminatedComment_ = false;
    const char* found_ = nullptr;
    size_t namesArchitecture_ = kNone;    // the body scan's
    std::vector<std::string> usedUnits_;  // the body scan's
    // the results of a followed prescan, once this scan met one of its states
    bool joined_ = false;
    BodyScan joinedResult_;

    static bool ident(char c) { return kIdentChars[static_cast<unsigned char>(c)]; }
    static bool special(char c) { return c == '-' || c == '/' || c == '"' || c == '\''; }
    size_t offset(std::string_view w) const { return static_cast<size_t>(w.data() - t_); }
    ScanTally tally() const { return {lastEnd_ == kNone ? kNone : base_ + lastEnd_, unterminatedStrings_}; }
    void skip(size_t from, size_t to, bool comment = false);
    void block(size_t start, uint64_t code, uint64_t newline);
    void code(size_t i);
    void skipped(size_t i);
    void word(size_t i);
    void onWord(size_t start, size_t end);
    void awaitName();
    void addUsedUnit(std::string_view w);
    void unitFound(const char* unit);
    bool wordsBefore(size_t i, std::string_view* words, size_t count) const;
    bool lookBack(size_t i, std::string_view* words, size_t count);
    void checkpoint();
    bool mayJoin(const ScanCheckpoint& mine, const SourcePrescan& p, size_t index) const;
    void join(const SourcePrescan& p, size_t index);
};

void FastScan::skip(size_t from, size_t to, bool comment)
{
    if (comment && skippedCount_ > 0) {
        Skipped& last = skipped_[(skippedCount_ - 1) % kSkippedKept];
        size_t j = last.to;
        while (j < from && !ident(t_[j])) ++j;
        if (j == from) {
            last.to = to;
            return;
        }
    }
    skipped_[skippedCount_++ % kSkippedKept] = {from, to};
}

bool FastScan::run()
{
    ChunkMasks m;
    for (size_t chunk = 0; chunk < n_; chunk += kChunkBlocks * kMaskBlock) {
        // A prescan goes on looking for control bytes after the scan ended,
        // unless it took over another's results.
        if (mode_ == Mode::Ended && (!record_ || joined_)) break;
        const size_t blocks = chunkMasks(t_ + chunk, n_ - chunk, m);
        if (m.control && record_) {
            control_ = chunk;
            while (!isControlByte(static_cast<unsigned char>(t_[control_]))) ++control_;
            break;  // the analysis refuses the source: nothing more to find
        }
        for (size_t k = 0; k < blocks && mode_ != Mode::Ended; ++k) block(chunk + k * kMaskBlock, m.code[k], m.newline[k]);
        if (lost_ && !record_) return false;
    }
    if (mode_ == Mode::String) ++unterminatedStrings_;
    if (mode_ == Mode::BlockComment) unterminatedComment_ = true;
    if (!record_) return !lost_;
    if (!joined_) {
        record_->tally = tally();
        record_->unterminatedComment = unterminatedComment_;
        record_->controlByte = control_ == kNone ? kNone : base_ + control_;
    }
    if (lost_ || control_ != kNone) record_->checkpoints.clear();  // of no use
    // From each checkpoint, the earliest offset that any rule after it looked back to.
    size_t earliest = kNone;
    for (auto c = record_->checkpoints.rbegin(); c != record_->checkpoints.rend(); ++c)
        c->lookedBackTo = earliest = std::min(earliest, c->lookedBackTo);
    return !lost_;
}

// The events of one block, from where the scan goes on.
inline void FastScan::block(size_t start, uint64_t code, uint64_t newline)
{
    if (at_ >= start + kMaskBlock) return;
    uint64_t ahead = at_ > start ? ~uint64_t{0} << (at_ - start) : ~uint64_t{0};
    for (;;) {
        if (mode_ == Mode::Code) {
            // Most events leave the scan in code, a few bytes further on.
            uint64_t events = code & ahead;
            for (;;) {
                if (events == 0) return;
                const size_t i = start + static_cast<size_t>(__builtin_ctzll(events));
                this->code(i);
                if (mode_ != Mode::Code || base_ + at_ >= nextCheckpoint_) break;
                if (at_ >= start + kMaskBlock) return;
                events &= ~uint64_t{0} << (at_ - start);
            }
        } else {
            const uint64_t events =
                (mode_ == Mode::LineComment ? newline : mode_ == Mode::String ? code | newline : code) & ahead;
            if (events == 0) return;
            skipped(start + static_cast<size_t>(__builtin_ctzll(events)));
        }
        if (mode_ == Mode::Ended) return;
        if (mode_ == Mode::Code && base_ + at_ >= nextCheckpoint_) checkpoint();
        if (mode_ == Mode::Ended || at_ >= start + kMaskBlock) return;
        ahead = ~uint64_t{0} << (at_ - start);
    }
}

// An event inside a comment or string literal: its end, or a byte of it.
inline void FastScan::skipped(size_t i)
{
    at_ = i + 1;
    switch (mode_) {
    case Mode::LineComment:  // at its line feed, which is code
        skip(skipFrom_, i, true);
        mode_ = Mode::Code;
        break;
    case Mode::String:
        if (t_[i] == '"' || t_[i] == '\n') {
            unterminatedStrings_ += t_[i] == '\n';
            skip(skipFrom_, at_);
            mode_ = Mode::Code;
        }
        break;
    case Mode::BlockComment:  // "*/" that begins two bytes after its "/*" or later
        if (t_[i] == '/' && i >= skipFrom_ + 3 && t_[i - 1] == '*') {
            skip(skipFrom_, at_, true);
            mode_ = Mode::Code;
        }
        break;
    default:
        break;
    }
    if (mode_ == Mode::Code && waiting_ != UsedUnitWait::None) awaitName();
}

// An event in code.
inline void FastScan::code(size_t i)
{
    switch (t_[i]) {
    case '-':
        if (i + 1 < n_ && t_[i + 1] == '-') {
            mode_ = Mode::LineComment;
            skipFrom_ = i;
            at_ = i + 2;
            return;
        }
        at_ = i + 1;
        break;
    case '/':
        if (i + 1 < n_ && t_[i + 1] == '*') {
            mode_ = Mode::BlockComment;
            skipFrom_ = i;
            at_ = i + 2;
            return;
        }
        at_ = i + 1;
        break;
    case '"':
        mode_ = Mode::String;
        skipFrom_ = i;
        at_ = i + 1;
        return;
    case '\'':
        if (i + 2 < n_ && t_[i + 2] == '\'') {  // a character literal such as '"'
            skip(i, i + 3);
            at_ = i + 3;
        } else {
            at_ = i + 1;
        }
        break;
    default:
        word(i);
    }
    if (mode_ == Mode::Code && waiting_ != UsedUnitWait::None) awaitName();
}

// At a letter that the masks mark: a word of the rules only at its start.
inline void FastScan::word(size_t i)
{
    size_t end = i + 1;
    while (end < n_ && ident(t_[end])) ++end;
    at_ = end;
    if (i == 0 || !ident(t_[i - 1])) onWord(i, end);
}

// After ENTITY or COMPONENT: every word up to the name, which no mask marks.
void FastScan::awaitName()
{
    while (waiting_ != UsedUnitWait::None && mode_ == Mode::Code) {
        size_t i = at_;
        while (i < n_ && !ident(t_[i]) && !special(t_[i])) ++i;
        at_ = i;
        if (i == n_ || !ident(t_[i])) return;  // a comment or literal may come first: the events handle it
        size_t end = i + 1;
        while (end < n_ && ident(t_[end])) ++end;
        at_ = end;
        onWord(i, end);
    }
}

// The rules for one word, in the order of the scan by character.
void FastScan::onWord(size_t start, size_t end)
{
    const std::string_view w(t_ + start, end - start);
    std::string_view before[3];
    if (w.size() == 3 && sameWord(w, "END")) lastEnd_ = start;
    if (w.size() == 12 && sameWord(w, "ARCHITECTURE")) {
        if (!lookBack(start, before, 1)) return;
        if (!before[0].empty() && onlyColonBetween(std::string_view(t_, n_), offset(before[0]) + before[0].size(), start)) {
            if (record_) record_->architectureNames.push_back({base_ + start, before[0]});
            else if (namesArchitecture_ == kNone && sameWord(before[0], name_)) namesArchitecture_ = start;
        }
    }
    const char* unit = nullptr;
    if (w.size() == 2 && (sameWord(w, "OF") || sameWord(w, "IS"))) {
        // Only PACKAGE BODY ... IS looks back three words.
        if (!lookBack(start, before, 2)) return;
        if (sameWord(w, "IS") && sameWord(before[1], "BODY") && !lookBack(start, before, 3)) return;
        unit = unitHead(w, before[1], before[2]);
    }
    if (w.size() == 5 && sameWord(w, "BEGIN")) {
        seenBegin_ = true;
        if (record_ && !record_->checkpoints.empty()) record_->checkpoints.back().begins = true;
    }
    if (waiting_ != UsedUnitWait::None) {
        // A name after ENTITY may be selected (work.timer): its last part.
        if (waiting_ == UsedUnitWait::AfterComponent || end == n_ || t_[end] != '.') {
            addUsedUnit(w);
            waiting_ = UsedUnitWait::None;
        }
    } else if ((w.size() == 6 && sameWord(w, "ENTITY")) || (w.size() == 9 && sameWord(w, "COMPONENT"))) {
        if (!lookBack(start, before, 1)) return;
        if (!sameWord(before[0], "END"))
            waiting_ = w.size() == 6 ? UsedUnitWait::AfterEntity : UsedUnitWait::AfterComponent;
    } else if (w.size() == 3 && sameWord(w, "MAP")) {
        // "label : name port map" or "... generic map"
        if (!lookBack(start, before, 1)) return;
        const bool mapsPorts = sameWord(before[0], "PORT") || sameWord(before[0], "GENERIC");
        if (mapsPorts && !lookBack(start, before, 3)) return;
        if (mapsPorts && !before[1].empty()) {
            const size_t labelEnd = before[2].empty() ? 0 : offset(before[2]) + before[2].size();
            if (onlyColonBetween(std::string_view(t_, n_), labelEnd, offset(before[1]))) addUsedUnit(before[1]);
        }
    }
    if (unit) unitFound(unit);
}

void FastScan::addUsedUnit(std::string_view w)
{
    if (sameWord(w, "IS")) return;
    if (record_) record_->usedUnits.push_back(w);
    else usedUnits_.push_back(upperCase(w));
}

// The body scan ends at a unit head; a prescan notes the first after each
// checkpoint and goes on.
void FastScan::unitFound(const char* unit)
{
    if (!record_) {
        if (unit == kPackageAfter && !seenBegin_) return;  // a package inside the architecture
        found_ = unit;
        mode_ = Mode::Ended;
        return;
    }
    if (record_->checkpoints.empty()) return;
    ScanCheckpoint& c = record_->checkpoints.back();
    const FoundUnit f{unit, tally(), record_->usedUnits.size(), record_->architectureNames.size()};
    if (c.head.unit.empty()) c.head = f;
    if (c.headWithoutBegin.unit.empty() && (unit != kPackageAfter || c.begins)) c.headWithoutBegin = f;
}

// The `count` words before `i`, newest first (empty ones where the text
// begins first); false when they lie beyond the comments and literals kept.
bool FastScan::wordsBefore(size_t i, std::string_view* words, size_t count) const
{
    size_t q = i;
    size_t older = skippedCount_;  // skipped_[older - 1] is the newest not yet passed
    for (size_t k = 0; k < count; ++k) {
        for (;;) {
            if (older > 0) {
                if (older + kSkippedKept <= skippedCount_) return false;  // forgotten
                const Skipped& s = skipped_[(older - 1) % kSkippedKept];
                if (s.to == q) {
                    q = s.from;
                    --older;
                    continue;
                }
            }
            if (q == 0 || ident(t_[q - 1])) break;
            --q;
        }
        const size_t end = q;
        while (q > 0 && ident(t_[q - 1])) --q;
        words[k] = q == end ? std::string_view() : std::string_view(t_ + q, end - q);
    }
    return true;
}

// The `count` words before a rule's word at `i`, as many as its decision
// rests on; a prescan notes how far back they lie, and where they ran out at
// the start of its text. Out of words kept, the scan is lost.
bool FastScan::lookBack(size_t i, std::string_view* words, size_t count)
{
    if (!wordsBefore(i, words, count)) {
        lost_ = true;
        mode_ = Mode::Ended;
        return false;
    }
    if (record_) {
        const bool shortSighted = words[count - 1].empty();
        if (shortSighted) record_->lastShortSighted = base_ + i;
        if (!record_->checkpoints.empty()) {
            size_t& earliest = record_->checkpoints.back().lookedBackTo;
            earliest = std::min(earliest, shortSighted ? base_ : base_ + offset(words[count - 1]));
        }
    }
    return true;
}

void FastScan::checkpoint()
{
    while (nextCheckpoint_ <= base_ + at_) nextCheckpoint_ += kCheckpointEvery;
    ScanCheckpoint c;
    c.at = base_ + at_;
    if (!wordsBefore(at_, c.words.data(), c.words.size())) {
        if (record_) {
            lost_ = true;  // a prescan with a gap is of no use
            mode_ = Mode::Ended;
        }
        return;
    }
    c.waiting = waiting_;
    c.tally = tally();
    if (follow_ && c.at >= static_cast<size_t>(follow_->text.data() - (t_ - base_))) {
        if (ready_) {
            ready_();
            ready_ = nullptr;
        }
        const auto& cps = follow_->checkpoints;
        auto it = std::lower_bound(cps.begin(), cps.end(), c.at,
                                   [](const ScanCheckpoint& p, size_t at) { return p.at < at; });
        if (it != cps.end() && it->at == c.at && mayJoin(c, *follow_, static_cast<size_t>(it - cps.begin()))) {
            join(*follow_, static_cast<size_t>(it - cps.begin()));
            return;
        }
    }
    if (record_) {
        c.usedUnits = record_->usedUnits.size();
        c.architectureNames = record_->architectureNames.size();
        record_->checkpoints.push_back(c);
    }
}

// Whether this scan, at the checkpoint `mine`, does from here on what `p`
// did after its checkpoint `index` at the same place: both wait for the same
// word and look back to the same words, or the one whose text began later
// sees the other's words up to where its text began, and nothing the other
// found from here on rests on words that this scan sees differently.
bool FastScan::mayJoin(const ScanCheckpoint& mine, const SourcePrescan& p, size_t index) const
{
    const ScanCheckpoint& theirs = p.checkpoints[index];
    if (mine.waiting != theirs.waiting) return false;
    size_t k = 0;
    while (k < mine.words.size() && sameView(mine.words[k], theirs.words[k])) ++k;
    if (k == mine.words.size()) return true;
    auto endsAt = [&](const std::array<std::string_view, 3>& w) {
        for (size_t j = k; j < w.size(); ++j)
            if (!w[j].empty()) return false;
        return true;
    };
    if (endsAt(theirs.words)) {
        // Their text began later: a rule that looked back there is theirs to miss.
        return p.lastShortSighted == kNone || p.lastShortSighted < mine.at;
    }
    if (!endsAt(mine.words)) return false;
    // Ours began later: no rule of theirs from here on may look back past the
    // words that both see.
    const size_t seenFrom = k > 0 ? base_ + offset(mine.words[k - 1]) : mine.at;
    return theirs.lookedBackTo == kNone || theirs.lookedBackTo >= seenFrom;
}

// From here on this scan would do what `p` did: its results after the
// checkpoint become this scan's.
void FastScan::join(const SourcePrescan& p, size_t index)
{
    const ScanCheckpoint& from = p.checkpoints[index];
    const ScanTally atJoin = from.tally, mine = tally();
    joined_ = true;
    mode_ = Mode::Ended;
    if (record_) {
        const size_t usedBase = record_->usedUnits.size(), namesBase = record_->architectureNames.size();
        auto moved = [&](FoundUnit& f) {
            f.tally = carried(f.tally, atJoin, mine);
            f.usedUnits = usedBase + (f.usedUnits - from.usedUnits);
            f.architectureNames = namesBase + (f.architectureNames - from.architectureNames);
        };
        for (size_t k = index; k < p.checkpoints.size(); ++k) {
            ScanCheckpoint c = p.checkpoints[k];
            c.tally = carried(c.tally, atJoin, mine);
            c.usedUnits = usedBase + (c.usedUnits - from.usedUnits);
            c.architectureNames = namesBase + (c.architectureNames - from.architectureNames);
            if (!c.head.unit.empty()) moved(c.head);
            if (!c.headWithoutBegin.unit.empty()) moved(c.headWithoutBegin);
            record_->checkpoints.push_back(c);
        }
        record_->usedUnits.insert(record_->usedUnits.end(), p.usedUnits.begin() + static_cast<long>(from.usedUnits),
                                  p.usedUnits.end());
        record_->architectureNames.insert(record_->architectureNames.end(),
                                          p.architectureNames.begin() + static_cast<long>(from.architectureNames),
                                          p.architectureNames.end());
        record_->tally = carried(p.tally, atJoin, mine);
        record_->joinedAt = from.at;
        record_->unterminatedComment = p.unterminatedComment;
        record_->controlByte = p.controlByte;
        if (p.lastShortSighted != kNone &&
            (record_->lastShortSighted == kNone || p.lastShortSighted > record_->lastShortSighted))
            record_->lastShortSighted = p.lastShortSighted;
        return;
    }
    // The first unit head from here that counts for this scan: a package
    // head only once a BEGIN has been seen.
    const FoundUnit* f = nullptr;
    bool begun = seenBegin_;
    for (size_t k = index; k < p.checkpoints.size() && !f; ++k) {
        const FoundUnit& h = begun ? p.checkpoints[k].head : p.checkpoints[k].headWithoutBegin;
        if (!h.unit.empty()) f = &h;
        begun = begun || p.checkpoints[k].begins;
    }
    const ScanTally t = carried(f ? f->tally : p.tally, atJoin, mine);
    BodyScan& r = joinedResult_;
    r.lastEnd = t.lastEnd == kNone ? kNone : t.lastEnd - base_;
    r.unterminatedString = t.unterminatedStrings > 0;
    r.unterminatedComment = !f && p.unterminatedComment;
    if (f) r.unitAfterBody = std::string(f->unit);
    r.usedUnits = usedUnits_;
    const size_t usedEnd = f ? f->usedUnits : p.usedUnits.size();
    for (size_t k = from.usedUnits; k < usedEnd; ++k) r.usedUnits.push_back(upperCase(p.usedUnits[k]));
    r.namesArchitecture = namesArchitecture_;
    const size_t namesEnd = f ? f->architectureNames : p.architectureNames.size();
    for (size_t k = from.architectureNames; k < namesEnd && r.namesArchitecture == kNone; ++k)
        if (sameWord(p.architectureNames[k].name, name_)) r.namesArchitecture = p.architectureNames[k].at - base_;
}

BodyScan FastScan::result() const
{
    if (joined_) return joinedResult_;
    BodyScan r;
    r.lastEnd = lastEnd_;
    r.unterminatedString = unterminatedStrings_ > 0;
    r.unterminatedComment = unterminatedComment_;
    if (found_) r.unitAfterBody = found_;
    r.namesArchitecture = namesArchitecture_;
    r.usedUnits = usedUnits_;
    return r;
}

// Whether `p` prescanned a text that ends with `text`, which begins `*base`
// bytes into it.
bool prescanned(const SourcePrescan* p, std::string_view text, size_t* base)
{
    if (!p || p->checkpoints.empty() || text.data() < p->text.data() ||
        text.data() + text.size() != p->text.data() + p->text.size())
        return false;
    *base = static_cast<size_t>(text.data() - p->text.data());
    return true;
}

}  // namespace

SourcePrescan prescanSource(std::string_view text, double firstShare)
{
    SourcePrescan p;
    p.text = text;
    // The second part on the other thread, as if the text began there.
    constexpr double kLeastShare = 0.25;
    const double share = std::clamp(firstShare, kLeastShare, 1 - kLeastShare);
    const size_t split = static_cast<size_t>(static_cast<double>(text.size()) * share) / kMaskBlock * kMaskBlock;
    SourcePrescan second;
    second.text = text.substr(split);
    // On the run's helper where there is one (it starts at once on the other
    // processor), or else on a thread of its own.
    TaskBeside secondPart;
    const bool shared = text.size() >= kTwoPartsFrom && twoCores() &&
                        secondPart.start([&] { FastScan(second.text, split, {}, &second, nullptr).run(); });
    if (!shared) {
        FastScan(text, 0, {}, &p, nullptr).run();  // no thread to be had: the whole text on this one
        return p;
    }
    FastScan(text, 0, {}, &p, &second, [&] { secondPart.join(); }).run();
    secondPart.join();
    return p;
}

BodyScan scanBody(std::string_view body, std::string_view name, const SourcePrescan* prescan)
{
    size_t base = 0;
    const bool follows = prescanned(prescan, body, &base);
    FastScan scan(body, base, name, nullptr, follows ? prescan : nullptr);
    return scan.run() ? scan.result() : scanBodyByCharacter(body, name);
}

bool cutClosingEnd(const SourceSpan& body, const BodyScan& scan, ArchitectureBody& cut)
{
    if (scan.lastEnd == std::string::npos) return false;
    cut.kept = body.first(scan.lastEnd);
    cut.blanks = body.text.size() - scan.lastEnd;
    return true;
}

bool cutClosingEnd(std::string& body)
{
    const BodyScan scan = scanBody(body);
    if (scan.lastEnd == std::string::npos) return false;
    std::fill(body.begin() + static_cast<long>(scan.lastEnd), body.end(), ' ');
    return true;
}

}  // namespace velmorn
