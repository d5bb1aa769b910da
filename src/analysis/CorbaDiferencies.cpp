#include "CorbaDiferencies.h"

#include <algorithm>
#include <cstdlib>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tessora {
namespace {

constexpr int N = kPuntsAnalisi;

// The reference loop.
void CorbaPlana(const std::int32_t* x, CorbaDiferencies& D) {
    for (int t = 1; t <= N; ++t) {
        std::int32_t s = 0;
        for (int i = 1; i <= N; ++i)
            s += std::abs(x[i + t] - x[i]);
        D[t] = s / 64;
    }
}

#if defined(__x86_64__)
// The vector forms read the block as bytes b[k] = x[k + 1] - minimum, k = 0..511: the differences are
// unchanged, and the processor's sum of absolute differences of bytes adds 8 of them into each 64-bit
// lane. Lag t compares b[t..t+255] with b[0..255]; no sum exceeds 256 x 255.

template <typename V>
const V* Adreca(const std::uint8_t* p) {
    return reinterpret_cast<const V*>(p);
}

void Corba128(const std::uint8_t* b, CorbaDiferencies& D) {
    constexpr int kTrossos = N / 16;
    __m128i a[kTrossos];
    for (int k = 0; k < kTrossos; ++k)
        a[k] = _mm_loadu_si128(Adreca<__m128i>(b + 16 * k));
    for (int t = 1; t <= N; ++t) {
        __m128i s = _mm_setzero_si128();
        for (int k = 0; k < kTrossos; ++k)
            s = _mm_add_epi64(s, _mm_sad_epu8(_mm_loadu_si128(Adreca<__m128i>(b + t + 16 * k)), a[k]));
        s = _mm_add_epi64(s, _mm_unpackhi_epi64(s, s));
        D[t] = static_cast<std::int32_t>(_mm_cvtsi128_si64(s)) / 64;
    }
}

__attribute__((target("avx2"))) void Corba256(const std::uint8_t* b, CorbaDiferencies& D) {
    constexpr int kTrossos = N / 32;
    __m256i a[kTrossos];
    for (int k = 0; k < kTrossos; ++k)
        a[k] = _mm256_loadu_si256(Adreca<__m256i>(b + 32 * k));
    for (int t = 1; t <= N; ++t) {
        __m256i s = _mm256_setzero_si256();
        for (int k = 0; k < kTrossos; ++k)
            s = _mm256_add_epi64(s,
                                 _mm256_sad_epu8(_mm256_loadu_si256(Adreca<__m256i>(b + t + 32 * k)), a[k]));
        __m128i m = _mm_add_epi64(_mm256_castsi256_si128(s), _mm256_extracti128_si256(s, 1));
        m = _mm_add_epi64(m, _mm_unpackhi_epi64(m, m));
        D[t] = static_cast<std::int32_t>(_mm_cvtsi128_si64(m)) / 64;
    }
}

__attribute__((target("avx512bw"))) void Corba512(const std::uint8_t* b, CorbaDiferencies& D) {
    constexpr int kTrossos = N / 64;
    __m512i a[kTrossos];
    for (int k = 0; k < kTrossos; ++k)
        a[k] = _mm512_loadu_si512(b + 64 * k);
    for (int t = 1; t <= N; ++t) {
        __m512i s = _mm512_setzero_si512();
        for (int k = 0; k < kTrossos; ++k)
            s = _mm512_add_epi64(s, _mm512_sad_epu8(_mm512_loadu_si512(b + t + 64 * k), a[k]));
        // Lanes read as elements of the vector: the reduction intrinsics warn falsely with GCC 12.
        long long total = 0;
        for (int l = 0; l < 8; ++l)
            total += s[l];
        D[t] = static_cast<std::int32_t>(total) / 64;
    }
}
#endif

std::vector<AmpladaVectors> Detectar() {
    std::vector<AmpladaVectors> v{AmpladaVectors::Cap};
#if defined(__x86_64__)
    v.push_back(AmpladaVectors::Bits128); // part of every x86-64 processor
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) v.push_back(AmpladaVectors::Bits256);
    if (__builtin_cpu_supports("avx512bw")) v.push_back(AmpladaVectors::Bits512);
#endif
    return v;
}

} // namespace

const std::vector<AmpladaVectors>& AmpladesDisponibles() {
    static const std::vector<AmpladaVectors> amplades = Detectar();
    return amplades;
}

void CalcularCorba(const std::int32_t* x, CorbaDiferencies& D, AmpladaVectors amplada) {
#if defined(__x86_64__)
    if (amplada == AmpladaVectors::Cap) return CorbaPlana(x, D);
    // Whole-block loops of a fixed count, which the compiler vectorises.
    std::int32_t minim = x[1], maxim = x[1];
    for (int k = 1; k <= 2 * N; ++k) {
        minim = std::min(minim, x[k]);
        maxim = std::max(maxim, x[k]);
    }
    if (static_cast<std::int64_t>(maxim) - minim <= 255) {
        std::array<std::uint8_t, 2 * N> b{};
        for (int k = 0; k < 2 * N; ++k)
            b[k] = static_cast<std::uint8_t>(x[k + 1] - minim);
        switch (amplada) {
        case AmpladaVectors::Bits128:
            Corba128(b.data(), D);
            return;
        case AmpladaVectors::Bits256:
            Corba256(b.data(), D);
            return;
        case AmpladaVectors::Bits512:
            Corba512(b.data(), D);
            return;
        case AmpladaVectors::Cap:
            break;
        }
    }
#else
    (void)amplada;
#endif
    CorbaPlana(x, D);
}

void CalcularCorba(const std::int32_t* x, CorbaDiferencies& D) {
    static const AmpladaVectors mesAmplada = AmpladesDisponibles().back();
    CalcularCorba(x, D, mesAmplada);
}

} // namespace tessora
