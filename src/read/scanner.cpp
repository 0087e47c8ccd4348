#include "read/scanner.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "support/helper_thread.h"
#include "support/mapped_ahead.h"
#include "support/two_workers.h"

namespace velmorn {

namespace {

constexpr bool isSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
constexpr int upper(int c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }
constexpr bool isDigit(int c) { return c >= '0' && c <= '9'; }
constexpr bool isWordStart(int c) { return c == '_' || (c >= 'A' && c <= 'Z'); }
constexpr bool isWordChar(int c) { return isWordStart(c) || isDigit(c) || c == '.' || c == '-'; }

// The characters that go on a word (either case) and a number.
constexpr auto kWordChar = [] {
    std::array<bool, 256> goesOn{};
    for (int c = 0; c < 256; ++c) goesOn[c] = isWordChar(upper(c));
    return goesOn;
}();
constexpr auto kDigit = [] {
    std::array<bool, 256> digit{};
    for (int c = '0'; c <= '9'; ++c) digit[c] = true;
    return digit;
}();

// The characters that a declaration's type text stops at: its end, line
// ends, literals and comments. Parentheses are counted on the way.
constexpr auto kTypeTextStop = [] {
    std::array<bool, 256> stop{};
    for (unsigned char c : std::string_view(";\n\r\"'-/")) stop[c] = true;
    return stop;
}();
constexpr auto kParenthesis = [] {
    std::array<signed char, 256> opens{};
    opens['('] = 1;
    opens[')'] = -1;
    return opens;
}();
constexpr auto kSpace = [] {
    std::array<bool, 256> space{};
    for (int c = 0; c < 256; ++c) space[c] = isSpace(c);
    return space;
}();

// Where the run of type-text characters from `at` ends (at a stop character
// or the end of `text`); the "(" less ")" in the run are added to `opened`.
// Sixteen bytes at a time where the processor can.
// The set bits of a 16-bit mask, without the library call that a processor
// of the baseline instruction set needs for it.
constexpr long bitsOf(unsigned mask)
{
    mask = mask - ((mask >> 1) & 0x5555u);
    mask = (mask & 0x3333u) + ((mask >> 2) & 0x3333u);
    mask = (mask + (mask >> 4)) & 0x0F0Fu;
    return static_cast<long>((mask + (mask >> 8)) & 0x1Fu);
}
static_assert(bitsOf(0) == 0 && bitsOf(0xFFFFu) == 16 && bitsOf(0x8001u) == 2 && bitsOf(0x5A5Au) == 8);

size_t typeTextRun(std::string_view text, size_t at, long& opened)
{
#if defined(__SSE2__)
    auto is = [](__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
    while (at + 16 <= text.size()) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        const __m128i stop = _mm_or_si128(_mm_or_si128(_mm_or_si128(is(v, ';'), is(v, '\n')), _mm_or_si128(is(v, '\r'), is(v, '"'))),
                                          _mm_or_si128(_mm_or_si128(is(v, '\''), is(v, '-')), is(v, '/')));
        const unsigned stops = static_cast<unsigned>(_mm_movemask_epi8(stop));
        const unsigned taken = stops ? (1u << __builtin_ctz(stops)) - 1 : 0xFFFFu;
        const unsigned opens = static_cast<unsigned>(_mm_movemask_epi8(is(v, '('))) & taken;
        const unsigned closes = static_cast<unsigned>(_mm_movemask_epi8(is(v, ')'))) & taken;
        if (opens | closes) opened += bitsOf(opens) - bitsOf(closes);
        if (stops) return at + static_cast<size_t>(__builtin_ctz(stops));
        at += 16;
    }
#endif
    while (at < text.size() && !kTypeTextStop[static_cast<unsigned char>(text[at])])
        opened += kParenthesis[static_cast<unsigned char>(text[at++])];
    return at;
}

// `n` characters of a word from `from` to `to`, upper-cased (ASCII: the
// characters of a word are), eight at a time: a byte from "a" to "z" has 0x20
// taken off, found by two additions that carry into its top bit.
void copyUpperCase(char* to, const char* from, size_t n)
{
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, from + i, 8);
        const uint64_t fromA = w + 0x1F1F1F1F1F1F1F1Full;  // top bit set from 'a' (0x61) on
        const uint64_t pastZ = w + 0x0505050505050505ull;  // and from '{' (0x7B) on
        w -= ((fromA & ~pastZ) & 0x8080808080808080ull) >> 2;
        std::memcpy(to + i, &w, 8);
    }
    for (; i < n; ++i) to[i] = static_cast<char>(upper(static_cast<unsigned char>(from[i])));
}

// A declaration closed on the line of the last list element carries the list's
// ")" in its type text: drop the unmatched ")" at the end, with the white space
// after each of them. `excess`: how many more ")" than "(" the text holds,
// literals included. True when it dropped one.
bool dropListClosingParens(std::string& t, long excess)
{
    bool dropped = false;
    while (excess > 0) {
        size_t end = t.size();
        while (end > 0 && isSpace(static_cast<unsigned char>(t[end - 1]))) --end;
        if (end == 0 || t[end - 1] != ')') break;
        t.resize(end - 1);
        --excess;
        dropped = true;
    }
    return dropped;
}

constexpr size_t kLargePage = 2 * 1024 * 1024;
// Sources of at least one large page are read into large pages, up to half
// the memory that is free; smaller and larger ones are mapped from the page
// cache.
constexpr size_t kLargePagesFrom = kLargePage;

// A source that would take more than half the free memory is mapped, as its
// pages in the page cache can be dropped and read again.
bool fitsInLargePages(size_t size)
{
    if (size < kLargePagesFrom) return false;
    const long freePages = sysconf(_SC_AVPHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
    if (freePages <= 0 || pageSize <= 0) return false;
    return size <= static_cast<uint64_t>(freePages) * static_cast<uint64_t>(pageSize) / 2;
}

// Reads the file's bytes [from, to) into `text` at the same offsets, after
// mapping their memory; `got`: how many it read (fewer where the file
// shrank). False where the read fails.
bool readRange(int fd, char* text, size_t from, size_t to, size_t& got)
{
    mapForWriting(text + from, to - from);
    got = 0;
    while (from + got < to) {
        const ssize_t n = ::pread(fd, text + from + got, to - from - got, static_cast<off_t>(from + got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    return true;
}

// The first `size` bytes of a file read in chunks that two threads take in
// turn, each mapping the memory of the chunks it reads. On the virtual
// machines measured, one processor at times runs at about half the speed of
// the other for minutes on end: the thread there reads fewer chunks, and the
// share that each read tells the prescan how to share the scan.
class ChunkedRead {
public:
    static constexpr size_t kChunk = 4 * kLargePage;

    ChunkedRead(int fd, char* text, size_t size) : fd_(fd), text_(text), size_(size), end_(size) {}

    // Reads chunks until none is left or a read fails; the bytes read.
    size_t run()
    {
        size_t read = 0;
        while (!failed_.load(std::memory_order_relaxed)) {
            const size_t from = next_.fetch_add(kChunk);
            if (from >= size_) break;
            const size_t to = std::min(size_, from + kChunk);
            size_t got = 0;
            if (!readRange(fd_, text_, from, to, got)) failed_.store(true);
            read += got;
            if (from + got < to) endAt(from + got);  // the file shrank
        }
        return read;
    }
    bool failed() const { return failed_.load(); }
    // Where the text ends: the first byte that a read did not get.
    size_t end() const { return end_.load(); }

private:
    int fd_;
    char* text_;
    size_t size_;
    std::atomic<size_t> next_{0};
    std::atomic<size_t> end_;
    std::atomic<bool> failed_{false};

    void endAt(size_t at)
    {
        for (size_t e = end_.load(); at < e && !end_.compare_exchange_weak(e, at);) {
        }
    }
};

// The first `size` bytes of the file `fd` read into fresh memory that the
// system maps in large pages where it can (MADV_HUGEPAGE), and maps before
// the read, a chunk at a time. A source of this size mapped from the page cache
// lies in small pages, and on the virtual machines measured each small page
// costs microseconds at its first use: scanning a 100 MiB source so took
// ten times as long, and writing from it four times. Null where the memory
// or the read fails (the caller maps the file instead); `got` is less than
// `size` where the file ended sooner; `firstShare`: the share of the bytes
// that this thread read (the rest, the thread beside it).
std::shared_ptr<const void> readIntoLargePages(int fd, size_t size, size_t& got, double& firstShare)
{
    const size_t length = (size + kLargePage - 1) / kLargePage * kLargePage + kLargePage;  // room to align
    void* mapped = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    std::shared_ptr<const void> memory(mapped, [length](const void* m) { munmap(const_cast<void*>(m), length); });
    char* at = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(mapped) + kLargePage - 1) & ~(kLargePage - 1));
#ifdef MADV_HUGEPAGE
    (void)madvise(at, length - kLargePage, MADV_HUGEPAGE);
#endif
    ChunkedRead read(fd, at, size);
    size_t besideRead = 0;
    TaskBeside beside;
    if (size >= kTwoPartsFrom && twoCores()) beside.start([&] { besideRead = read.run(); });
    const size_t firstRead = read.run();
    beside.join();
    if (read.failed()) return nullptr;
    got = read.end();
    const size_t bothRead = firstRead + besideRead;
    firstShare = bothRead > 0 ? static_cast<double>(firstRead) / static_cast<double>(bothRead) : 1.0;
    return std::shared_ptr<const void>(memory, at);
}

}  // namespace

bool Scanner::load(const std::string& path)
{
    buf_ = {};
    keeper_.reset();
    prescan_ = SourcePrescan();
    pos_ = 0;
    readShare_ = kEvenShare;
    // Opened without blocking, so that a FIFO or a device given as the source
    // is refused instead of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0) ::close(fd);
        return false;
    }
    const size_t size = static_cast<size_t>(st.st_size);
    if (fitsInLargePages(size)) {
        size_t got = 0;
        std::shared_ptr<const void> memory = readIntoLargePages(fd, size, got, readShare_);
        if (memory) {
            ::close(fd);
            buf_ = std::string_view(static_cast<const char*>(memory.get()), got);
            keeper_ = std::move(memory);
            return true;
        }
    }
    // Otherwise mapped with its pages in place, so that neither a copy into
    // fresh memory nor a page fault per page is paid; the unit copies write
    // their body straight from the mapping.
    void* map = size > 0 ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0) : MAP_FAILED;
    if (map != MAP_FAILED) {
        ::close(fd);
        buf_ = std::string_view(static_cast<const char*>(map), size);
        keeper_ = std::shared_ptr<const void>(map, [size](const void* m) { munmap(const_cast<void*>(m), size); });
        return true;
    }
    // Empty, or on a file system that cannot map it: read into memory. One
    // byte more than the file's size, so that the read that meets the end of
    // the file needs no growth (growing would copy the whole text).
    auto text = std::make_shared<std::string>(size + 1, '\0');
    size_t got = 0;
    bool good = true;
    for (;;) {
        if (got == text->size()) text->resize(text->size() + 65536);  // the file grew while it was read
        const ssize_t n = ::read(fd, text->data() + got, text->size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            good = n == 0;
            break;
        }
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    if (!good) return false;
    text->resize(got);
    hold(std::move(text));
    return true;
}

void Scanner::loadText(std::string text) { hold(std::make_shared<const std::string>(std::move(text))); }

void Scanner::hold(std::shared_ptr<const std::string> text)
{
    buf_ = *text;
    prescan_ = SourcePrescan();
    readShare_ = kEvenShare;
    keeper_ = std::move(text);
    pos_ = 0;
}

Scanner Scanner::startingAt(size_t offset) const
{
    Scanner part;
    part.buf_ = buf_;
    part.keeper_ = keeper_;
    part.pos_ = part.wordStart_ = std::min(offset, buf_.size());
    return part;
}

bool Scanner::colonThenWord(std::string& into)
{
    size_t at = pos_;
    while (at < buf_.size() && kSpace[static_cast<unsigned char>(buf_[at])]) ++at;
    if (at >= buf_.size() || buf_[at] != ':') return false;
    ++at;
    while (at < buf_.size() && kSpace[static_cast<unsigned char>(buf_[at])]) ++at;
    if (at >= buf_.size() || !isWordStart(upper(static_cast<unsigned char>(buf_[at])))) return false;
    const size_t start = at;
    while (at < buf_.size() && kWordChar[static_cast<unsigned char>(buf_[at])]) ++at;
    wordStart_ = start;
    pos_ = at;
    into.resize(at - start);
    copyUpperCase(into.data(), buf_.data() + start, into.size());
    return true;
}

void Scanner::word(std::string& into) { token(into, false, false); }
void Scanner::wordOrSemicolon(std::string& into) { token(into, false, true); }
void Scanner::clauseToken(std::string& into) { token(into, true, true); }

namespace {

std::string tokenOf(Scanner& scanner, void (Scanner::*read)(std::string&))
{
    std::string t;
    (scanner.*read)(t);
    return t;
}

}  // namespace

std::string Scanner::word() { return tokenOf(*this, &Scanner::word); }
std::string Scanner::wordOrSemicolon() { return tokenOf(*this, &Scanner::wordOrSemicolon); }
std::string Scanner::clauseToken() { return tokenOf(*this, &Scanner::clauseToken); }

SourceSpan Scanner::restOfFile()
{
    SourceSpan rest;
    rest.text = buf_.substr(std::min(pos_, buf_.size()));
    rest.keeper = keeper_;
    pos_ = buf_.size();
    return rest;
}

size_t Scanner::findControlByte()
{
    prescan_ = prescanSource(buf_.substr(std::min(pos_, buf_.size())), readShare_);
    return prescan_.controlByte;
}

size_t Scanner::lineOf(size_t offset) const
{
    const size_t end = std::min(buf_.size(), pos_ + offset);
    return 1 + static_cast<size_t>(std::count(buf_.begin() + static_cast<long>(pos_),
                                              buf_.begin() + static_cast<long>(end), '\n'));
}

size_t Scanner::skipBlanksAndComments(size_t at) const
{
    const size_t n = buf_.size();
    while (at < n) {
        const char c = buf_[at];
        if (isSpace(static_cast<unsigned char>(c))) {
            ++at;
        } else if (c == '-' && at + 1 < n && buf_[at + 1] == '-') {
            while (at < n && buf_[at] != '\n') ++at;
        } else if (c == '/' && at + 1 < n && buf_[at + 1] == '*') {
            const size_t close = buf_.find("*/", at + 2);
            at = close == std::string::npos ? n : close + 2;
        } else {
            break;
        }
    }
    return at;
}

std::string Scanner::typeText(bool* closedList)
{
    if (closedList) *closedList = false;
    if (ended()) return std::string();
    // Room for the rest of the line, up to the length of most type texts: one
    // allocation, or none for a short type such as " bit".
    std::string t;
    const size_t lineLeft = std::min<size_t>(buf_.size() - pos_, 48);
    const void* lineEnd = std::memchr(buf_.data() + pos_, '\n', lineLeft);
    t.reserve(lineEnd ? static_cast<size_t>(static_cast<const char*>(lineEnd) - (buf_.data() + pos_)) + 1 : lineLeft + 1);
    int c = 0;
    long depth = 0;   // of the parentheses outside literals
    long excess = 0;  // ")" less "(" in t, literals included
    auto countParen = [&excess](int ch) { excess += (ch == ')') - (ch == '('); };
    auto next = [&]() -> bool {
        if (ended()) return false;
        c = static_cast<unsigned char>(buf_[pos_++]);
        return true;
    };
    t += ' ';  // a type text begins with a blank
    if (!next()) return t;
    for (;;) {
        if (c == ';') break;
        if (c == '\n' && depth <= 0) {
            // A line end ends the declaration only where its end or the
            // list's follows; otherwise the line end and the blanks around it
            // are one blank.
            const size_t at = skipBlanksAndComments(pos_);
            if (at >= buf_.size() || buf_[at] == ';' || buf_[at] == ')') {
                if (closedList && at < buf_.size() && buf_[at] == ')') *closedList = true;
                break;
            }
            while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.pop_back();
            t += ' ';
            pos_ = at;
            next();
            continue;
        }
        if (c == '"') {
            // A string literal is one atom: ";", "--" and parentheses in it count for nothing.
            t += '"';
            while (next() && c != '"' && c != '\n') {
                t += static_cast<char>(c);
                countParen(c);
            }
            if (c == '\n') continue;  // never closed: the line end counts as usual
            if (c == '"') t += '"';
            if (!next()) break;
            continue;
        }
        if (c == '\'' && pos_ + 1 < buf_.size() && buf_[pos_ + 1] == '\'' &&
            !(!t.empty() && (std::isalnum(static_cast<unsigned char>(t.back())) || t.back() == '_' || t.back() == ')'))) {
            t.append(buf_.data() + pos_ - 1, 3);  // a character literal such as ';' or '('
            countParen(static_cast<unsigned char>(buf_[pos_]));
            pos_ += 2;
            if (!next()) break;
            continue;
        }
        bool skip = false;
        if (c == '\r' && !ended() && buf_[pos_] == '\n') {
            skip = true;  // the CR of a CRLF line end
        } else if (c == '-' && !ended() && buf_[pos_] == '-') {
            while (!ended() && buf_[pos_] != '\n') ++pos_;  // a comment, to its line end
            skip = true;
        } else if (c == '/' && !ended() && buf_[pos_] == '*') {
            const size_t close = buf_.find("*/", pos_ + 1);  // a delimited comment
            pos_ = close == std::string::npos ? buf_.size() : close + 2;
            skip = true;
        }
        if (!skip && !kTypeTextStop[c]) {
            // A run of characters taken in one piece, its parentheses counted.
            const size_t start = pos_ - 1;
            long opened = kParenthesis[c];
            pos_ = typeTextRun(buf_, pos_, opened);
            t.append(buf_.data() + start, pos_ - start);
            depth += opened;
            excess -= opened;
        } else if (!skip) {
            t += static_cast<char>(c);
        }
        if (!next()) break;
    }
    if (dropListClosingParens(t, excess) && closedList) *closedList = true;
    return t;
}

std::string Scanner::declarationText()
{
    std::string t;
    long depth = 0;
    while (!ended()) {
        const char c = buf_[pos_++];
        if (c == '"') {
            const size_t close = buf_.find_first_of("\"\n", pos_);
            const size_t end = close == std::string::npos ? buf_.size() : close + 1;
            t.append(buf_, pos_ - 1, end - pos_ + 1);
            pos_ = end;
            continue;
        }
        if (c == '-' && !ended() && buf_[pos_] == '-') {
            while (!ended() && buf_[pos_] != '\n') ++pos_;
            continue;
        }
        if (c == '/' && !ended() && buf_[pos_] == '*') {
            const size_t close = buf_.find("*/", pos_ + 1);
            pos_ = close == std::string::npos ? buf_.size() : close + 2;
            continue;
        }
        if (c == '\r') continue;
        t += c;
        depth += (c == '(') - (c == ')');
        if (c == ';' && depth <= 0) break;
    }
    return t;
}

void Scanner::token(std::string& into, bool blanksAreTokens, bool semicolonIsToken)
{
    int c = ' ';
    auto get = [&]() -> bool {
        if (ended()) return false;
        c = static_cast<unsigned char>(buf_[pos_++]);
        return true;
    };
    into.clear();
    for (;;) {
        if (!get()) return;
        if (blanksAreTokens) {
            if (isSpace(c)) {
                into.assign(1, ' ');
                return;
            }
        } else {
            while (kSpace[c])
                if (!get()) return;
        }
        if (c == ':' || (semicolonIsToken && c == ';') || (blanksAreTokens && c == ',')) {
            into.assign(1, static_cast<char>(c));
            return;
        }
        if (c == '/' && !ended() && buf_[pos_] == '*') {
            // A delimited comment: nothing of it is a token.
            const size_t close = buf_.find("*/", pos_ + 1);
            pos_ = close == std::string::npos ? buf_.size() : close + 2;
            continue;
        }
        if (c == '\\') {
            // An extended identifier, kept as written, backslashes included.
            into.assign(1, '\\');
            while (get()) {
                into += static_cast<char>(c);
                if (c == '\\') {
                    if (ended() || buf_[pos_] != '\\') break;
                    into += buf_[pos_++];
                }
            }
            return;
        }
        if (c == '-') {
            if (!get()) return;
            if (c == '-') {
                while (c != '\n')
                    if (!get()) return;
            }
        }
        c = upper(c);
        // A word or number is cut out in one piece; the character after it is
        // read again by the next call.
        if (isWordStart(c) || isDigit(c)) {
            const size_t start = pos_ - 1;
            const bool isWord = isWordStart(c);
            wordStart_ = start;
            const std::array<bool, 256>& goesOn = isWord ? kWordChar : kDigit;
            while (!ended() && goesOn[static_cast<unsigned char>(buf_[pos_])]) ++pos_;
            // Upper-cased on the way from the source: the token's bytes are
            // written once and not read back while still on their way.
            into.resize(pos_ - start);
            copyUpperCase(into.data(), buf_.data() + start, into.size());
            return;
        }
        // any other character is dropped
    }
}

}  // namespace velmorn
