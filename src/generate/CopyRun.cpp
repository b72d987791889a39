#include "generate/CopyRun.h"

#include "catalog/ComponentFile.h"
#include "catalog/References.h"
#include "catalog/Selection.h"
#include "generate/Checks.h"
#include "platform/FileIo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace Generate {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Small enough that a stop is noticed quickly even on a slow disk, large enough
// that the kernel's copy runs at full speed.
constexpr qint64 kDefaultChunk = qint64(4) << 20;
qint64 g_chunkBytes = kDefaultChunk;
std::function<void(const CopyControl&)> g_afterChunk;

std::filesystem::path fsPath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

class FdCloser
{
public:
    explicit FdCloser(int fd) : m_fd(fd) {}
    ~FdCloser() { ::close(m_fd); }
    FdCloser(const FdCloser&) = delete;
    FdCloser& operator=(const FdCloser&) = delete;

private:
    int m_fd;
};

// Copies the planned files into their writers, one after the other, chunk by
// chunk, with one pair of buffers for all of them. Says when a stop was asked
// for in between.
class FileCopier
{
public:
    explicit FileCopier(CopyControl& control) : m_control(control) {}

    FileIo::Result copy(FileIo::AtomicWriter& writer, int fd, bool text, qint64 base,
                        qint64 plannedSize, bool* stopped)
    {
        m_base = base;
        m_size = plannedSize;
        m_copied = 0;
        *stopped = false;
        return text ? copyText(writer, fd, stopped) : copyBytes(writer, fd, stopped);
    }

private:
    FileIo::Result copyBytes(FileIo::AtomicWriter& writer, int fd, bool* stopped)
    {
        for (;;) {
            if (m_control.cancel) {
                *stopped = true;
                return {};
            }
            qint64 n = 0;
            if (FileIo::Result r = writer.copyFrom(fd, g_chunkBytes, &n); !r)
                return r;
            if (n == 0)
                return {};
            advance(n);
        }
    }

    FileIo::Result copyText(FileIo::AtomicWriter& writer, int fd, bool* stopped)
    {
        const qint64 chunk = qMin<qint64>(g_chunkBytes, qint64(1) << 20);
        if (m_in.size() != chunk) {
            m_in = QByteArray(qsizetype(chunk), Qt::Uninitialized);
            m_out = QByteArray(qsizetype(2 * chunk), Qt::Uninitialized);
        }
        bool lastWasCr = false;
        for (;;) {
            if (m_control.cancel) {
                *stopped = true;
                return {};
            }
            ssize_t n;
            do
                n = ::read(fd, m_in.data(), size_t(m_in.size()));
            while (n < 0 && errno == EINTR);
            if (n < 0)
                return FileIo::Result::failure(errno);
            if (n == 0)
                return {};
            // A binary file reaches the copy unchanged, however late its first NUL.
            const QByteArrayView read(m_in.constData(), n);
            if (ComponentFile::isBinary(read))
                return restartAsBinary(writer, fd, stopped);
            const qsizetype converted = ComponentFile::withCrLf(read, m_out.data(), lastWasCr);
            if (FileIo::Result r = writer.write(QByteArrayView(m_out.constData(), converted)); !r)
                return r;
            advance(n);
        }
    }

    // Starts the copy anew in a fresh temporary file, from the source's first byte.
    FileIo::Result restartAsBinary(FileIo::AtomicWriter& writer, int fd, bool* stopped)
    {
        if (::lseek(fd, 0, SEEK_SET) != 0)
            return FileIo::Result::failure(errno);
        if (FileIo::Result r = writer.open(); !r)
            return r;
        m_copied = 0;
        return copyBytes(writer, fd, stopped);
    }

    void advance(qint64 n)
    {
        m_copied += n;
        // Bytes read again after a restart do not move the progress back.
        const qint64 done = qMax(m_control.fileDone.load(), qMin(m_copied, m_size));
        m_control.fileDone = done;
        m_control.bytesDone = m_base + done;
        if (g_afterChunk)
            g_afterChunk(m_control);
    }

    CopyControl& m_control;
    qint64 m_base = 0;
    qint64 m_size = 0;
    qint64 m_copied = 0;
    QByteArray m_in;
    QByteArray m_out;
};

} // namespace

FileIo::Result makeFolders(const QString& folder, QStringList* created)
{
    QStringList missing;
    QString at = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo::exists(at) && !QFileInfo(at).isSymLink()) {
        missing.prepend(at);
        const QString parent = QFileInfo(at).path();
        if (parent == at)
            break;
        at = parent;
    }
    int error = ENOTDIR;
    for (const QString& level : std::as_const(missing)) {
        if (::mkdir(QFile::encodeName(level).constData(), 0777) != 0) {
            error = errno;
            break;
        }
        *created << level;
    }
    // Made meanwhile by someone else is as good.
    return QFileInfo(folder).isDir() ? FileIo::Result() : FileIo::Result::failure(error);
}

CopyPlan planCopies(const Catalog::Snapshot& catalogue, const QStringList& checkedEntries,
                    const QString& projectFolder)
{
    CopyPlan plan;
    plan.projectFolder = projectFolder;
    const auto add = [&](const QString& entry, const QString& fileName, const QString& source) {
        FileCopy copy;
        copy.entry = entry;
        copy.name = fileName;
        copy.source = source;
        copy.target = pathInProject(projectFolder, fileName);
        copy.text = Catalog::isText(fileName);
        copy.size = qMax<qint64>(QFileInfo(source).size(), 0);
        plan.totalBytes += copy.size;
        plan.files.append(copy);
    };

    Catalog::StartForm startForm;
    for (const QString& name : checkedEntries) {
        const QString folder = catalogue.folderOf(name);
        const QString fileName = catalogue.fileNameOf(name);

        if (const QString refusal = Catalog::copyRefusal(fileName); !refusal.isEmpty()) {
            plan.files.append({fileName.isEmpty() ? name : fileName, {}, {}, refusal});
        } else {
            add(name, fileName, folder + fileName);
            // A missing file still gets its line: the project then names it, and
            // the person is told.
            const QString projectLineText = Catalog::projectLine(name, fileName);
            if (!projectLineText.isEmpty())
                plan.projectLines += projectLineText + kCrLf;
            if (const QString companion = Catalog::companionIn(folder, fileName);
                !companion.isEmpty())
                add(name, companion, folder + companion);
            startForm.add(name, fileName);
            plan.remembered += References::linesOf(catalogue, name);
        }
        plan.marks << name;
    }
    plan.startForm = startForm.name();
    return plan;
}

QStringList stageCopies(const CopyPlan& plan, CopyControl& control, Staging& staging)
{
    QStringList createdFolders;
    // Before any copy, so the project files have a place even when nothing is copied.
    const bool folderReady = makeFolders(plan.projectFolder, &createdFolders).ok();

    FileCopier copier(control);
    qint64 base = 0;
    for (int i = 0; i < plan.files.size() && !control.cancel; ++i) {
        const FileCopy& file = plan.files.at(i);
        control.fileDone = 0;
        control.file = i;
        const auto fail = [&](const QString& reason) { staging.fail(file.name, reason); };
        const qint64 next = base + file.size;
        const auto finishFile = [&] {
            base = next;
            control.fileDone = file.size;
            control.bytesDone = base;
        };

        if (!file.refused.isEmpty()) {
            fail(file.refused);
            finishFile();
            continue;
        }
        // Replacing a file by itself would empty it; the catalogue's file stays as it is.
        std::error_code error;
        if (std::filesystem::equivalent(fsPath(file.source), fsPath(file.target), error)) {
            staging.inPlace(file.target);
            finishFile();
            continue;
        }
        int fd = -1;
        qint64 size = 0;
        if (const FileIo::Result opened = FileIo::openRegularFile(file.source, &fd, &size);
            !opened) {
            fail(opened.error() == ENOENT ? Reason::kSourceMissing : opened.reason());
            finishFile();
            continue;
        }
        const FdCloser closer(fd);
        if (!folderReady) {
            fail(Reason::kNoFolder);
            finishFile();
            continue;
        }
        if (!plan.replace &&
            (QFileInfo::exists(file.target) || QFileInfo(file.target).isSymLink())) {
            fail(FileIo::reasonFor(EEXIST));
            finishFile();
            continue;
        }
        auto writer = std::make_unique<FileIo::AtomicWriter>(file.target);
        bool stopped = false;
        FileIo::Result copied = writer->open();
        if (copied)
            copied = copier.copy(*writer, fd, file.text, base, file.size, &stopped);
        if (stopped)
            break;
        if (!copied)
            fail(copied.reason()); // the writer's temporary file goes with it
        else
            staging.add(file.name, file.target, std::move(writer), plan.replace);
        finishFile();
    }
    return createdFolders;
}

CopyResult runCopies(const CopyPlan& plan, CopyControl& control)
{
    CopyResult result;
    Staging staging;
    result.createdFolders = stageCopies(plan, control, staging);
    const Staging::Placed placed = staging.putInPlace(&control.cancel);
    if (placed.stopped) {
        removeEmptyFolders(result.createdFolders);
        result.createdFolders.clear();
        result.cancelled = true;
        return result;
    }
    result.written = placed.written;
    result.failures = placed.failures;
    return result;
}

void removeEmptyFolders(const QStringList& outermostFirst)
{
    for (qsizetype i = outermostFirst.size() - 1; i >= 0; --i) {
        // rmdir removes only an empty folder; one that holds anything ends the walk.
        if (!QDir().rmdir(outermostFirst.at(i)))
            break;
    }
}

QString sizeProgress(qint64 done, qint64 total)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    if (total < 1024)
        return QStringLiteral("%1 von %2 Bytes").arg(done).arg(total);
    static const char* const units[] = {"KB", "MB", "GB", "TB"};
    double scale = 1024.0;
    int unit = 0;
    while (unit < 3 && double(total) >= scale * 1024.0) {
        scale *= 1024.0;
        ++unit;
    }
    return QStringLiteral("%1 von %2 %3")
        .arg(german.toString(double(done) / scale, 'f', 1),
             german.toString(double(total) / scale, 'f', 1), QLatin1String(units[unit]));
}

CopyProgress copyProgress(const CopyPlan& plan, const CopyControl& control)
{
    CopyProgress progress;
    if (plan.totalBytes > 0)
        progress.perMille = int(control.bytesDone * 1000 / plan.totalBytes);
    const int file = control.file;
    if (file >= 0 && file < plan.files.size()) {
        const FileCopy& current = plan.files.at(file);
        progress.file = current.name + QStringLiteral(" (") +
                        sizeProgress(control.fileDone, current.size) + QLatin1Char(')');
    }
    return progress;
}

void setChunkBytes(qint64 bytes)
{
    g_chunkBytes = bytes > 0 ? bytes : kDefaultChunk;
}

void setAfterChunk(std::function<void(const CopyControl&)> hook)
{
    g_afterChunk = std::move(hook);
}

} // namespace Generate
