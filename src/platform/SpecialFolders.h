#pragma once

#include <QString>

inline constexpr int CSIDL_PERSONAL = 5; // the user's documents folder
inline constexpr int CSIDL_DRIVES = 17;  // the computer's top level

// The folder's path without a trailing '/', or the empty text.
QString SpecialFolderPath(int folder);
