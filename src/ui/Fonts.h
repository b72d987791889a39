#pragma once

#include <QFont>
#include <QString>

// Every font of the two windows comes from here, so a missing family is
// replaced in one place.
namespace Fonts {

// "DejaVu Sans Condensed" (Debian's fonts-dejavu-extra).
QString condensedFamily();

// "Tahoma" where it is installed, otherwise DejaVu Sans Condensed, whose widths
// lie within a few pixels of Tahoma's at the sizes the windows use.
QString tahomaFamily();

// The window font of the main window and the description dialog: 9 pt.
QFont windowFont();

QFont condensed(qreal points, bool bold = false);
QFont tahoma(qreal points, bool bold = false);

} // namespace Fonts
