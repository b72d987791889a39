#include "ui/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

QFont make(const QString& family, qreal points, bool bold)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

} // namespace

QString Fonts::condensedFamily()
{
    return QStringLiteral("DejaVu Sans Condensed");
}

QString Fonts::tahomaFamily()
{
    // Asking families() rather than hasFamily(): fontconfig resolves the alias
    // "Tahoma" to whatever sans it has, which is not the font we mean.
    static const QString family =
        QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive)
            ? QStringLiteral("Tahoma")
            : condensedFamily();
    return family;
}

QFont Fonts::windowFont()
{
    return condensed(9);
}

QFont Fonts::condensed(qreal points, bool bold)
{
    return make(condensedFamily(), points, bold);
}

QFont Fonts::tahoma(qreal points, bool bold)
{
    return make(tahomaFamily(), points, bold);
}
