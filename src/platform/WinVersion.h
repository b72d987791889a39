#pragma once

#include <QString>

// The version name of the old platform; here always the empty text, so the
// default separator line is shown.
QString WinVersion();
