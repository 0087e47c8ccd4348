#include "emit/text.h"

#include <algorithm>
#include <charconv>

namespace velmorn {

std::string moduleFilePath(const Design& d, const std::string& suffix)
{
    return d.inname + "/" + d.modules + "/" + d.inname + suffix + ".vhd";
}

std::string topFilePath(const Design& d, const std::string& suffix)
{
    return d.inname + "/" + d.inname + suffix + ".vhd";
}

std::string PrintComment(const std::string& fname, const std::string& arch)
{
    const std::string rule = "-- **********************************************************************\n";
    std::string s = rule;
    s += "-- ** This file was generated automatically by Velmorn...\n";
    s += "-- ** Module (part) of FT architecture " + arch + "\n";
    s += "-- ** VHDL file: " + fname + "\n";
    s += "-- ** Copyright (C) 2026 Velmorn contributors\n";
    s += "-- ** Fault-tolerant design tools\n";
    s += "-- ** Velmorn project <velmorn@localhost>\n";
    s += rule + "\n";
    return s;
}

namespace {

thread_local TextStream* currentStream = nullptr;
constexpr size_t kStreamBlock = 256 * 1024;

}  // namespace

StreamScope::StreamScope(TextStream& stream) : previous_(currentStream) { currentStream = &stream; }
StreamScope::~StreamScope() { currentStream = previous_; }

VhdlText::VhdlText(const Design& d, std::string path, const std::string& arch)
    : d_(d), path_(std::move(path)), stream_(currentStream)
{
    if (stream_) stream_->begin(path_);
    *this << PrintComment(path_, arch) << d_.librarys << NL << NL;
}

void VhdlText::makeRoom(size_t n)
{
    if (stream_) {
        // Hand the full buffer over; keep it for the next block.
        if (used_ > 0) stream_->write(std::string_view(active_.data(), used_));
        used_ = 0;
        if (active_.size() < std::max(kStreamBlock, n)) active_.resize(std::max(kStreamBlock, n));
        return;
    }
    active_.resize(std::max({active_.size() * 2, used_ + n, size_t(4096)}));
}

void VhdlText::closeActive()
{
    if (used_ == 0) return;
    active_.resize(used_);
    pieces_.push_back({std::move(active_), std::string_view(), false});
    active_ = std::string();
    used_ = 0;
}

template <class Number>
static VhdlText& writeNumber(VhdlText& t, Number n)
{
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, n);
    return t << std::string_view(digits, static_cast<size_t>(r.ptr - digits));
}

VhdlText& VhdlText::operator<<(int n) { return writeNumber(*this, n); }
VhdlText& VhdlText::operator<<(size_t n) { return writeNumber(*this, n); }

void VhdlText::appendRef(std::string_view big)
{
    if (big.empty()) return;
    if (stream_) {
        if (used_ > 0) stream_->write(std::string_view(active_.data(), used_));
        used_ = 0;
        stream_->write(big);
        return;
    }
    closeActive();
    pieces_.push_back({std::string(), big, true});
}

void VhdlText::genericDecl()
{
    if (d_.GenericList.empty()) return;
    *this << "   generic(" << NL;
    eachLast(d_.GenericList, [&](const Tgeneric& g, bool last) {
        *this << "      " << g.name << " : " << g.type << (last ? "\n" : ";\n");
    });
    *this << "   );\n";
}

void VhdlText::genericMap()
{
    if (d_.GenericList.empty()) return;
    *this << "   generic map(" << NL;
    eachLast(d_.GenericList, [&](const Tgeneric& g, bool last) {
        *this << "      " << g.name << " => " << g.name << (last ? "\n" : ",\n");
    });
    *this << "   )\n";
}

VhdlText& VhdlText::closeArchitecture(const std::string& owner)
{
    return *this << "end " << owner << "_BEHAV;";
}

std::vector<std::string_view> VhdlText::views() const
{
    std::vector<std::string_view> v;
    v.reserve(pieces_.size() + 1);
    for (const auto& p : pieces_) v.push_back(p.view());
    if (used_ > 0) v.emplace_back(active_.data(), used_);
    return v;
}

std::string VhdlText::str() const
{
    std::string s;
    s.reserve(size());
    for (auto v : views()) s.append(v);
    return s;
}

size_t VhdlText::size() const
{
    size_t n = used_;
    for (const auto& p : pieces_) n += p.view().size();
    return n;
}

}  // namespace velmorn
