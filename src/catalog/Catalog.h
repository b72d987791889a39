#pragma once

#include <QString>
#include <QStringList>

// The catalogue file beside the executable: its sections and the one list that
// enumerates its entries ("Filelist" keys 100 to 200).
namespace Catalog {

inline constexpr int kFirstKey = 100;
inline constexpr int kLastKey = 200;

QString file();

QString read(const QString& section, const QString& key);
int write(const QString& section, const QString& key, const QString& value);

struct Listed
{
    int key;
    QString name;
};

// The non-empty "Filelist" values in key order.
QList<Listed> enumerate();

// The names that the saved list keeps: every listed name whose "Filepath" is
// set, in ascending order without regard to case in the user's locale.
QStringList sortedNames();

// Rewrites "Filelist" as 100, 101, ... in the given order, in one atomic
// replacement; no names leaves no "Filelist" section at all.
void saveList(const QStringList& names);

} // namespace Catalog
