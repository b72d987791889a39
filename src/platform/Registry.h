#pragma once

#include <QString>
#include <QVariant>

// A stand-in for the system registry: one INI-format file per hive in
// AppContext::registryFolder(), with the results the old platform gave.

inline constexpr quint32 HKEY_CURRENT_USER = 0x80000001u;
inline constexpr quint32 HKEY_LOCAL_MACHINE = 0x80000002u;

bool RegistryKeyExists(quint32 hive, const QString& subkey);

// True only when the key was newly created; an existing key or a failure is false.
bool RegistryCreateKey(quint32 hive, const QString& subkey, const QString& keyClass);

// Writes a text (REG_SZ, or REG_MULTI_SZ when it holds a CR), a 16-bit number
// (REG_DWORD) or a 32-bit number (REG_BINARY of 4 bytes). An empty value name is
// the key's default value. False when the key does not exist.
bool RegistrySetValue(quint32 hive, const QString& subkey, const QString& valueName,
                      const QVariant& value);

// Reads a value: texts come back as their stored characters, their terminating
// NUL and one blank, as the old platform answered; numbers as qint32. False when
// the key or value does not exist; `value` is left alone for other types.
bool RegistryGetValue(quint32 hive, const QString& subkey, const QString& valueName,
                      QVariant& value);
