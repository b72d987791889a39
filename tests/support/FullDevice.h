#pragma once

#include "platform/FileIo.h"

#include <QIODevice>

// A stream that takes nothing, as a full disk.
class FullDevice : public QIODevice
{
public:
    FullDevice()
    {
        open(WriteOnly);
        setErrorString(FileIo::reasonFor(ENOSPC));
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64) override { return -1; }
};
