#pragma once

#include "platform/FileIo.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace Ini {
class Document;
}

// The catalogue file beside the executable: its sections and the one list that
// enumerates its entries ("Filelist" keys 100 to 200).
namespace Catalog {

inline constexpr int kFirstKey = 100;
inline constexpr int kLastKey = 200;
inline constexpr int kCapacity = kLastKey - kFirstKey + 1;

QString file();

// Where an entry's component file lies: its folder (resolved like folderOf)
// and file name.
struct Place
{
    QString folder;
    QString fileName;
    bool operator==(const Place&) const = default;
    QString path() const { return folder + fileName; }
};

// The entry of a name as a front end last saw it: not listed, or listed and
// pointing at `place`.
struct Seen
{
    bool listed = false;
    Place place;
};

struct Listed
{
    int key;
    QString name;
};

// The catalogue as one read of the file found it: the one way the program reads
// it. Every answer is the one a single key read of that file gives (first section
// and key count, at most 254 characters, one pair of outer quotes removed). The
// sections are named here by what they hold, and nowhere else.
class Snapshot
{
public:
    Snapshot() = default; // an empty catalogue
    // `catalogFile` is where the document came from: relative folders count from it.
    explicit Snapshot(const Ini::Document& document, const QString& catalogFile = file());
    // Reads the program's catalogue, or another one (the copy tool's source).
    static Snapshot read(const QString& catalogFile = file());

    // Whether the file could be read; a missing file is an empty catalogue and fine.
    const FileIo::Result& readResult() const { return m_read; }
    // False when the file's encoding was not recognised: nothing is written to it.
    bool encodingKnown() const { return m_encodingKnown; }
    bool ok() const { return m_read.ok() && m_encodingKnown; }
    // Why the catalogue cannot be used as read, naming the file; empty when ok().
    QString problem() const;
    QString catalogFile() const { return m_file; }

    QString listedName(int key) const;
    // "Filepath", ends with '/'. A relative value counts from the catalogue's own
    // folder, so a catalogue travels with the components beside it.
    QString folderOf(const QString& name) const;
    QString fileNameOf(const QString& name) const; // "Filename"
    QString captionOf(const QString& name) const;  // "Caption"
    bool isMarked(const QString& name) const;
    QString option(const QString& key) const;

    // The non-empty "Filelist" values in key order.
    QList<Listed> enumerate() const;
    // The listed entries in key order, each name once (letter case ignored): a name
    // listed twice counts once. `later` gets the later listings left out.
    QList<Listed> listedOnce(QList<Listed>* later = nullptr) const;
    // The listed spelling of `name` (letter case ignored); empty when not listed.
    QString listedAs(const QString& name) const;
    // Non-empty "Filelist" values under keys outside 100 to 200, by key: written by
    // hand or another program, never listed, and kept by every write.
    const QList<Listed>& beyond() const { return m_beyond; }
    // The names the saved list keeps: every listed name whose "Filepath" is set,
    // ascending without regard to case in the user's locale.
    QStringList sortedNames() const;
    // The key an entry named `name` goes under: the one that lists it already
    // (letter case ignored), else the first free one; -1 when the list is full.
    int slotFor(const QString& name) const;
    // The first key that lists exactly `name`, letter case included; -1 if none.
    int keyOf(const QString& name) const;
    // The entry of `name` (letter case ignored) as this read shows it.
    Seen seen(const QString& name) const;
    // Lines that are neither section nor key (blank ones aside): number and text.
    const QList<QPair<int, QString>>& strayLines() const { return m_strayLines; }

    // Any key; for the sections References.h keeps.
    QString value(const QString& section, QStringView key) const;

private:
    QHash<QString, QHash<QString, QString>> m_sections; // by case-folded names
    QList<Listed> m_beyond;
    QList<QPair<int, QString>> m_strayLines;
    QString m_file;
    FileIo::Result m_read;
    bool m_encodingKnown = true;
};

} // namespace Catalog
