#include "platform/SpecialFolders.h"

#include "platform/AppContext.h"

QString SpecialFolderPath(int folder)
{
    switch (folder) {
    case CSIDL_PERSONAL:
        return AppContext::documentsFolder();
    case CSIDL_DRIVES:
        return QStringLiteral("/");
    default:
        return {};
    }
}
