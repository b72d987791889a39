#include "platform/Sha256.h"

#include <atomic>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define VORLAGEN_SHA_INSTRUCTIONS 1
#endif

namespace {

using std::uint32_t;

alignas(16) constexpr uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

std::atomic<bool> g_instructionsAllowed{true};

uint32_t rotated(uint32_t x, int n)
{
    return (x >> n) | (x << (32 - n));
}

void portableBlocks(uint32_t* state, const unsigned char* data, qsizetype count)
{
    for (; count > 0; --count, data += 64) {
        uint32_t w[64];
        for (int i = 0; i < 16; ++i)
            w[i] = uint32_t(data[4 * i]) << 24 | uint32_t(data[4 * i + 1]) << 16 |
                   uint32_t(data[4 * i + 2]) << 8 | uint32_t(data[4 * i + 3]);
        for (int i = 16; i < 64; ++i) {
            const uint32_t s0 = rotated(w[i - 15], 7) ^ rotated(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const uint32_t s1 = rotated(w[i - 2], 17) ^ rotated(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
        uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
        for (int i = 0; i < 64; ++i) {
            const uint32_t t1 = h + (rotated(e, 6) ^ rotated(e, 11) ^ rotated(e, 25)) +
                                ((e & f) ^ (~e & g)) + kRound[i] + w[i];
            const uint32_t t2 =
                (rotated(a, 2) ^ rotated(a, 13) ^ rotated(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + t2;
        }
        state[0] += a;
        state[1] += b;
        state[2] += c;
        state[3] += d;
        state[4] += e;
        state[5] += f;
        state[6] += g;
        state[7] += h;
    }
}

#ifdef VORLAGEN_SHA_INSTRUCTIONS

bool hasInstructions()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d))
        return false;
    const bool sse = (c & bit_SSSE3) && (c & bit_SSE4_1);
    return sse && __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & bit_SHA);
}

// Four rounds at a time, the message schedule worked out four words ahead.
__attribute__((target("sha,sse4.1,ssse3"))) void
instructionBlocks(uint32_t* state, const unsigned char* data, qsizetype count)
{
    const __m128i byteOrder = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    __m128i cdab = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<__m128i*>(state)), 0xB1);
    __m128i efgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<__m128i*>(state + 4)), 0x1B);
    __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
    __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
    for (; count > 0; --count, data += 64) {
        const __m128i abefBefore = abef;
        const __m128i cdghBefore = cdgh;
        __m128i words[4];
#pragma GCC unroll 16
        for (int g = 0; g < 16; ++g) {
            if (g < 4)
                words[g] = _mm_shuffle_epi8(
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * g)), byteOrder);
            __m128i message = _mm_add_epi32(
                words[g & 3], _mm_load_si128(reinterpret_cast<const __m128i*>(kRound + 4 * g)));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, message);
            if (g >= 3 && g <= 14) {
                __m128i& next = words[(g + 1) & 3];
                next = _mm_add_epi32(next, _mm_alignr_epi8(words[g & 3], words[(g + 3) & 3], 4));
                next = _mm_sha256msg2_epu32(next, words[g & 3]);
            }
            message = _mm_shuffle_epi32(message, 0x0E);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, message);
            if (g >= 1 && g <= 12)
                words[(g + 3) & 3] = _mm_sha256msg1_epu32(words[(g + 3) & 3], words[g & 3]);
        }
        abef = _mm_add_epi32(abef, abefBefore);
        cdgh = _mm_add_epi32(cdgh, cdghBefore);
    }
    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

const bool kHasInstructions = hasInstructions();

#endif

} // namespace

void Sha256::blocks(const unsigned char* data, qsizetype count)
{
#ifdef VORLAGEN_SHA_INSTRUCTIONS
    if (kHasInstructions && g_instructionsAllowed) {
        instructionBlocks(m_state.data(), data, count);
        return;
    }
#endif
    portableBlocks(m_state.data(), data, count);
}

void Sha256::add(QByteArrayView bytes)
{
    auto data = reinterpret_cast<const unsigned char*>(bytes.data());
    qsizetype size = bytes.size();
    m_length += quint64(size);
    if (m_pendingSize > 0) {
        const qsizetype taken = qMin(size, 64 - m_pendingSize);
        std::memcpy(m_pending.data() + m_pendingSize, data, size_t(taken));
        m_pendingSize += taken;
        data += taken;
        size -= taken;
        if (m_pendingSize < 64)
            return;
        blocks(m_pending.data(), 1);
        m_pendingSize = 0;
    }
    if (size >= 64) {
        blocks(data, size / 64);
        data += size / 64 * 64;
        size %= 64;
    }
    if (size > 0)
        std::memcpy(m_pending.data(), data, size_t(size));
    m_pendingSize = size;
}

void Sha256::reset()
{
    *this = Sha256();
}

QByteArray Sha256::hex()
{
    Sha256 last = *this;
    const quint64 bits = m_length * 8;
    unsigned char tail[72] = {0x80};
    const qsizetype padding = (m_pendingSize < 56 ? 56 : 120) - m_pendingSize;
    for (int i = 0; i < 8; ++i)
        tail[padding + i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
    last.add(QByteArrayView(reinterpret_cast<const char*>(tail), padding + 8));
    QByteArray digest(32, Qt::Uninitialized);
    for (int i = 0; i < 32; ++i)
        digest[i] = char(last.m_state[size_t(i / 4)] >> (24 - 8 * (i % 4)));
    return digest.toHex();
}

void Sha256::setInstructionsAllowed(bool allowed)
{
    g_instructionsAllowed = allowed;
}
