#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <cstdint>

// SHA-256 of bytes given in pieces, as lower-case hex. Where the processor has
// the SHA instructions they do the work, several times as fast as the portable
// code, which runs elsewhere.
class Sha256
{
public:
    void add(QByteArrayView bytes);
    void reset();
    QByteArray hex();

    // Test seam: false makes every hash take the portable code.
    static void setInstructionsAllowed(bool allowed);

private:
    void blocks(const unsigned char* data, qsizetype count);

    std::array<std::uint32_t, 8> m_state = kInitial;
    std::array<unsigned char, 64> m_pending = {};
    qsizetype m_pendingSize = 0;
    quint64 m_length = 0; // bytes added

    static constexpr std::array<std::uint32_t, 8> kInitial = {0x6a09e667, 0xbb67ae85, 0x3c6ef372,
                                                              0xa54ff53a, 0x510e527f, 0x9b05688c,
                                                              0x1f83d9ab, 0x5be0cd19};
};
