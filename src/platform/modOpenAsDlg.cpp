#include "platform/modOpenAsDlg.h"

#include "platform/Desktop.h"

bool ShellOpen(const QString& file, int showCommand)
{
    Q_UNUSED(showCommand);
    return desktop().openFile(file);
}
