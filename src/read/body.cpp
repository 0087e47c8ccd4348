#include "read/body.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

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
// Comments and literals remembered for looking back from a unit head or a
// checkpoint to the words before it. Neighbours with no word between them are
// kept as one, so that looking back four words passes at most five of them.
constexpr size_t kSkippedKept = 16;

bool sameView(std::string_view a, std::string_view b) { return a.data() == b.data() && a.size() == b.size(); }

// The body scan over a text, from one byte that matters to the next. Its
// state between two such bytes: where it goes on (`at_`), whether it is in
// code, a comment or a string literal, and the last comments and literals it
// skipped (the words before a point are found by looking back over the text,
// jumping over those).
class FastScan {
public:
    // The scan of `text`, which begins `base` bytes into the prescanned text.
    // `record`: the prescan that this scan fills; `follow`: a prescan whose
    // checkpoints this scan compares its state with.
    FastScan(std::string_view text, size_t base, SourcePrescan* record, const SourcePrescan* follow)
        : t_(text.data()), n_(text.size()), base_(base), record_(record), follow_(follow)
    {
        nextCheckpoint_ = (base / kCheckpointEvery + 1) * kCheckpointEvery;
        if (record_) record_->checkpoints.reserve(n_ / kCheckpointEvery + 1);
    }

    // Runs to the end of the text (prescan), to the first unit head or a
    // state of the followed prescan (body scan). False when the words before
    // a unit head lay beyond the comments and literals kept.
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

    static bool ident(char c) { return isIdentChar(c); }
    void skip(size_t from, size_t to);
    void code(size_t i);
    void word(size_t i);
    bool wordsBefore(size_t i, std::string_view* words, size_t count) const;
    void checkpoint();
    void join(const SourcePrescan& p, size_t index);
};

void FastScan::skip(size_t from, size_t to)
{
    if (skippedCount_ > 0) {
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
    for (size_t block = 0; block < n_; block += kMaskBlock) {
        const BlockMasks m = blockMasks(t_ + block, n_ - block);
        if (m.control && control_ == kNone && record_) {
            for (size_t j = block; j < n_; ++j)
                if (isControlByte(static_cast<unsigned char>(t_[j]))) {
                    control_ = j;
                    break;
                }
            break;  // the analysis refuses the source: nothing more to find
        }
        if (mode_ == Mode::Ended) {
            if (record_) continue;  // control bytes are still looked for
            break;
        }
        if (at_ >= block + kMaskBlock) continue;
        uint64_t ahead = at_ > block ? ~uint64_t{0} << (at_ - block) : ~uint64_t{0};
        for (;;) {
            uint64_t events = mode_ == Mode::LineComment ? m.newline
                              : mode_ == Mode::String    ? m.code | m.newline
                                                         : m.code;
            events &= ahead;
            if (events == 0) break;
            const size_t i = block + static_cast<size_t>(__builtin_ctzll(events));
            switch (mode_) {
            case Mode::Code:
                code(i);
                break;
            case Mode::LineComment:  // at its line feed
                skip(skipFrom_, i);
                mode_ = Mode::Code;
                at_ = i + 1;
                break;
            case Mode::String:
                at_ = i + 1;
                if (t_[i] == '"' || t_[i] == '\n') {
                    unterminatedStrings_ += t_[i] == '\n';
                    skip(skipFrom_, at_);
                    mode_ = Mode::Code;
                }
                break;
            case Mode::BlockComment:  // "*/" that begins two bytes after its "/*" or later
                at_ = i + 1;
                if (t_[i] == '/' && i >= skipFrom_ + 3 && t_[i - 1] == '*') {
                    skip(skipFrom_, at_);
                    mode_ = Mode::Code;
                }
                break;
            case Mode::Ended:
                break;
            }
            if (mode_ == Mode::Ended) break;
            if (mode_ == Mode::Code && base_ + at_ >= nextCheckpoint_) checkpoint();
            if (mode_ == Mode::Ended || at_ >= block + kMaskBlock) break;
            ahead = ~uint64_t{0} << (at_ - block);
        }
        if (lost_ && !record_) return false;
    }
    if (mode_ == Mode::String) ++unterminatedStrings_;
    if (mode_ == Mode::BlockComment) unterminatedComment_ = true;
    if (record_) {
        record_->lastEnd = lastEnd_;
        record_->unterminatedStrings = unterminatedStrings_;
        record_->unterminatedComment = unterminatedComment_;
        if (lost_ || control_ != kNone) record_->checkpoints.clear();  // of no use
        record_->controlByte = control_;
    }
    return !lost_;
}

void FastScan::code(size_t i)
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
    const char* unit = unitHead(std::string_view(t_ + i, 2), before[1], before[2]);
    if (!unit) return;
    if (!record_) {
        found_ = unit;
        mode_ = Mode::Ended;
        return;
    }
    ScanCheckpoint* last = record_->checkpoints.empty() ? nullptr : &record_->checkpoints.back();
    if (last && last->found.empty()) {
        last->found = unit;
        last->foundLastEnd = lastEnd_;
        last->foundUnterminatedStrings = unterminatedStrings_;
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
    c.lastEnd = lastEnd_ == kNone ? kNone : base_ + lastEnd_;
    c.unterminatedStrings = unterminatedStrings_;
    if (record_) {
        record_->checkpoints.push_back(c);
        return;
    }
    if (!follow_) return;
    const auto& cps = follow_->checkpoints;
    auto it = std::lower_bound(cps.begin(), cps.end(), c.at,
                               [](const ScanCheckpoint& p, size_t at) { return p.at < at; });
    if (it == cps.end() || it->at != c.at) return;
    for (size_t k = 0; k < c.words.size(); ++k)
        if (!sameView(c.words[k], it->words[k])) return;
    join(*follow_, static_cast<size_t>(it - cps.begin()));
}

// From here on this scan would do what the prescan did: its results after the
// checkpoint are this scan's.
void FastScan::join(const SourcePrescan& p, size_t index)
{
    const ScanCheckpoint& c = p.checkpoints[index];
    auto ownEnd = [&](size_t prescanEnd) {
        return prescanEnd != c.lastEnd ? prescanEnd - base_ : lastEnd_;  // an END after the checkpoint, or ours
    };
    BodyScan& r = joinedResult_;
    r = BodyScan();
    const ScanCheckpoint* f = nullptr;
    for (size_t k = index; k < p.checkpoints.size() && !f; ++k)
        if (!p.checkpoints[k].found.empty()) f = &p.checkpoints[k];
    if (f) {
        r.unitAfterBody = std::string(f->found);
        r.lastEnd = ownEnd(f->foundLastEnd);
        r.unterminatedString = unterminatedStrings_ + f->foundUnterminatedStrings - c.unterminatedStrings > 0;
    } else {
        r.lastEnd = ownEnd(p.lastEnd);
        r.unterminatedString = unterminatedStrings_ + p.unterminatedStrings - c.unterminatedStrings > 0;
        r.unterminatedComment = p.unterminatedComment;
    }
    joined_ = true;
    mode_ = Mode::Ended;
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

}  // namespace

SourcePrescan prescanSource(std::string_view text)
{
    SourcePrescan p;
    p.text = text;
    FastScan(text, 0, &p, nullptr).run();
    return p;
}

BodyScan scanBody(std::string_view body, const SourcePrescan* prescan)
{
    const bool follows = prescan && !prescan->checkpoints.empty() && body.data() >= prescan->text.data() &&
                         body.data() + body.size() == prescan->text.data() + prescan->text.size();
    const size_t base = follows ? static_cast<size_t>(body.data() - prescan->text.data()) : 0;
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
