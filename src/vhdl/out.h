// The output stream that every emitter writes into. Generated text collects in
// one reused buffer that is handed to the sink block by block; a long text
// that lives elsewhere (the architecture body, in the mapped source) goes to
// the sink without a copy.
#pragma once

#include <cstdint>
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

// Most pieces of text are names and words of a few bytes: copied by two
// overlapping moves instead of a call.
inline void copyText(char* to, const char* from, size_t n)
{
    if (n > 32) {
        std::memcpy(to, from, n);
    } else if (n > 16) {
        char head[16], tail[16];
        std::memcpy(head, from, 16);
        std::memcpy(tail, from + n - 16, 16);
        std::memcpy(to, head, 16);
        std::memcpy(to + n - 16, tail, 16);
    } else if (n >= 8) {
        uint64_t head, tail;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + n - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + n - 8, &tail, 8);
    } else if (n >= 4) {
        uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + n - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + n - 4, &tail, 4);
    } else if (n > 0) {
        to[0] = from[0];
        to[n / 2] = from[n / 2];
        to[n - 1] = from[n - 1];
    }
}

// The pieces that VhdlOut::put() writes: the most bytes each can take, and
// its text placed at `at` (returns where it ends). Other types add their own.
inline size_t maxTextSize(std::string_view s) { return s.size(); }
inline char* placeText(char* at, std::string_view s)
{
    copyText(at, s.data(), s.size());
    return at + s.size();
}
inline size_t maxTextSize(size_t) { return 20; }
char* placeNumber(char* at, size_t n);
// Most numbers in names are copy numbers, of one digit.
inline char* placeText(char* at, size_t n)
{
    if (n < 10) {
        *at = static_cast<char>('0' + n);
        return at + 1;
    }
    return placeNumber(at, n);
}

class DeclarationLog;
struct DerivedName;
enum class DeclarationKind;
enum class PortRole;
struct Port;

class VhdlOut {
public:
    // Collects the text in a buffer of its own, or in `buffer`, which a
    // writer reuses from file to file.
    explicit VhdlOut(OutputSink& sink) : VhdlOut(sink, own_) {}
    VhdlOut(OutputSink& sink, std::string& buffer) : sink_(sink), buffer_(buffer) {}
    // A dry run: no text is kept; every name the file declares goes to `log`.
    VhdlOut(OutputSink& sink, DeclarationLog& log) : sink_(sink), log_(&log), buffer_(own_) {}
    ~VhdlOut() { flush(); }
    VhdlOut(const VhdlOut&) = delete;
    VhdlOut& operator=(const VhdlOut&) = delete;

    VhdlOut& operator<<(std::string_view s)
    {
        if (log_) return skipped(s.size());
        if (used_ + s.size() > buffer_.size()) makeRoom(s.size());
        copyText(buffer_.data() + used_, s.data(), s.size());
        used_ += s.size();
        return *this;
    }
    VhdlOut& operator<<(const std::string& s) { return *this << std::string_view(s); }
    VhdlOut& operator<<(const char* s) { return *this << std::string_view(s); }
    VhdlOut& operator<<(char c) { return *this << std::string_view(&c, 1); }
    VhdlOut& operator<<(int n);
    VhdlOut& operator<<(size_t n);

    // Writes the pieces one after another with one look at the room left,
    // for the lines that are written once per port.
    template <class... Pieces>
    VhdlOut& put(const Pieces&... pieces)
    {
        const size_t most = (maxTextSize(pieces) + ...);
        if (log_) return skipped(most);
        if (used_ + most > buffer_.size()) makeRoom(most);
        char* at = buffer_.data() + used_;
        ((at = placeText(at, pieces)), ...);
        used_ = static_cast<size_t>(at - buffer_.data());
        return *this;
    }

    // Hands `text` to the sink as it is, after what was written before it.
    void passThrough(std::string_view text);
    // `n` blanks.
    void blanks(size_t n);
    // Hands the buffered text to the sink.
    void flush();

    // Notes a name that the file declares, in a dry run.
    bool logsDeclarations() const { return log_ != nullptr; }
    // True in a dry run, which notes about what `lines` lines of text would
    // take instead of writing them, so that the file's cost is known.
    bool skipsText(size_t lines)
    {
        if (log_) skipped(lines * kBytesPerLine);
        return log_ != nullptr;
    }
    void declare(DeclarationKind kind, const DerivedName& name);
    void declare(DeclarationKind kind, const DerivedName& name, PortRole role, const Port* source, bool unitsOwn);

private:
    OutputSink& sink_;
    DeclarationLog* log_ = nullptr;
    std::string own_;
    std::string& buffer_;  // its first used_ bytes are text not yet handed over
    size_t used_ = 0;

    void makeRoom(size_t n);
    // About what a line of a port list, a port map or a vote takes.
    static constexpr size_t kBytesPerLine = 50;
    VhdlOut& skipped(size_t bytes);
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
