#include "read/scanner.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
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
// True when it dropped one.
bool dropListClosingParens(std::string& t)
{
    bool dropped = false;
    long excess = 0;
    for (char ch : t) excess += (ch == ')') - (ch == '(');
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

}  // namespace

bool Scanner::load(const std::string& path)
{
    buf_.clear();
    pos_ = 0;
    // Opened without blocking, so that a FIFO or a device given as the source
    // is refused instead of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    bool good = fd >= 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (good) {
        // One byte more than the file's size, so that the read that meets the
        // end of the file needs no growth (growing would copy the whole text).
        buf_.resize(static_cast<size_t>(st.st_size) + 1);
        size_t got = 0;
        for (;;) {
            if (got == buf_.size()) buf_.resize(buf_.size() + 65536);  // the file grew while it was read
            const ssize_t n = ::read(fd, buf_.data() + got, buf_.size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                good = n == 0;
                break;
            }
            got += static_cast<size_t>(n);
        }
        buf_.resize(got);
    }
    if (fd >= 0) ::close(fd);
    if (!good) buf_.clear();
    return good;
}

void Scanner::loadText(std::string text)
{
    buf_ = std::move(text);
    pos_ = 0;
}

std::string Scanner::word() { return token(false, false); }
std::string Scanner::wordOrSemicolon() { return token(false, true); }
std::string Scanner::clauseToken() { return token(true, true); }

std::string Scanner::restOfFile()
{
    std::string rest = std::move(buf_);
    rest.erase(0, pos_);
    buf_.clear();
    pos_ = 0;
    return rest;
}

size_t Scanner::findControlByte() const
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(buf_.data());
    const size_t n = buf_.size();
    size_t i = pos_;
    // Whole blocks are tested without an early exit, in a form the compiler
    // turns into vector code; the byte itself is looked for only from the first
    // block that has one.
    constexpr size_t kBlock = 64;
    for (; i + kBlock <= n; i += kBlock) {
        unsigned char any = 0;
        for (size_t k = 0; k < kBlock; ++k) {
            const unsigned char c = p[i + k];
            any |= static_cast<unsigned char>((c < '\t') | (static_cast<unsigned char>(c - '\r' - 1) < 0x20 - '\r' - 1));
        }
        if (any) break;
    }
    for (; i < n; ++i)
        if (p[i] < '\t' || (p[i] > '\r' && p[i] < 0x20)) return i - pos_;
    return std::string::npos;
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
    std::string t;
    int c = ' ';
    long depth = 0;
    auto next = [&]() -> bool {
        if (ended()) return false;
        c = static_cast<unsigned char>(buf_[pos_++]);
        return true;
    };
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
            while (next() && c != '"' && c != '\n') t += static_cast<char>(c);
            if (c == '\n') continue;  // never closed: the line end counts as usual
            if (c == '"') t += '"';
            if (!next()) break;
            continue;
        }
        if (c == '\'' && pos_ + 1 < buf_.size() && buf_[pos_ + 1] == '\'' &&
            !(!t.empty() && (std::isalnum(static_cast<unsigned char>(t.back())) || t.back() == '_' || t.back() == ')'))) {
            t.append(buf_, pos_ - 1, 3);  // a character literal such as ';' or '('
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
        if (!skip) {
            t += static_cast<char>(c);
            depth += (c == '(') - (c == ')');
        }
        if (!next()) break;
    }
    if (dropListClosingParens(t) && closedList) *closedList = true;
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
        if (blanksAreTokens && c == ',') return ",";
        if (c == '/' && !ended() && buf_[pos_] == '*') {
            // A delimited comment: nothing of it is a token.
            const size_t close = buf_.find("*/", pos_ + 1);
            pos_ = close == std::string::npos ? buf_.size() : close + 2;
            continue;
        }
        if (c == '\\') {
            // An extended identifier, kept as written, backslashes included.
            std::string id(1, '\\');
            while (get()) {
                id += static_cast<char>(c);
                if (c == '\\') {
                    if (ended() || buf_[pos_] != '\\') break;
                    id += buf_[pos_++];
                }
            }
            return id;
        }
        if (c == '-') {
            if (!get()) return std::string();
            if (c == '-') {
                while (c != '\n')
                    if (!get()) return std::string();
            }
        }
        c = upper(c);
        if (isWordStart(c)) {
            wordStart_ = pos_ - 1;
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
