#include "read/scanner.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
// ")" in its type text: drop the unmatched ")" at the end, with the white space
// after each of them.
void dropListClosingParens(std::string& t)
{
    long excess = 0;
    for (char ch : t) excess += (ch == ')') - (ch == '(');
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
    std::string t;
    int c = ' ';
    long depth = 0;
    for (;;) {
        if (c == ';') break;
        if (c == '\n' && depth <= 0) break;
        bool skip = false;
        if (c == '\r' && !ended() && buf_[pos_] == '\n') {
            skip = true;  // the CR of a CRLF line end
        } else if (c == '-' && !ended() && buf_[pos_] == '-') {
            while (!ended() && buf_[pos_] != '\n') ++pos_;  // a comment, to its line end
            skip = true;
        }
        if (!skip) {
            t += static_cast<char>(c);
            depth += (c == '(') - (c == ')');
        }
        if (ended()) break;
        c = static_cast<unsigned char>(buf_[pos_++]);
    }
    dropListClosingParens(t);
    return t;
}

std::string Scanner::token(bool blanksAreTokens, bool semicolonIsToken)
{
    std::string word;
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
        if (isWordStart(c)) {
            for (;;) {
                word += static_cast<char>(c);
                if (!get()) return word;
                c = upper(c);
                if (!isWordChar(c)) break;
            }
            --pos_;  // the character after the word is read again by the next call
            return word;
        }
        if (isDigit(c)) {
            std::string number;
            for (;;) {
                number += static_cast<char>(c);
                if (!get()) return number;
                if (!isDigit(c)) break;
            }
            --pos_;
            return number;
        }
        // any other character is dropped
    }
}

}  // namespace velmorn
