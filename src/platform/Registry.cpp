#include "platform/Registry.h"

#include "platform/AppContext.h"
#include "platform/IniDocument.h"

#include <QDir>

// Each hive is an INI file; a key is the section named by its path, and each
// value is a line "name=type:data". Names and texts are escaped so that any
// characters, NUL and line breaks included, fit on one line and keep their
// outer blanks: a backslash is "\\", other awkward characters "\uXXXX". The
// default value is named "@".

namespace {

const QString kText = QStringLiteral("sz");
const QString kExpandText = QStringLiteral("expand_sz");
const QString kMultiText = QStringLiteral("multi_sz");
const QString kDword = QStringLiteral("dword");
const QString kBinary = QStringLiteral("hex");

QString hiveFile(quint32 hive)
{
    QString name;
    switch (hive) {
    case 0x80000000u:
        name = QStringLiteral("HKEY_CLASSES_ROOT");
        break;
    case HKEY_CURRENT_USER:
        name = QStringLiteral("HKEY_CURRENT_USER");
        break;
    case HKEY_LOCAL_MACHINE:
        name = QStringLiteral("HKEY_LOCAL_MACHINE");
        break;
    case 0x80000003u:
        name = QStringLiteral("HKEY_USERS");
        break;
    default:
        return {};
    }
    return AppContext::registryFolder() + QLatin1Char('/') + name + QStringLiteral(".ini");
}

bool isSurrogateHalf(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate())
        return i + 1 >= text.size() || !text[i + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text[i - 1].isHighSurrogate();
    return false;
}

QString escaped(QStringView text, bool isName)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool atEdge = i == 0 || i == text.size() - 1;
        const bool awkward =
            c.unicode() < 0x20 || c.unicode() == 0x7F || (c == u' ' && atEdge) ||
            isSurrogateHalf(text, i) ||
            (isName && (c == u'=' || (i == 0 && (c == u';' || c == u'[' || c == u'@'))));
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (awkward)
            out += QStringLiteral("\\u") +
                   QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

QString unescaped(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size() && text[i + 1] == u'\\') {
            out += u'\\';
            ++i;
            continue;
        }
        if (text[i] == u'\\' && i + 5 < text.size() && text[i + 1] == u'u') {
            bool ok = false;
            const ushort code = text.sliced(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 5;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

QString valueKey(const QString& valueName)
{
    return valueName.isEmpty() ? QStringLiteral("@") : escaped(valueName, true);
}

QString typed(const QString& type, const QString& data)
{
    return type + u':' + data;
}

bool keyExists(const QString& file, const QString& subkey)
{
    if (subkey.isEmpty())
        return true; // the hive itself
    return Ini::Document(file).hasSection(subkey);
}

} // namespace

bool RegistryKeyExists(quint32 hive, const QString& subkey)
{
    const QString file = hiveFile(hive);
    return !file.isEmpty() && keyExists(file, subkey);
}

bool RegistryCreateKey(quint32 hive, const QString& subkey, const QString& keyClass)
{
    Q_UNUSED(keyClass) // the stand-in keeps no key classes
    const QString file = hiveFile(hive);
    if (file.isEmpty() || !Ini::isWritableSection(subkey))
        return false;
    QDir().mkpath(AppContext::registryFolder());
    bool created = false;
    const FileIo::Result result = Ini::edit(file, [&](Ini::Document& document) {
        if (!document.writable() || document.hasSection(subkey))
            return false;
        // As in the registry, the keys on the way are created too.
        for (qsizetype slash = subkey.indexOf(u'\\'); slash > 0;
             slash = subkey.indexOf(u'\\', slash + 1)) {
            const QString parent = subkey.left(slash);
            if (Ini::isWritableSection(parent) && !document.hasSection(parent))
                document.addSection(parent);
        }
        created = document.addSection(subkey);
        return created;
    });
    return created && result.ok();
}

bool RegistrySetValue(quint32 hive, const QString& subkey, const QString& valueName,
                      const QVariant& value)
{
    const QString file = hiveFile(hive);
    if (file.isEmpty() || subkey.isEmpty())
        return false;
    QString data;
    bool writes = true;
    switch (value.typeId()) {
    case QMetaType::QString: {
        QString text = value.toString();
        if (!text.contains(u'\r')) {
            data = typed(kText, escaped(text, false));
            break;
        }
        if (!text.endsWith(QStringLiteral("\r\n")))
            text += QStringLiteral("\r\n");
        data = typed(kMultiText, escaped(text, false));
        break;
    }
    case QMetaType::Short:
    case QMetaType::UShort: {
        const quint32 number = value.typeId() == QMetaType::Short
                                   ? quint32(qint32(value.value<short>()))
                                   : quint32(value.value<ushort>());
        data = typed(kDword, QStringLiteral("%1").arg(number, 8, 16, QLatin1Char('0')));
        break;
    }
    case QMetaType::Int:
    case QMetaType::UInt: {
        const quint32 number = value.toUInt();
        QStringList bytes;
        for (int shift = 0; shift < 32; shift += 8)
            bytes.append(
                QStringLiteral("%1").arg((number >> shift) & 0xFF, 2, 16, QLatin1Char('0')));
        data = typed(kBinary, bytes.join(u','));
        break;
    }
    default:
        writes = false; // other kinds write nothing
        break;
    }
    bool found = false;
    bool accepted = false;
    const FileIo::Result result = Ini::edit(file, [&](Ini::Document& document) {
        found = document.hasSection(subkey);
        if (!found || !writes)
            return false;
        accepted = document.setValue(subkey, valueKey(valueName), data);
        return accepted;
    });
    if (!found)
        return false;
    return !writes || (accepted && result.ok());
}

bool RegistryGetValue(quint32 hive, const QString& subkey, const QString& valueName,
                      QVariant& value)
{
    const QString file = hiveFile(hive);
    if (file.isEmpty() || subkey.isEmpty())
        return false;
    const Ini::Document document(file);
    QString stored;
    if (!document.hasSection(subkey) || !document.value(subkey, valueKey(valueName), &stored))
        return false;
    const qsizetype colon = stored.indexOf(u':');
    if (colon < 0)
        return true; // a type this stand-in does not know
    const QStringView type = QStringView(stored).first(colon);
    const QStringView data = QStringView(stored).sliced(colon + 1);
    if (type == kText || type == kExpandText || type == kMultiText) {
        // The old platform handed back the buffer: the characters, their NUL and a blank.
        value = unescaped(data) + QChar(u'\0') + QChar(u' ');
        return true;
    }
    if (type == kDword) {
        bool ok = false;
        const quint32 number = data.toUInt(&ok, 16);
        if (!ok)
            return false;
        value = QVariant::fromValue(qint32(number));
        return true;
    }
    if (type == kBinary) {
        const QList<QStringView> bytes = data.isEmpty() ? QList<QStringView>() : data.split(u',');
        if (bytes.size() > 4)
            return false; // more than the 4 bytes asked for
        quint32 number = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            bool ok = false;
            const uint byte = bytes.at(i).toUInt(&ok, 16);
            if (!ok || byte > 0xFF)
                return false;
            number |= quint32(byte) << (8 * i);
        }
        value = QVariant::fromValue(qint32(number));
        return true;
    }
    return true;
}
