#include "ui/Pictures.h"

#include <QDataStream>
#include <QFile>
#include <QImage>

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
    // Read through a stream: pointer arithmetic on the bytes here trips the
    // compiler's bounds warning once the sanitizers instrument it.
    QDataStream in(bytes.mid(10, 4));
    in.setByteOrder(QDataStream::LittleEndian);
    quint16 hotX = 0;
    quint16 hotY = 0;
    in >> hotX >> hotY;
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}
