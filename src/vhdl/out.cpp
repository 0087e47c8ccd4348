#include "vhdl/out.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "support/mapped_ahead.h"
#include "vhdl/declarations.h"

namespace velmorn {

namespace {

constexpr size_t kBlock = 256 * 1024;

// A number that may be negative; the others are placed as in names.
VhdlOut& writeNumber(VhdlOut& out, int n)
{
    char digits[48];  // more than any number takes, so that no copy of copyText() can run past it
    const auto r = std::to_chars(digits, digits + sizeof digits, n);
    return out << std::string_view(digits, static_cast<size_t>(r.ptr - digits));
}

}  // namespace

// Numbers in names are port numbers, mostly of up to five digits: their
// length found by comparisons, their digits placed two at a time.
char* placeNumber(char* at, size_t n)
{
    if (n >= 100000) return std::to_chars(at, at + 20, n).ptr;
    static constexpr auto kPairs = [] {
        std::array<char, 200> pairs{};
        for (int i = 0; i < 100; ++i) {
            pairs[2 * i] = static_cast<char>('0' + i / 10);
            pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
        return pairs;
    }();
    char* const end = at + (n < 10 ? 1 : n < 100 ? 2 : n < 1000 ? 3 : n < 10000 ? 4 : 5);
    char* p = end;
    for (; n >= 100; n /= 100) {
        p -= 2;
        std::memcpy(p, &kPairs[2 * (n % 100)], 2);
    }
    if (n >= 10)
        std::memcpy(p - 2, &kPairs[2 * n], 2);
    else
        p[-1] = static_cast<char>('0' + n);
    return end;
}

VhdlOut& VhdlOut::operator<<(int n) { return log_ ? skipped(maxTextSize(size_t{0})) : writeNumber(*this, n); }
VhdlOut& VhdlOut::operator<<(size_t n) { return put(n); }  // as numbers in names are placed

VhdlOut& VhdlOut::skipped(size_t bytes)
{
    log_->notesText(bytes);
    return *this;
}

void VhdlOut::flush()
{
    if (used_ > 0) sink_.write(std::string_view(buffer_.data(), used_));
    used_ = 0;
}

void VhdlOut::makeRoom(size_t n)
{
    flush();
    const size_t size = std::max(kBlock, n);
    if (buffer_.size() >= size) return;
    buffer_.reserve(size);
    mapForWriting(buffer_.data(), size);
    buffer_.resize(size);
}

void VhdlOut::declare(DeclarationKind kind, const DerivedName& name)
{
    if (log_) log_->add(kind, name);
}

void VhdlOut::declare(DeclarationKind kind, const DerivedName& name, PortRole role, const Port* source, bool unitsOwn)
{
    if (log_) log_->add(kind, name, role, source, unitsOwn);
}

void VhdlOut::passThrough(std::string_view text)
{
    if (log_) log_->notesText(text.size());
    if (text.empty() || log_) return;
    flush();
    sink_.write(text);
}

void VhdlOut::blanks(size_t n)
{
    static const std::string kBlanks(4096, ' ');
    for (; n > kBlanks.size(); n -= kBlanks.size()) *this << kBlanks;
    *this << std::string_view(kBlanks.data(), n);
}

}  // namespace velmorn
