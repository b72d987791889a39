#include "platform/IniFiles.h"
// Engine to come.
QString ReadIniValue(const QString&, const QString&, const QString&) { return {}; }
int WriteIniValue(const QString&, const QString&, const QString&, const QString&) { return 0; }
void DeleteIniKey(const QString&, const QString&, const QString&) {}
void DeleteIniSection(const QString&, const QString&) {}
int ReplaceIniSection(const QString&, const QString&, const QList<QPair<QString, QString>>&)
{
    return 0;
}
