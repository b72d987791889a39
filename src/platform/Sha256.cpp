#include "platform/Sha256.h"

void Sha256::add(QByteArrayView bytes)
{
    m_hash.addData(bytes);
}

void Sha256::reset()
{
    m_hash.reset();
}

QByteArray Sha256::hex()
{
    return m_hash.result().toHex();
}
