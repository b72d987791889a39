#pragma once

#include "platform/FileIo.h"
#include "platform/IniEdit.h"
#include "platform/IniGrammar.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

// The profile-file engine behind IniFiles.h and the registry stand-in.
//
// A file is a list of lines. A line whose first non-blank character is '[' and
// that holds a ']' is a section header; one that holds '=' is a key; one that
// begins with ';' is a comment. Anything else (and any line holding a NUL) is
// kept as it stands but means nothing. Blanks and tabs around names and values
// do not count; names compare without regard to case; the first of two equal
// sections or keys is the one that counts.
//
// Lines a change does not touch keep their text, and their bytes while the file
// keeps its encoding. A written file ends every line with CR LF and is
// Windows-1252 while every character fits, else UTF-8; a file that began with a
// UTF-8 byte-order mark keeps it and stays UTF-8. A UTF-16 or UTF-32 file with
// its mark, and UTF-16 without one whose bytes show it plainly (NUL bytes in
// every other position), stays in its encoding. A file whose first line looks
// wide but is none of these is read as it comes and never written. Ctrl-Z
// counts as a blank, and a section name runs to the last ']' of its line.
namespace Ini {

class Document
{
public:
    enum class State
    {
        Missing,
        Loaded,
        Unreadable
    };

    explicit Document(const QString& path);
    // A document of these bytes, as if read from a file; it has no file to save to.
    static Document fromBytes(const QByteArray& bytes);

    State state() const { return m_state; }
    // The bytes as read from the file; empty for a missing one.
    const QByteArray& bytes() const { return m_bytes; }
    // Why an unreadable file could not be read; success for a missing or loaded one.
    FileIo::Result readResult() const
    {
        return m_state == State::Unreadable ? FileIo::Result::failure(m_readError)
                                            : FileIo::Result();
    }
    // False for a file whose encoding was not recognised: it keeps its bytes.
    bool encodingKnown() const { return !m_unknown; }
    // False for an unreadable file and for one whose encoding was not
    // recognised: such a file keeps its bytes.
    bool writable() const;

    bool hasSection(QStringView section) const;
    bool value(QStringView section, QStringView key, QString* value) const;

    // Each gives false when it refuses or finds nothing to change.
    bool setValue(QStringView section, QStringView key, QStringView value);
    bool removeKey(QStringView section, QStringView key);
    bool removeSection(QStringView section);
    bool addSection(QStringView section);

    // Replaces the file atomically when something changed. An unreadable file is
    // never written.
    FileIo::Result save();
    // Whether a change is waiting for save(), and the bytes save() would write.
    bool changed() const { return m_changed; }
    QByteArray composed() const;
    // Whether `bytes`, read back, are in this document's encoding; save() writes
    // nothing that would read as another.
    bool keepsEncoding(const QByteArray& bytes) const;

    // The text of each line, without its line end; valid while the document
    // lives unchanged.
    QList<QStringView> lines() const;

private:
    struct Line
    {
        qsizetype rawPos; // into m_bytes; -1 for a line written here
        qsizetype rawLen;
        qsizetype textPos; // into m_text, or an index into m_written
        qsizetype textLen;
    };
    struct Range
    {
        qsizetype header = -1; // -1: no such section
        qsizetype end = -1;    // the next section's header or the end of the file
    };
    enum class Encoding
    {
        Ansi,
        Utf8,
        Utf16LE,
        Utf16BE,
        Utf32LE,
        Utf32BE
    };

    void load();
    void loadWide(const QString& text, Encoding encoding, bool marked);
    // Whether these bytes, read back, are in the encoding `written` wrote them in.
    bool readsLike(const Document& written) const;

    QStringView text(const Line& line) const;
    Line written(const QString& text);
    Range find(QStringView section) const;
    qsizetype findKey(const Range& range, QStringView key) const;
    QByteArray compose() const;

    Document() = default;

    QString m_path;
    State m_state = State::Missing;
    int m_readError = 0;
    bool m_bom = false;     // UTF-8 with its byte-order mark
    bool m_marked = false;  // UTF-16 or UTF-32 with its byte-order mark
    bool m_unknown = false; // encoding not recognised: read, but never written back
    Encoding m_encoding = Encoding::Ansi;
    bool m_changed = false;
    bool m_fileHoldsBytes = true; // until the first save
    QByteArray m_bytes;
    QString m_text;
    QList<Line> m_lines;
    QStringList m_written;
};

} // namespace Ini
