#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QCryptographicHash>

// SHA-256 of bytes given in pieces, as lower-case hex.
class Sha256
{
public:
    void add(QByteArrayView bytes);
    void reset();
    QByteArray hex();

private:
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
};
