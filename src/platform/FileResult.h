#pragma once

#include <QString>

#include <cerrno>

namespace FileIo {

// Not an errno value: the path names a pipe, device, socket or folder.
inline constexpr int kNotRegular = -1;
// Not an errno value: the file is larger than the caller accepts.
inline constexpr int kTooLarge = -2;
// Not an errno value: a file that could not be read as a whole is never replaced.
inline constexpr int kUnreadable = -3;
// Not an errno value: the file is in an encoding that cannot be written back as found.
inline constexpr int kForeignEncoding = -4;
// Not an errno value: the text would break the file's lines and is not written.
inline constexpr int kRefused = -5;
// Not an errno value: the file's encoding was not recognised; it is never written.
inline constexpr int kUnknownEncoding = -6;

// The outcome of a file operation: ok, or the system's error number.
class [[nodiscard]] Result
{
public:
    Result() = default;
    static Result failure(int error) { return Result(error == 0 ? EIO : error); }

    bool ok() const { return m_error == 0; }
    explicit operator bool() const { return ok(); }
    int error() const { return m_error; }

    // The reason in German, as one sentence for the user.
    QString reason() const;

private:
    explicit Result(int error) : m_error(error) {}
    int m_error = 0;
};

// The German sentence for a system error number (or kNotRegular, kTooLarge).
QString reasonFor(int error);

// A reason with the file it is about: "''<path>'': <reason>".
QString aboutFile(const QString& path, const QString& reason);

} // namespace FileIo
