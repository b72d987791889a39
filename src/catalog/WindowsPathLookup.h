#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Finds on this machine the file that a path in a project file names, as the
// development environment would find it on the project's own machine:
// - backslashes are separators, ".." parts are taken lexically (never above '/');
// - a part missing in its letter case is found under another: the exact name
//   first, else the first case-insensitive match in sorted order;
// - a drive-letter, UNC or rooted path is looked up by its last parts, the
//   longest that exists below the project's folder or one of its parents.
// Folder listings are read once per lookup object.
class WindowsPathLookup
{
public:
    // Relative paths count from `folder` (absolute, '/'-separated).
    explicit WindowsPathLookup(const QString& folder);

    // The file `rawPath` names ('/'-separated, absolute); empty when none is found.
    QString find(const QString& rawPath);

private:
    QString entry(const QString& folder, const QString& name);
    QString follow(const QString& folder, const QStringList& parts);
    const QStringList& listing(const QString& folder);

    QStringList m_folderParts;
    QHash<QString, QStringList> m_listings;
};
