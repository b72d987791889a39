#include "platform/WinVersion.h"

QString WinVersion()
{
    return {};
}
