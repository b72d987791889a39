#include "ui/Pictures.h"

#include <QFile>
#include <QImage>
#include <QtEndian>

// Q_INIT_RESOURCE must stand outside any namespace.
static void registerPictures()
{
    // The resources live in a static library, whose registration the linker
    // would otherwise drop.
    static const bool done = [] {
        Q_INIT_RESOURCE(ui);
        return true;
    }();
    Q_UNUSED(done);
}

namespace {

QPixmap load(const char* path)
{
    registerPictures();
    return QPixmap(QString::fromLatin1(path));
}

} // namespace

QIcon Pictures::windowIcon()
{
    registerPictures();
    return QIcon(QString::fromLatin1(kWindowIcon));
}

QPixmap Pictures::welcome()
{
    return load(kWelcome);
}
QPixmap Pictures::banner()
{
    return load(kBanner);
}
QPixmap Pictures::finish()
{
    return load(kFinish);
}
QPixmap Pictures::help()
{
    return load(kHelp);
}

QCursor Pictures::hand()
{
    registerPictures();
    QFile file(QString::fromLatin1(kHand));
    if (!file.open(QIODevice::ReadOnly))
        return QCursor(Qt::PointingHandCursor);
    const QByteArray bytes = file.readAll();
    const QImage image = QImage::fromData(bytes);
    // First directory entry of the cursor file: the hot spot sits where an
    // icon keeps its planes and bit count.
    if (image.isNull() || bytes.size() < 14)
        return QCursor(Qt::PointingHandCursor);
    const int hotX = qFromLittleEndian<quint16>(bytes.constData() + 10);
    const int hotY = qFromLittleEndian<quint16>(bytes.constData() + 12);
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}
