#include "platform/Registry.h"
#include "support/TestFolder.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString kKey = u"Software\\Velkaro\\Quorvix Manager"_s;
const QString kName = u"LastNew"_s;
// What the old platform handed out after a text: its NUL and one blank.
const QString kTail = QStringView(u"\0 ", 2).toString();
} // namespace

// The registry stand-in answers as the old platform did.
class tst_registry : public QObject
{
    Q_OBJECT
private slots:
    void keysAndTextReadBack()
    {
        TestFolder t;
        QVariant value(42);
        QVERIFY(!RegistrySetValue(HKEY_CURRENT_USER, kKey, kName, u"x"_s));
        QVERIFY(RegistryCreateKey(HKEY_CURRENT_USER, kKey, QString()));
        QVERIFY(!RegistryCreateKey(HKEY_CURRENT_USER, kKey, QString())); // already there
        QVERIFY(RegistryKeyExists(HKEY_CURRENT_USER, kKey.toUpper()));
        QVERIFY(!RegistryKeyExists(HKEY_LOCAL_MACHINE, kKey));
        QVERIFY(!RegistryGetValue(HKEY_CURRENT_USER, kKey, kName, value));
        QCOMPARE(value, QVariant(42));
    }

    void values_data()
    {
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<QVariant>("read");
        QTest::addColumn<QByteArray>("type"); // as the hive file keeps it
        const QString path = u"/p/Kunde/Kunde.vbp"_s;
        QTest::newRow("text") << QVariant(path) << QVariant(path + kTail) << "sz:"_ba;
        // A text read back carries NUL and blank; written again it is stored as it is.
        QTest::newRow("text read back")
            << QVariant(path + kTail) << QVariant(path + kTail + kTail) << "sz:"_ba;
        QTest::newRow("umlauts and beyond")
            << QVariant(u"Übung ł €"_s) << QVariant(u"Übung ł €"_s + kTail) << "sz:"_ba;
        QTest::newRow("text with CR gets a final CR LF")
            << QVariant(u"a\r\nb"_s) << QVariant(u"a\r\nb\r\n"_s + kTail) << "multi_sz:"_ba;
        QTest::newRow("final CR LF kept")
            << QVariant(u"a\rb\r\n"_s) << QVariant(u"a\rb\r\n"_s + kTail) << "multi_sz:"_ba;
        QTest::newRow("16-bit as DWORD")
            << QVariant::fromValue(short(-1)) << QVariant(-1) << "dword:ffffffff"_ba;
        QTest::newRow("32-bit as 4 bytes") << QVariant::fromValue(qint32(0x12345678))
                                           << QVariant(0x12345678) << "hex:78,56,34,12"_ba;
    }
    void values()
    {
        QFETCH(QVariant, written);
        QFETCH(QVariant, read);
        QFETCH(QByteArray, type);
        TestFolder t;
        QVERIFY(RegistryCreateKey(HKEY_CURRENT_USER, kKey, {}));
        for (const QString& name : {QString(), kName}) { // the key's default value too
            QVERIFY(RegistrySetValue(HKEY_CURRENT_USER, kKey, name, written));
            QVariant value;
            QVERIFY(RegistryGetValue(HKEY_CURRENT_USER, kKey, name.toUpper(), value));
            QCOMPARE(value, read);
        }
        const QByteArray hive = TestFolder::read(t.registry() + u"/HKEY_CURRENT_USER.ini"_s);
        QVERIFY(hive.contains("LastNew=" + type));
    }
};

QTEST_GUILESS_MAIN(tst_registry)
#include "tst_registry.moc"
