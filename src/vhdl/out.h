// The output stream that every emitter writes into. Generated text collects in
// one reused buffer that is handed to the sink block by block; a long text
// that lives elsewhere (the architecture body) goes to the sink without a copy.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

namespace velmorn {

inline constexpr const char* NL = "\n";

// Where the text of one file goes: the file itself, or a string in tests.
class OutputSink {
public:
    virtual ~OutputSink() = default;
    virtual void write(std::string_view text) = 0;
};

class TextSink : public OutputSink {
public:
    std::string text;
    void write(std::string_view t) override { text.append(t); }
};

class DeclarationLog;
struct DerivedName;
enum class DeclarationKind;
enum class PortRole;
struct Port;

class VhdlOut {
public:
    explicit VhdlOut(OutputSink& sink) : sink_(sink) {}
    // A dry run: no text is kept; every name the file declares goes to `log`.
    VhdlOut(OutputSink& sink, DeclarationLog& log) : sink_(sink), log_(&log) {}
    ~VhdlOut() { flush(); }
    VhdlOut(const VhdlOut&) = delete;
    VhdlOut& operator=(const VhdlOut&) = delete;

    VhdlOut& operator<<(std::string_view s)
    {
        if (log_) return *this;
        if (used_ + s.size() > buffer_.size()) makeRoom(s.size());
        if (!s.empty()) std::memcpy(buffer_.data() + used_, s.data(), s.size());
        used_ += s.size();
        return *this;
    }
    VhdlOut& operator<<(const std::string& s) { return *this << std::string_view(s); }
    VhdlOut& operator<<(const char* s) { return *this << std::string_view(s); }
    VhdlOut& operator<<(char c) { return *this << std::string_view(&c, 1); }
    VhdlOut& operator<<(int n);
    VhdlOut& operator<<(size_t n);

    // Hands `text` to the sink as it is, after what was written before it.
    void passThrough(std::string_view text);
    // Hands the buffered text to the sink.
    void flush();

    // Notes a name that the file declares, in a dry run.
    bool logsDeclarations() const { return log_ != nullptr; }
    void declare(DeclarationKind kind, const DerivedName& name);
    void declare(DeclarationKind kind, const DerivedName& name, PortRole role, const Port* source, bool unitsOwn);

private:
    OutputSink& sink_;
    DeclarationLog* log_ = nullptr;
    std::string buffer_;  // its first used_ bytes are text not yet handed over
    size_t used_ = 0;

    void makeRoom(size_t n);
};

// Calls f(element, last) for each element of a list; `last` by position.
template <class List, class F>
void eachLast(const List& list, F f)
{
    const size_t count = list.size();
    size_t i = 1;
    for (const auto& e : list) f(e, ++i > count);
}

}  // namespace velmorn
