#include "platform/Registry.h"
// Stand-in to come.
bool RegistryKeyExists(quint32, const QString&) { return false; }
bool RegistryCreateKey(quint32, const QString&, const QString&) { return false; }
bool RegistrySetValue(quint32, const QString&, const QString&, const QVariant&) { return false; }
bool RegistryGetValue(quint32, const QString&, const QString&, QVariant&) { return false; }
