#pragma once

#include "generate/Failures.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// What a generation changed, kept so that a stop can put everything back: the
// older bytes of each file it replaces (a hard link beside the file, a copy where
// the folder cannot hold links), the folders it made, and the catalogue as it was
// before the run replaced it.
namespace Generate {

class Undo
{
public:
    Undo() = default;
    // Keeps the run: the kept older files go.
    ~Undo();
    Undo(const Undo&) = delete;
    Undo& operator=(const Undo&) = delete;

    // Before `path` may be replaced or made; once per path.
    void keepFile(const QString& path);
    void madeFolders(const QStringList& outermostFirst);
    // After the run replaced the catalogue: its bytes before, as read under the
    // lock for that change; `existed` false when there was none.
    void keepCatalogue(const QByteArray& before, bool existed);

    // Puts back every kept file, removes what the run made, restores the
    // catalogue. Gives what could not be put back.
    QList<Failure> putBack();

private:
    struct Kept
    {
        QString path;   // the file a write of the path replaces
        QString backup; // empty: there was nothing, or it could not be kept
        bool existed = false;
        quint64 device = 0; // the older file's identity: unchanged means not replaced
        quint64 inode = 0;
        int error = 0; // why it could not be kept
    };
    QList<Kept> m_files;
    QSet<QString> m_seen;
    QStringList m_folders;
    bool m_catalogueKept = false;
    bool m_catalogueExisted = false;
    QByteArray m_catalogue;
};

} // namespace Generate
