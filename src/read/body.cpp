#include "read/body.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <system_error>
#include <thread>

#include "read/byte_masks.h"

namespace velmorn {

namespace {

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

// The design unit whose head ends with the word `w` (OF or IS) after the
// words w1, w2, w3 (newest first), or nullptr.
const char* unitHead(std::string_view w, std::string_view w2, std::string_view w3)
{
    const char* found = nullptr;
    if (sameWord(w, "OF")) {
        if (sameWord(w2, "ARCHITECTURE")) found = "second architecture";
        if (sameWord(w2, "CONFIGURATION")) found = "configuration after the architecture";
    } else if (sameWord(w, "IS")) {
        if (sameWord(w2, "ENTITY")) found = "entity after the architecture";
        if (sameWord(w2, "PACKAGE") || (sameWord(w2, "BODY") && sameWord(w3, "PACKAGE")))
            found = "package after the architecture";
        if (sameWord(w2, "CONTEXT")) found = "context declaration after the architecture";
    }
    return found;
}

// Remembers the last three words of the body to recognise the head of a
// design unit that follows the architecture.
struct UnitHeads {
    std::string_view w1, w2, w3;  // the previous words, newest first
    const char* found = nullptr;

    void word(std::string_view w)
    {
        if (w.size() == 2) found = unitHead(w, w2, w3);  // only OF and IS close a unit head
        w3 = w2;
        w2 = w1;
        w1 = w;
    }
};

}  // namespace

BodyScan scanBodyByCharacter(std::string_view body)
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
            units.word(w);
        }
        }
    }
    if (units.found) r.unitAfterBody = units.found;
    return r;
}

namespace {

constexpr size_t kNone = std::string::npos;
constexpr size_t kCheckpointEvery = 64 * 1024;
constexpr size_t kTwoHalvesFrom = 16 * 1024 * 1024;
// Comments and literals remembered for looking back from a unit head or a
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
// code, a comment or a string literal, and the last comments and literals it
// skipped (the words before a point are found by looking back over the text,
// jumping over those).
class FastScan {
public:
    // The scan of `text`, which begins `base` bytes into the prescanned text.
    // `record`: the prescan that this scan fills; `follow`: the prescan whose
    // checkpoints this scan compares its state with, to take over its
    // results (`ready` is called before the first comparison).
    FastScan(std::string_view text, size_t base, SourcePrescan* record, const SourcePrescan* follow,
             std::function<void()> ready = {})
        : t_(text.data()), n_(text.size()), base_(base), record_(record), follow_(follow), ready_(std::move(ready))
    {
        nextCheckpoint_ = (base / kCheckpointEvery + 1) * kCheckpointEvery;
        if (record_) record_->checkpoints.reserve(n_ / kCheckpointEvery + 1);
    }

    // Runs to the end of the text, to the first unit head (body scan) or to a
    // state of the followed prescan. False when the words before a unit head
    // lay beyond the comments and literals kept.
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

    size_t lastEnd_ = kNone;
    size_t unterminatedStrings_ = 0;
    bool unterminatedComment_ = false;
    const char* found_ = nullptr;
    // the results of a followed prescan, once this scan met one of its states
    bool joined_ = false;
    BodyScan joinedResult_;

    static bool ident(char c) { return kIdentChars[static_cast<unsigned char>(c)]; }
    ScanTally tally() const { return {lastEnd_ == kNone ? kNone : base_ + lastEnd_, unterminatedStrings_}; }
    void skip(size_t from, size_t to, bool comment = false);
    void block(size_t start, uint64_t code, uint64_t newline);
    void code(size_t i);
    void skipped(size_t i);
    void word(size_t i);
    bool wordsBefore(size_t i, std::string_view* words, size_t count) const;
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
    if (record_ && !joined_) {
        record_->tally = tally();
        record_->unterminatedComment = unterminatedComment_;
        record_->controlByte = control_ == kNone ? kNone : base_ + control_;
        if (lost_ || control_ != kNone) record_->checkpoints.clear();  // of no use
    }
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
        } else {
            at_ = i + 1;
        }
        return;
    case '/':
        if (i + 1 < n_ && t_[i + 1] == '*') {
            mode_ = Mode::BlockComment;
            skipFrom_ = i;
            at_ = i + 2;
        } else {
            at_ = i + 1;
        }
        return;
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
        return;
    default:
        word(i);
    }
}

// At the first letter of "end", "of" or "is": counts only as a whole word.
void FastScan::word(size_t i)
{
    at_ = i + 1;
    if (i > 0 && ident(t_[i - 1])) return;
    const size_t length = (t_[i] | 0x20) == 'e' ? 3 : 2;
    if (i + length < n_ && ident(t_[i + length])) return;
    at_ = i + length;
    if (length == 3) {
        lastEnd_ = i;
        return;
    }
    std::string_view before[3];
    if (!wordsBefore(i, before, 3)) {
        lost_ = true;
        mode_ = Mode::Ended;
        return;
    }
    if (record_ && before[2].empty()) record_->lastShortSighted = base_ + i;
    const char* unit = unitHead(std::string_view(t_ + i, 2), before[1], before[2]);
    if (!unit) return;
    if (!record_) {
        found_ = unit;
        mode_ = Mode::Ended;
        return;
    }
    // A prescan notes the first unit head after each checkpoint and goes on.
    if (!record_->checkpoints.empty() && record_->checkpoints.back().found.empty()) {
        ScanCheckpoint& c = record_->checkpoints.back();
        c.found = unit;
        c.foundTally = tally();
        const std::string_view& earliest = before[2].empty() ? before[1] : before[2];
        c.foundWordsFrom = base_ + static_cast<size_t>(earliest.data() - t_);
    }
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
    if (record_) record_->checkpoints.push_back(c);
}

// Whether this scan, at the checkpoint `mine`, does from here on what `p`
// did after its checkpoint `index` at the same place: both look back to the
// same words, or the one whose text began later sees the other's words up to
// where its text began, and nothing the other found rests on words that this
// scan sees differently.
bool FastScan::mayJoin(const ScanCheckpoint& mine, const SourcePrescan& p, size_t index) const
{
    const auto& theirs = p.checkpoints[index].words;
    size_t k = 0;
    while (k < mine.words.size() && sameView(mine.words[k], theirs[k])) ++k;
    if (k == mine.words.size()) return true;
    auto endsAt = [&](const std::array<std::string_view, 3>& w) {
        for (size_t j = k; j < w.size(); ++j)
            if (!w[j].empty()) return false;
        return true;
    };
    if (endsAt(theirs)) {
        // Their text began later: a unit head that looked back there is theirs to miss.
        return p.lastShortSighted == kNone || p.lastShortSighted < mine.at;
    }
    if (!endsAt(mine.words)) return false;
    // Ours began later: their first unit head from here must rest on our text.
    for (size_t j = index; j < p.checkpoints.size(); ++j)
        if (!p.checkpoints[j].found.empty()) return p.checkpoints[j].foundWordsFrom >= base_;
    return true;
}

// From here on this scan would do what `p` did: its results after the
// checkpoint become this scan's.
void FastScan::join(const SourcePrescan& p, size_t index)
{
    const ScanTally atJoin = p.checkpoints[index].tally, mine = tally();
    joined_ = true;
    mode_ = Mode::Ended;
    if (record_) {
        for (size_t k = index; k < p.checkpoints.size(); ++k) {
            ScanCheckpoint c = p.checkpoints[k];
            c.tally = carried(c.tally, atJoin, mine);
            if (!c.found.empty()) c.foundTally = carried(c.foundTally, atJoin, mine);
            record_->checkpoints.push_back(c);
        }
        record_->tally = carried(p.tally, atJoin, mine);
        record_->unterminatedComment = p.unterminatedComment;
        record_->controlByte = p.controlByte;
        return;
    }
    const ScanCheckpoint* f = nullptr;
    for (size_t k = index; k < p.checkpoints.size() && !f; ++k)
        if (!p.checkpoints[k].found.empty()) f = &p.checkpoints[k];
    const ScanTally t = carried(f ? f->foundTally : p.tally, atJoin, mine);
    BodyScan& r = joinedResult_;
    r.lastEnd = t.lastEnd == kNone ? kNone : t.lastEnd - base_;
    r.unterminatedString = t.unterminatedStrings > 0;
    r.unterminatedComment = !f && p.unterminatedComment;
    if (f) r.unitAfterBody = std::string(f->found);
}

BodyScan FastScan::result() const
{
    if (joined_) return joinedResult_;
    BodyScan r;
    r.lastEnd = lastEnd_;
    r.unterminatedString = unterminatedStrings_ > 0;
    r.unterminatedComment = unterminatedComment_;
    if (found_) r.unitAfterBody = found_;
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

SourcePrescan prescanSource(std::string_view text)
{
    SourcePrescan p;
    p.text = text;
    // The second half on a thread of its own, as if the text began there.
    const size_t half = text.size() / 2 / kMaskBlock * kMaskBlock;
    SourcePrescan second;
    second.text = text.substr(half);
    std::thread secondHalf;
    if (text.size() >= kTwoHalvesFrom && std::thread::hardware_concurrency() >= 2) {
        try {
            secondHalf = std::thread([&] { FastScan(second.text, half, &second, nullptr).run(); });
        } catch (const std::system_error&) {
            // no thread to be had: the whole text on this one
        }
    }
    if (!secondHalf.joinable()) {
        FastScan(text, 0, &p, nullptr).run();
        return p;
    }
    FastScan(text, 0, &p, &second, [&] { secondHalf.join(); }).run();
    if (secondHalf.joinable()) secondHalf.join();
    return p;
}

BodyScan scanBody(std::string_view body, const SourcePrescan* prescan)
{
    size_t base = 0;
    const bool follows = prescanned(prescan, body, &base);
    FastScan scan(body, base, nullptr, follows ? prescan : nullptr);
    return scan.run() ? scan.result() : scanBodyByCharacter(body);
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
