// The bytes of source text that the body scan has to look at, as bit masks of
// 64-byte blocks: found with vector instructions (AVX-512 with its byte
// permutes, AVX-512 or AVX2 where the processor has them, else SSE2) or, at
// the end of a text and on other processors, byte by byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace velmorn {

inline constexpr size_t kMaskBlock = 64;
// The blocks whose masks are found in one call.
inline constexpr size_t kChunkBlocks = 64;

// Bit j of a block's masks stands for byte j of the block.
struct ChunkMasks {
    // What can change the scan outside comments and literals: - / " ' and the
    // first letter of every "END", "ENT", "OF", "IS", "BEG", "COM", "MAP" and
    // "ARC" in any case (words or not): the words of the body scan's rules
    // (END, ENTITY, OF, IS, BEGIN, COMPONENT, MAP, ARCHITECTURE) begin so.
    uint64_t code[kChunkBlocks];
    uint64_t newline[kChunkBlocks];
    bool control;  // a byte of the chunk is one that no VHDL text holds (see isControlByte)
};

// Control characters other than tab, line feed, vertical tab, form feed and
// carriage return.
inline bool isControlByte(unsigned char c) { return c < '\t' || (c > '\r' && c < 0x20); }

// The masks of the chunk at `p` (up to kChunkBlocks blocks), of which
// `available` bytes can be read; the number of blocks filled.
size_t chunkMasks(const char* p, size_t available, ChunkMasks& masks);
// The same, byte by byte (the reference of the vector versions).
size_t chunkMasksByByte(const char* p, size_t available, ChunkMasks& masks);

// The versions that this processor runs, fastest first; chunkMasks() is the first.
using ChunkMaskFunction = size_t (*)(const char* p, size_t available, ChunkMasks& masks);
struct MaskKernel {
    const char* name;
    ChunkMaskFunction masks;
};
const std::vector<MaskKernel>& maskKernels();

// Where the first "architecture" keyword of `text` seems to begin (spelt in
// lower case, capitalised or in capitals: the offset before the first
// "rchitecture" or "RCHITECTURE"), or npos. Sixteen candidates at a time (an
// R and an E ten bytes on, in either case), each one then compared.
size_t architectureKeyword(std::string_view text);

}  // namespace velmorn
