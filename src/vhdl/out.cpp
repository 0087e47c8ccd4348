#include "vhdl/out.h"

#include <algorithm>
#include <charconv>

#include "vhdl/declarations.h"

namespace velmorn {

namespace {

constexpr size_t kBlock = 256 * 1024;

template <class Number>
VhdlOut& writeNumber(VhdlOut& out, Number n)
{
    char digits[48];  // more than any number takes, so that no copy of copyText() can run past it
    const auto r = std::to_chars(digits, digits + sizeof digits, n);
    return out << std::string_view(digits, static_cast<size_t>(r.ptr - digits));
}

}  // namespace

char* placeNumber(char* at, size_t n) { return std::to_chars(at, at + 20, n).ptr; }

VhdlOut& VhdlOut::operator<<(int n) { return log_ ? *this : writeNumber(*this, n); }
VhdlOut& VhdlOut::operator<<(size_t n) { return log_ ? *this : writeNumber(*this, n); }

void VhdlOut::flush()
{
    if (used_ > 0) sink_.write(std::string_view(buffer_.data(), used_));
    used_ = 0;
}

void VhdlOut::makeRoom(size_t n)
{
    flush();
    if (buffer_.size() < std::max(kBlock, n)) buffer_.resize(std::max(kBlock, n));
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
