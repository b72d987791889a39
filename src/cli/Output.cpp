#include "cli/Output.h"

#include "cli/Texts.h"
#include "platform/FileIo.h"

#include <QIODevice>

#include <algorithm>

#include <cerrno>

#include <unistd.h>

namespace Cli {

Output::Output(QIODevice* out, QIODevice* err, bool errIsTerminal)
    : m_out(out), m_err(err), m_errIsTerminal(errIsTerminal)
{
}

void Output::data(const QString& text)
{
    if (m_outLost)
        return;
    m_out << text;
    m_out.flush();
    if (m_out.status() != QTextStream::Ok) {
        m_outLost = true;
        message(kOutputLost.arg(m_out.device()->errorString()));
    }
}

void Output::line(const QString& text)
{
    data(text + QLatin1Char('\n'));
}

void Output::message(const QString& text)
{
    if (m_progressShown) {
        writeErr(QStringLiteral("\r\x1b[K"));
        m_progressShown = false;
    }
    writeErr(text + QLatin1Char('\n'));
}

void Output::progress(const QString& text)
{
    writeErr(QLatin1Char('\r') + text + QStringLiteral("\x1b[K"));
    m_progressShown = true;
}

int Output::exitCode(int code) const
{
    return lost() ? std::max(code, int(kProblems)) : code;
}

void Output::writeErr(const QString& text)
{
    if (m_errLost)
        return;
    m_err << text;
    m_err.flush();
    m_errLost = m_err.status() != QTextStream::Ok;
}

namespace {

// Standard output or error, written straight through; a write that fails keeps
// its reason in German.
class Descriptor : public QIODevice
{
public:
    explicit Descriptor(int fd) : m_fd(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        qint64 done = 0;
        while (done < size) {
            const ssize_t n = ::write(m_fd, data + done, size_t(size - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                setErrorString(FileIo::reasonFor(n < 0 ? errno : EIO));
                return -1;
            }
            done += n;
        }
        return done;
    }

private:
    int m_fd;
};

} // namespace

int onStandardStreams(const std::function<int(Output&)>& run)
{
    Descriptor out(STDOUT_FILENO);
    Descriptor err(STDERR_FILENO);
    Output output(&out, &err, ::isatty(STDERR_FILENO) == 1);
    return run(output);
}

} // namespace Cli
