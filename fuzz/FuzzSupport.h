#pragma once

// What both fuzz targets share. Included by exactly one file of each target.

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

// A broken promise ends the run, so libFuzzer keeps the input.
void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// The target's scratch folder: memory-backed where possible, since every write
// syncs its file.
QString scratchPattern(const char* target)
{
    const QString name = QLatin1Char('/') + QLatin1String(target) + QStringLiteral("-XXXXXX");
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") + name
                                                     : QDir::tempPath() + name;
}

} // namespace

// Every input makes many short-lived strings. A smaller quarantine and no fill
// of fresh blocks keep the sanitizer from touching new pages all the time; a
// shorter allocation stack still names the caller. Use-after-free within the
// 16 MB most recently freed is still caught.
extern "C" const char* __asan_default_options()
{
    return "quarantine_size_mb=16:max_malloc_fill_size=0:malloc_context_size=10";
}
