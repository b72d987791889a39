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

// Every file write fails after `bytes` more bytes while it lives, as on a full disk.
struct DiskFull
{
    explicit DiskFull(qint64 bytes = 0) { FileIo::failWritesAfter(bytes); }
    ~DiskFull() { FileIo::clearFaults(); }
    DiskFull(const DiskFull&) = delete;
    DiskFull& operator=(const DiskFull&) = delete;
};
