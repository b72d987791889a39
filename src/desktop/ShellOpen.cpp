#include "desktop/ShellOpen.h"

#include "desktop/Desktop.h"

bool ShellOpen(const QString& file, int showCommand)
{
    Q_UNUSED(showCommand);
    return desktop().openFile(file);
}
