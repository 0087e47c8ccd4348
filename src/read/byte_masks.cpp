#include "read/byte_masks.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <array>
#include <string_view>

namespace velmorn {

namespace {

// The masks of one block, of which `available` bytes can be read (at least one).
void blockByByte(const char* p, size_t available, uint64_t& code, uint64_t& newline, bool& control)
{
    code = newline = 0;
    const size_t n = std::min(kMaskBlock, available);
    auto lower = [&](size_t j) { return j < available ? static_cast<char>(p[j] | 0x20) : '\0'; };
    for (size_t j = 0; j < n; ++j) {
        const char c = p[j];
        const char l0 = lower(j), l1 = lower(j + 1), l2 = lower(j + 2);
        auto three = [&](char a, char b, char d) { return l0 == a && l1 == b && l2 == d; };
        const bool event = c == '-' || c == '/' || c == '"' || c == '\'' || three('e', 'n', 'd') ||
                           three('e', 'n', 't') || (l0 == 'o' && l1 == 'f') || (l0 == 'i' && l1 == 's') ||
                           three('b', 'e', 'g') || three('c', 'o', 'm') || three('m', 'a', 'p') || three('a', 'r', 'c');
        code |= static_cast<uint64_t>(event) << j;
        newline |= static_cast<uint64_t>(c == '\n') << j;
        control |= isControlByte(static_cast<unsigned char>(c));
    }
}

size_t blockCount(size_t available) { return std::min(kChunkBlocks, (available + kMaskBlock - 1) / kMaskBlock); }

// The blocks of a chunk from `b` on byte by byte (for a vector kernel, those
// too near the end of the text for vector loads), and whether the chunk holds
// a control byte (`control`: one of the blocks before `b` does). The number
// of blocks.
size_t finishByByte(const char* p, size_t available, size_t b, size_t blocks, bool control, ChunkMasks& m)
{
    for (; b < blocks; ++b)
        blockByByte(p + b * kMaskBlock, available - b * kMaskBlock, m.code[b], m.newline[b], control);
    m.control = control;
    return blocks;
}

}  // namespace

size_t chunkMasksByByte(const char* p, size_t available, ChunkMasks& m)
{
    return finishByByte(p, available, 0, blockCount(available), false, m);
}

#if defined(__x86_64__)

namespace {

// The letter tests look two bytes ahead: a block is read with vector loads
// when this many bytes follow its start.
constexpr size_t kVectorReach = kMaskBlock + 2;

// Control bytes are looked for by two running minimums: of the bytes (one
// below a tab shows a byte 0 to 8) and of the bytes minus 14 (one below 18
// shows a byte 14 to 31).
constexpr char kBelowTab = '\t' - 1, kAfterSpace = '\r' + 1, kControlRange = 0x1f - kAfterSpace;

inline __m128i eq(__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); }

size_t sse2Chunk(const char* p, size_t available, ChunkMasks& m)
{
    const size_t blocks = blockCount(available);
    const __m128i caseBit = _mm_set1_epi8(0x20), afterSpace = _mm_set1_epi8(kAfterSpace);
    __m128i low = _mm_set1_epi8(-1), high = _mm_set1_epi8(-1);
    size_t b = 0;
    for (; b < blocks && b * kMaskBlock + kVectorReach <= available; ++b) {
        const char* q = p + b * kMaskBlock;
        uint64_t code = 0, newline = 0;
        for (size_t k = 0; k < kMaskBlock; k += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + k));
            const __m128i l0 = _mm_or_si128(v, caseBit);
            const __m128i l1 = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q + k + 1)), caseBit);
            const __m128i l2 = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q + k + 2)), caseBit);
            const __m128i special =
                _mm_or_si128(_mm_or_si128(eq(v, '-'), eq(v, '/')), _mm_or_si128(eq(v, '"'), eq(v, '\'')));
            auto both = [](__m128i a, __m128i b) { return _mm_and_si128(a, b); };
            auto either = [](__m128i a, __m128i b) { return _mm_or_si128(a, b); };
            const __m128i endEnt = both(both(eq(l0, 'e'), eq(l1, 'n')), either(eq(l2, 'd'), eq(l2, 't')));
            const __m128i ofIs = either(both(eq(l0, 'o'), eq(l1, 'f')), both(eq(l0, 'i'), eq(l1, 's')));
            const __m128i others =
                either(either(both(both(eq(l0, 'b'), eq(l1, 'e')), eq(l2, 'g')),
                              both(both(eq(l0, 'c'), eq(l1, 'o')), eq(l2, 'm'))),
                       either(both(both(eq(l0, 'm'), eq(l1, 'a')), eq(l2, 'p')),
                              both(both(eq(l0, 'a'), eq(l1, 'r')), eq(l2, 'c'))));
            code |= static_cast<uint64_t>(static_cast<uint32_t>(
                        _mm_movemask_epi8(either(either(special, endEnt), either(ofIs, others)))))
                    << k;
            newline |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(eq(v, '\n')))) << k;
            low = _mm_min_epu8(low, v);
            high = _mm_min_epu8(high, _mm_sub_epi8(v, afterSpace));
        }
        m.code[b] = code;
        m.newline[b] = newline;
    }
    const __m128i lowHit = _mm_cmpeq_epi8(_mm_min_epu8(low, _mm_set1_epi8(kBelowTab)), low);
    const __m128i highHit = _mm_cmpeq_epi8(_mm_min_epu8(high, _mm_set1_epi8(kControlRange)), high);
    const bool control = _mm_movemask_epi8(_mm_or_si128(lowHit, highHit)) != 0;
    return finishByByte(p, available, b, blocks, control, m);
}

__attribute__((target("avx2"))) inline __m256i eq(__m256i v, char c)
{
    return _mm256_cmpeq_epi8(v, _mm256_set1_epi8(c));
}

__attribute__((target("avx2"))) inline __m256i both(__m256i a, __m256i b) { return _mm256_and_si256(a, b); }
__attribute__((target("avx2"))) inline __m256i either(__m256i a, __m256i b) { return _mm256_or_si256(a, b); }

__attribute__((target("avx2"))) size_t avx2Chunk(const char* p, size_t available, ChunkMasks& m)
{
    const size_t blocks = blockCount(available);
    const __m256i caseBit = _mm256_set1_epi8(0x20), afterSpace = _mm256_set1_epi8(kAfterSpace);
    // The byte that a special character with the index's low nibble would be:
    // '"' (0x22), '\'' (0x27), '-' (0x2d), '/' (0x2f); never equal elsewhere.
    const __m256i specials = _mm256_setr_epi8(-1, -1, '"', -1, -1, -1, -1, '\'', -1, -1, -1, -1, -1, '-', -1, '/',
                                              -1, -1, '"', -1, -1, -1, -1, '\'', -1, -1, -1, -1, -1, '-', -1, '/');
    __m256i low = _mm256_set1_epi8(-1), high = _mm256_set1_epi8(-1);
    size_t b = 0;
    for (; b < blocks && b * kMaskBlock + kVectorReach <= available; ++b) {
        const char* q = p + b * kMaskBlock;
        uint64_t code = 0, newline = 0;
        for (size_t k = 0; k < kMaskBlock; k += 32) {
            const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + k));
            const __m256i l0 = _mm256_or_si256(v, caseBit);
            const __m256i l1 =
                _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + k + 1)), caseBit);
            const __m256i l2 =
                _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + k + 2)), caseBit);
            const __m256i special = _mm256_cmpeq_epi8(_mm256_shuffle_epi8(specials, v), v);
            const __m256i endEnt = both(both(eq(l0, 'e'), eq(l1, 'n')), either(eq(l2, 'd'), eq(l2, 't')));
            const __m256i ofIs = either(both(eq(l0, 'o'), eq(l1, 'f')), both(eq(l0, 'i'), eq(l1, 's')));
            const __m256i others =
                either(either(both(both(eq(l0, 'b'), eq(l1, 'e')), eq(l2, 'g')),
                              both(both(eq(l0, 'c'), eq(l1, 'o')), eq(l2, 'm'))),
                       either(both(both(eq(l0, 'm'), eq(l1, 'a')), eq(l2, 'p')),
                              both(both(eq(l0, 'a'), eq(l1, 'r')), eq(l2, 'c'))));
            code |= static_cast<uint64_t>(static_cast<uint32_t>(
                        _mm256_movemask_epi8(either(either(special, endEnt), either(ofIs, others)))))
                    << k;
            newline |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(eq(v, '\n')))) << k;
            low = _mm256_min_epu8(low, v);
            high = _mm256_min_epu8(high, _mm256_sub_epi8(v, afterSpace));
        }
        m.code[b] = code;
        m.newline[b] = newline;
    }
    const __m256i lowHit = _mm256_cmpeq_epi8(_mm256_min_epu8(low, _mm256_set1_epi8(kBelowTab)), low);
    const __m256i highHit = _mm256_cmpeq_epi8(_mm256_min_epu8(high, _mm256_set1_epi8(kControlRange)), high);
    const bool control = _mm256_movemask_epi8(_mm256_or_si256(lowHit, highHit)) != 0;
    return finishByByte(p, available, b, blocks, control, m);
}

#define VELMORN_AVX512 __attribute__((target("avx512f,avx512bw")))

VELMORN_AVX512 inline __mmask64 eq(__m512i v, char c) { return _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(c)); }

// Whether the running minimums of the bytes and of the bytes minus 14 show a
// control byte.
VELMORN_AVX512 inline bool controlSeen(__m512i low, __m512i high)
{
    return (_mm512_cmple_epu8_mask(low, _mm512_set1_epi8(kBelowTab)) |
            _mm512_cmple_epu8_mask(high, _mm512_set1_epi8(kControlRange))) != 0;
}

// One 64-byte vector per block: the masks come out of the compares as they are.
VELMORN_AVX512 size_t avx512Chunk(const char* p, size_t available, ChunkMasks& m)
{
    const size_t blocks = blockCount(available);
    const __m512i caseBit = _mm512_set1_epi8(0x20), afterSpace = _mm512_set1_epi8(kAfterSpace);
    static const auto kSpecials = [] {
        std::array<char, 64> t{};
        for (size_t i = 0; i < t.size(); ++i) {
            const char lane[16] = {-1, -1, '"', -1, -1, -1, -1, '\'', -1, -1, -1, -1, -1, '-', -1, '/'};
            t[i] = lane[i % 16];
        }
        return t;
    }();
    const __m512i specials = _mm512_loadu_si512(kSpecials.data());
    __m512i low = _mm512_set1_epi8(-1), high = _mm512_set1_epi8(-1);
    size_t b = 0;
    for (; b < blocks && b * kMaskBlock + kVectorReach <= available; ++b) {
        const char* q = p + b * kMaskBlock;
        const __m512i v = _mm512_loadu_si512(q);
        const __m512i l0 = _mm512_or_si512(v, caseBit);
        const __m512i l1 = _mm512_or_si512(_mm512_loadu_si512(q + 1), caseBit);
        const __m512i l2 = _mm512_or_si512(_mm512_loadu_si512(q + 2), caseBit);
        const __mmask64 special = _mm512_cmpeq_epi8_mask(_mm512_shuffle_epi8(specials, v), v);
        const __mmask64 endEnt = eq(l0, 'e') & eq(l1, 'n') & (eq(l2, 'd') | eq(l2, 't'));
        const __mmask64 ofIs = (eq(l0, 'o') & eq(l1, 'f')) | (eq(l0, 'i') & eq(l1, 's'));
        const __mmask64 others = (eq(l0, 'b') & eq(l1, 'e') & eq(l2, 'g')) | (eq(l0, 'c') & eq(l1, 'o') & eq(l2, 'm')) |
                                 (eq(l0, 'm') & eq(l1, 'a') & eq(l2, 'p')) | (eq(l0, 'a') & eq(l1, 'r') & eq(l2, 'c'));
        m.code[b] = special | endEnt | ofIs | others;
        m.newline[b] = eq(v, '\n');
        low = _mm512_min_epu8(low, v);
        high = _mm512_min_epu8(high, _mm512_sub_epi8(v, afterSpace));
    }
    return finishByByte(p, available, b, blocks, controlSeen(low, high), m);
}
#undef VELMORN_AVX512

#define VELMORN_AVX512_VBMI __attribute__((target("avx512f,avx512bw,avx512vbmi")))

// What each byte below 0x80 is for the letter tests, as a byte of eight
// bits, one per rule: END/ENT, OF, IS, BEG, COM, MAP, ARC, and the special
// characters - / " ' (a rule of one byte). `first`: the rules that the byte
// begins; `second`, `third`: the rules whose second or third letter it is (a
// rule of fewer letters takes any byte there).
struct LetterTables {
    std::array<uint8_t, 128> first{}, second{}, third{};
};

constexpr uint8_t kSpecialRule = 0x80, kTwoLetterRules = 0x06;  // of the bits below

const LetterTables& letterTables()
{
    static const LetterTables tables = [] {
        LetterTables t;
        const char* rules[] = {"en", "of", "is", "beg", "com", "map", "arc"};  // END and ENT: "en" then d or t
        auto both = [](std::array<uint8_t, 128>& table, char c, uint8_t bit) {
            table[static_cast<unsigned char>(c)] |= bit;
            table[static_cast<unsigned char>(c) & ~0x20] |= bit;  // the capital
        };
        for (int r = 0; r < 7; ++r) {
            const auto bit = static_cast<uint8_t>(1u << r);
            both(t.first, rules[r][0], bit);
            both(t.second, rules[r][1], bit);
            if (rules[r][2]) both(t.third, rules[r][2], bit);
        }
        both(t.third, 'd', 0x01);
        both(t.third, 't', 0x01);
        for (const char c : {'-', '/', '"', '\''}) t.first[static_cast<unsigned char>(c)] |= kSpecialRule;
        for (size_t c = 0; c < 128; ++c) {
            t.second[c] |= kSpecialRule;
            t.third[c] |= kSpecialRule | kTwoLetterRules;
        }
        return t;
    }();
    return tables;
}

// One 64-byte vector per block, each of the three bytes of a rule looked up
// in a table of 128 (bytes from 0x80 on are no letter: they begin no rule,
// and let only the rules pass that do not look at them).
VELMORN_AVX512_VBMI size_t avx512VbmiChunk(const char* p, size_t available, ChunkMasks& m)
{
    const size_t blocks = blockCount(available);
    const LetterTables& t = letterTables();
    const __m512i firstLow = _mm512_loadu_si512(t.first.data()), firstHigh = _mm512_loadu_si512(t.first.data() + 64);
    const __m512i secondLow = _mm512_loadu_si512(t.second.data()),
                  secondHigh = _mm512_loadu_si512(t.second.data() + 64);
    const __m512i thirdLow = _mm512_loadu_si512(t.third.data()), thirdHigh = _mm512_loadu_si512(t.third.data() + 64);
    const __m512i nonLetterSecond = _mm512_set1_epi8(static_cast<char>(kSpecialRule));
    const __m512i nonLetterThird = _mm512_set1_epi8(static_cast<char>(kSpecialRule | kTwoLetterRules));
    const __m512i newlines = _mm512_set1_epi8('\n'), afterSpace = _mm512_set1_epi8(kAfterSpace);
    __m512i low = _mm512_set1_epi8(-1), high = _mm512_set1_epi8(-1);
    size_t b = 0;
    for (; b < blocks && b * kMaskBlock + kVectorReach <= available; ++b) {
        const char* q = p + b * kMaskBlock;
        const __m512i v0 = _mm512_loadu_si512(q), v1 = _mm512_loadu_si512(q + 1), v2 = _mm512_loadu_si512(q + 2);
        const __m512i first = _mm512_maskz_permutex2var_epi8(~_mm512_movepi8_mask(v0), firstLow, v0, firstHigh);
        const __m512i second = _mm512_mask_blend_epi8(_mm512_movepi8_mask(v1),
                                                      _mm512_permutex2var_epi8(secondLow, v1, secondHigh), nonLetterSecond);
        const __m512i third = _mm512_mask_blend_epi8(_mm512_movepi8_mask(v2),
                                                     _mm512_permutex2var_epi8(thirdLow, v2, thirdHigh), nonLetterThird);
        m.code[b] = _mm512_test_epi8_mask(first, _mm512_and_si512(second, third));
        m.newline[b] = _mm512_cmpeq_epi8_mask(v0, newlines);
        low = _mm512_min_epu8(low, v0);
        high = _mm512_min_epu8(high, _mm512_sub_epi8(v0, afterSpace));
    }
    return finishByByte(p, available, b, blocks, controlSeen(low, high), m);
}
#undef VELMORN_AVX512_VBMI

std::vector<MaskKernel> supportedKernels()
{
    __builtin_cpu_init();
    std::vector<MaskKernel> kernels;
    if (__builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512bw"))
        kernels.push_back({"AVX-512 VBMI", avx512VbmiChunk});
    if (__builtin_cpu_supports("avx512bw")) kernels.push_back({"AVX-512", avx512Chunk});
    if (__builtin_cpu_supports("avx2")) kernels.push_back({"AVX2", avx2Chunk});
    kernels.push_back({"SSE2", sse2Chunk});
    return kernels;
}

}  // namespace

const std::vector<MaskKernel>& maskKernels()
{
    static const std::vector<MaskKernel> kernels = supportedKernels();
    return kernels;
}

size_t chunkMasks(const char* p, size_t available, ChunkMasks& m)
{
    static const ChunkMaskFunction fastest = maskKernels().front().masks;
    return fastest(p, available, m);
}

#else

const std::vector<MaskKernel>& maskKernels()
{
    static const std::vector<MaskKernel> kernels = {{"bytes", chunkMasksByByte}};
    return kernels;
}

size_t chunkMasks(const char* p, size_t available, ChunkMasks& m) { return chunkMasksByByte(p, available, m); }

#endif

size_t architectureKeyword(std::string_view text)
{
    constexpr std::string_view kLower = "rchitecture", kUpper = "RCHITECTURE";
    constexpr size_t kLength = kLower.size();
    auto at = [&](size_t p) {
        const std::string_view word = text.substr(p, kLength);
        return word == kLower || word == kUpper;
    };
    auto before = [](size_t p) { return p == 0 ? 0 : p - 1; };
    size_t p = 0;
#if defined(__SSE2__)
    // Setting bit 0x20 folds only 'R' onto 'r' and 'E' onto 'e'.
    const __m128i fold = _mm_set1_epi8(0x20), first = _mm_set1_epi8('r'), last = _mm_set1_epi8('e');
    for (; p + (kLength - 1) + 16 <= text.size(); p += 16) {
        const __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + p)), fold);
        const __m128i b =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + p + kLength - 1)), fold);
        for (unsigned candidates = static_cast<unsigned>(
                 _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
             candidates; candidates &= candidates - 1) {
            const size_t q = p + static_cast<size_t>(__builtin_ctz(candidates));
            if (at(q)) return before(q);
        }
    }
#endif
    for (; p + kLength <= text.size(); ++p)
        if (at(p)) return before(p);
    return std::string_view::npos;
}

}  // namespace velmorn
