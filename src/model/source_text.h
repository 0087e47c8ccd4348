// Text taken from the source, where it lies in memory: the mapped source file
// or a string. The long texts (the architecture body) go to the output from
// there, without a copy.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace velmorn {

// A stretch of the source. `keeper` holds what the bytes live in (the mapping
// of the source file, or a string), so that every copy of a SourceSpan stays
// valid on its own.
struct SourceSpan {
    std::string_view text;
    std::shared_ptr<const void> keeper;

    // A span over a copy of `text`.
    static SourceSpan ofText(std::string text)
    {
        auto held = std::make_shared<const std::string>(std::move(text));
        SourceSpan s;
        s.text = *held;
        s.keeper = std::move(held);
        return s;
    }

    // The first `n` bytes.
    SourceSpan first(size_t n) const
    {
        SourceSpan s = *this;
        s.text = text.substr(0, n);
        return s;
    }
};

// The architecture body as every copy writes it: the text after the
// architecture's IS up to its closing END clause, then one blank for every
// character of that clause and of what follows it.
struct ArchitectureBody {
    SourceSpan kept;
    size_t blanks = 0;

    size_t size() const { return kept.text.size() + blanks; }
    // The whole text, blanks included.
    std::string str() const { return std::string(kept.text).append(blanks, ' '); }
};

}  // namespace velmorn
