#include "read/byte_masks.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <algorithm>

namespace velmorn {

BlockMasks blockMasksByByte(const char* p, size_t available)
{
    BlockMasks m;
    const size_t n = std::min(kMaskBlock, available);
    auto lower = [&](size_t j) { return j < available ? static_cast<char>(p[j] | 0x20) : '\0'; };
    for (size_t j = 0; j < n; ++j) {
        const char c = p[j];
        const char l0 = lower(j), l1 = lower(j + 1);
        const bool event = c == '-' || c == '/' || c == '"' || c == '\'' ||
                           (l0 == 'e' && l1 == 'n' && lower(j + 2) == 'd') || (l0 == 'o' && l1 == 'f') ||
                           (l0 == 'i' && l1 == 's');
        m.code |= static_cast<uint64_t>(event) << j;
        m.newline |= static_cast<uint64_t>(c == '\n') << j;
        m.control |= isControlByte(static_cast<unsigned char>(c));
    }
    return m;
}

#if defined(__x86_64__)

namespace {

// One lane width's operations, so that the block is written once for SSE2
// (four 16-byte vectors) and AVX2 (two 32-byte vectors).
struct Sse2 {
    using V = __m128i;
    static constexpr size_t kWidth = 16;
    static V load(const char* p) { return _mm_loadu_si128(reinterpret_cast<const V*>(p)); }
    static V all(char c) { return _mm_set1_epi8(c); }
    static V eq(V a, V b) { return _mm_cmpeq_epi8(a, b); }
    static V both(V a, V b) { return _mm_and_si128(a, b); }
    static V either(V a, V b) { return _mm_or_si128(a, b); }
    static V butNot(V a, V b) { return _mm_andnot_si128(b, a); }
    static V minimum(V a, V b) { return _mm_min_epu8(a, b); }
    static V minus(V a, V b) { return _mm_sub_epi8(a, b); }
    static uint64_t bits(V a) { return static_cast<uint32_t>(_mm_movemask_epi8(a)); }
};

#define VELMORN_AVX2 __attribute__((target("avx2"))) static inline
struct Avx2 {
    using V = __m256i;
    static constexpr size_t kWidth = 32;
    VELMORN_AVX2 V load(const char* p) { return _mm256_loadu_si256(reinterpret_cast<const V*>(p)); }
    VELMORN_AVX2 V all(char c) { return _mm256_set1_epi8(c); }
    VELMORN_AVX2 V eq(V a, V b) { return _mm256_cmpeq_epi8(a, b); }
    VELMORN_AVX2 V both(V a, V b) { return _mm256_and_si256(a, b); }
    VELMORN_AVX2 V either(V a, V b) { return _mm256_or_si256(a, b); }
    VELMORN_AVX2 V butNot(V a, V b) { return _mm256_andnot_si256(b, a); }
    VELMORN_AVX2 V minimum(V a, V b) { return _mm256_min_epu8(a, b); }
    VELMORN_AVX2 V minus(V a, V b) { return _mm256_sub_epi8(a, b); }
    VELMORN_AVX2 uint64_t bits(V a) { return static_cast<uint32_t>(_mm256_movemask_epi8(a)); }
};
#undef VELMORN_AVX2

// The masks of a block with kMaskReach bytes readable, with the operations of
// L; written as a macro because each version must be compiled for its own
// instruction set.
#define VELMORN_VECTOR_MASKS(name, L, target)                                                                     \
    target BlockMasks name(const char* p)                                                                         \
    {                                                                                                             \
        using V = L::V;                                                                                           \
        const V caseBit = L::all(0x20);                                                                           \
        const V maxControl = L::all(0x1f), tab = L::all('\t'), spaceRange = L::all('\r' - '\t');                  \
        BlockMasks m;                                                                                             \
        V control = L::all(0);                                                                                    \
        for (size_t k = 0; k < kMaskBlock; k += L::kWidth) {                                                      \
            const V v = L::load(p + k);                                                                           \
            const V l0 = L::either(v, caseBit);                                                                   \
            const V l1 = L::either(L::load(p + k + 1), caseBit);                                                  \
            const V l2 = L::either(L::load(p + k + 2), caseBit);                                                  \
            const V special = L::either(L::either(L::eq(v, L::all('-')), L::eq(v, L::all('/'))),                  \
                                        L::either(L::eq(v, L::all('"')), L::eq(v, L::all('\''))));                \
            const V end = L::both(L::both(L::eq(l0, L::all('e')), L::eq(l1, L::all('n'))), L::eq(l2, L::all('d'))); \
            const V ofIs = L::either(L::both(L::eq(l0, L::all('o')), L::eq(l1, L::all('f'))),                     \
                                     L::both(L::eq(l0, L::all('i')), L::eq(l1, L::all('s'))));                    \
            m.code |= L::bits(L::either(special, L::either(end, ofIs))) << k;                                     \
            m.newline |= L::bits(L::eq(v, L::all('\n'))) << k;                                                    \
            /* below 0x20 (unsigned), and not tab to carriage return */                                           \
            const V low = L::eq(L::minimum(v, maxControl), v);                                                    \
            const V fromTab = L::minus(v, tab);                                                                   \
            const V space = L::eq(L::minimum(fromTab, spaceRange), fromTab);                                      \
            control = L::either(control, L::butNot(low, space));                                                  \
        }                                                                                                         \
        m.control = L::bits(control) != 0;                                                                        \
        return m;                                                                                                 \
    }

VELMORN_VECTOR_MASKS(sse2Masks, Sse2, )
VELMORN_VECTOR_MASKS(avx2Masks, Avx2, __attribute__((target("avx2"))))
#undef VELMORN_VECTOR_MASKS

using VectorMasks = BlockMasks (*)(const char*);
VectorMasks fastestMasks()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? avx2Masks : sse2Masks;
}
const VectorMasks kVectorMasks = fastestMasks();

}  // namespace

BlockMasks blockMasks(const char* p, size_t available)
{
    return available >= kMaskReach ? kVectorMasks(p) : blockMasksByByte(p, available);
}

#else

BlockMasks blockMasks(const char* p, size_t available) { return blockMasksByByte(p, available); }

#endif

}  // namespace velmorn
