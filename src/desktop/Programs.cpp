#include "desktop/Programs.h"

#include "desktop/Desktop.h"

#include <QStandardPaths>

bool StartProgram(const QString& program, const QStringList& arguments, int windowStyle)
{
    return desktop().startProgram(program, arguments, windowStyle);
}

QString FindTextEditor()
{
    // Graphical plain-text editors, the desktops' own first.
    static const char* const kEditors[] = {"gnome-text-editor", "gedit", "kwrite", "kate",
                                           "mousepad",          "xed",   "pluma",  "featherpad",
                                           "leafpad",           "geany", "xedit"};
    for (const char* name : kEditors) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}
