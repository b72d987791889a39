#include "platform/WinVersionen.h"

QString WinVersion()
{
    return {};
}
