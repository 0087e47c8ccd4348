#include "emit/text.h"

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

VhdlText& VhdlText::operator<<(std::string_view s)
{
    if (s.empty()) return *this;
    if (pieces_.empty() || pieces_.back().isRef) pieces_.push_back({});
    std::string& own = pieces_.back().own;
    own.append(s);
    if (stream_ && own.size() >= kStreamBlock) flush();
    return *this;
}

void VhdlText::flush()
{
    std::string spare;  // the owned buffer is kept for the next block
    for (auto& p : pieces_) {
        if (!p.view().empty()) stream_->write(p.view());
        if (!p.isRef) spare = std::move(p.own);
    }
    pieces_.clear();
    spare.clear();
    pieces_.push_back({std::move(spare), std::string_view(), false});
}

VhdlText& VhdlText::operator<<(int n) { return *this << std::to_string(n); }
VhdlText& VhdlText::operator<<(size_t n) { return *this << std::to_string(n); }

void VhdlText::appendRef(std::string_view big)
{
    if (big.empty()) return;
    pieces_.push_back({std::string(), big, true});
    if (stream_) flush();
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

std::string VhdlText::str() const
{
    std::string s;
    s.reserve(size());
    for (const auto& p : pieces_) s.append(p.view());
    return s;
}

size_t VhdlText::size() const
{
    size_t n = 0;
    for (const auto& p : pieces_) n += p.view().size();
    return n;
}

}  // namespace velmorn
