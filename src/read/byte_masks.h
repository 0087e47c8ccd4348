// The bytes of a 64-byte block of source text that the body scan has to look
// at, as bit masks: found with vector instructions (AVX2 where the processor
// has it, else SSE2) or, at the end of a text and on other processors, byte by
// byte.
#pragma once

#include <cstddef>
#include <cstdint>

namespace velmorn {

inline constexpr size_t kMaskBlock = 64;
// A block is read with vector loads only when this many bytes follow its start
// (the letter tests look two bytes ahead).
inline constexpr size_t kMaskReach = kMaskBlock + 2;

// Bit j stands for byte j of the block.
struct BlockMasks {
    // What can change the scan outside comments and literals: - / " ' and the
    // first letter of every "END", "OF" and "IS" in any case (words or not).
    uint64_t code = 0;
    uint64_t newline = 0;
    bool control = false;  // a byte that no VHDL text holds (see isControlByte)
};

// Control characters other than tab, line feed, vertical tab, form feed and
// carriage return.
inline bool isControlByte(unsigned char c) { return c < '\t' || (c > '\r' && c < 0x20); }

// The masks of the block at `p`, of which `available` bytes can be read: the
// block is the first min(64, available) of them.
BlockMasks blockMasks(const char* p, size_t available);
// The same, byte by byte (the reference of the vector versions).
BlockMasks blockMasksByByte(const char* p, size_t available);

}  // namespace velmorn
