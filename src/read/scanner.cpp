#include "read/scanner.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

namespace velmorn {

namespace {

bool isSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
int upper(int c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }
bool isDigit(int c) { return c >= '0' && c <= '9'; }
bool isWordStart(int c) { return c == '_' || (c >= 'A' && c <= 'Z'); }
bool isWordChar(int c) { return isWordStart(c) || isDigit(c) || c == '.' || c == '-'; }

// A declaration closed on the line of the last list element carries the list's
// ")" in its type text: drop the unmatched ")" at the end (`excess`: the
// number of ")" less the number of "("), with the white space after each.
void dropListClosingParens(std::string& t, long excess)
{
    while (excess > 0) {
        size_t end = t.size();
        while (end > 0 && isSpace(static_cast<unsigned char>(t[end - 1]))) --end;
        if (end == 0 || t[end - 1] != ')') break;
        t.resize(end - 1);
        --excess;
    }
}

}  // namespace

bool Scanner::load(const std::string& path)
{
    buf_ = {};
    keeper_.reset();
    prescan_ = SourcePrescan();
    pos_ = 0;
    // Opened without blocking, so that a FIFO or a device given as the source
    // is refused instead of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0) ::close(fd);
        return false;
    }
    // Mapped with its pages in place, so that neither a copy into fresh memory
    // nor a page fault per page is paid; the unit copies write their body
    // straight from the mapping.
    const size_t size = static_cast<size_t>(st.st_size);
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
    keeper_ = std::move(text);
    pos_ = 0;
}

std::string Scanner::word() { return token(false, false); }
std::string Scanner::wordOrSemicolon() { return token(false, true); }
std::string Scanner::clauseToken() { return token(true, true); }

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
    prescan_ = prescanSource(buf_.substr(std::min(pos_, buf_.size())));
    return prescan_.controlByte;
}

size_t Scanner::lineOf(size_t offset) const
{
    const size_t end = std::min(buf_.size(), pos_ + offset);
    return 1 + static_cast<size_t>(std::count(buf_.begin() + static_cast<long>(pos_),
                                              buf_.begin() + static_cast<long>(end), '\n'));
}

std::string Scanner::typeText()
{
    if (ended()) return std::string();
    // Runs of the characters that are taken as they are go in one append.
    static const auto kStop = [] {
        std::array<bool, 256> t{};
        for (unsigned char c : {';', '\n', '\r', '-', '(', ')'}) t[c] = true;
        return t;
    }();
    const char* const text = buf_.data();
    const size_t n = buf_.size();
    std::string t = " ";
    long depth = 0;
    while (pos_ < n) {
        size_t end = pos_;
        while (end < n && !kStop[static_cast<unsigned char>(text[end])]) ++end;
        t.append(text + pos_, end - pos_);
        pos_ = end;
        if (pos_ == n) break;
        const char c = text[pos_++];
        if (c == ';') break;
        if (c == '\n' && depth <= 0) break;
        if (c == '\r' && pos_ < n && text[pos_] == '\n') continue;  // the CR of a CRLF line end
        if (c == '-' && pos_ < n && text[pos_] == '-') {
            while (pos_ < n && text[pos_] != '\n') ++pos_;  // a comment, to its line end
            continue;
        }
        t += c;
        depth += (c == '(') - (c == ')');
    }
    dropListClosingParens(t, -depth);
    return t;
}

std::string Scanner::token(bool blanksAreTokens, bool semicolonIsToken)
{
    int c = ' ';
    auto get = [&]() -> bool {
        if (ended()) return false;
        c = static_cast<unsigned char>(buf_[pos_++]);
        return true;
    };
    for (;;) {
        if (!get()) return std::string();
        if (blanksAreTokens) {
            if (isSpace(c)) return " ";
        } else {
            while (isSpace(c))
                if (!get()) return std::string();
        }
        if (c == ':') return ":";
        if (semicolonIsToken && c == ';') return ";";
        if (c == '-') {
            if (!get()) return std::string();
            if (c == '-') {
                while (c != '\n')
                    if (!get()) return std::string();
            }
        }
        c = upper(c);
        // A word or number is cut out in one piece; the character after it is
        // read again by the next call.
        if (isWordStart(c) || isDigit(c)) {
            const size_t start = pos_ - 1;
            const bool isWord = isWordStart(c);
            while (!ended() && (isWord ? isWordChar(upper(static_cast<unsigned char>(buf_[pos_])))
                                       : isDigit(static_cast<unsigned char>(buf_[pos_]))))
                ++pos_;
            std::string piece(buf_.substr(start, pos_ - start));
            for (char& ch : piece) ch = static_cast<char>(upper(static_cast<unsigned char>(ch)));
            return piece;
        }
        // any other character is dropped
    }
}

}  // namespace velmorn
