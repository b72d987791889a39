#include "platform/Registry.h"
#include "support/TestFolder.h"

#include <QTest>

using namespace Qt::StringLiterals;

const QString kKey = u"Software\\Velkaro\\Quorvix Manager"_s, kName = u"LastNew"_s;
// What the old platform handed out after a text: its NUL and one blank.
const QString kTail = QStringView(u"\0 ", 2).toString();

class tst_registry : public QObject
{
    Q_OBJECT
private slots:
    // A text read back carries NUL and blank; written again it is stored as it is.
    void values()
    {
        // Written, read back, and the type as the hive file keeps it.
        const std::tuple<QVariant, QVariant, QByteArray> rows[] = {
            {u"/p/Kunde/Kunde.vbp"_s, u"/p/Kunde/Kunde.vbp"_s + kTail, "sz:"_ba},
            {u"/p/Kunde/Kunde.vbp"_s + kTail, u"/p/Kunde/Kunde.vbp"_s + kTail + kTail, "sz:"_ba},
            {u"Übung ł €"_s, u"Übung ł €"_s + kTail, "sz:"_ba},
            {u"a\r\nb"_s, u"a\r\nb\r\n"_s + kTail, "multi_sz:"_ba}, // CR: a final CR LF
            {u"a\rb\r\n"_s, u"a\rb\r\n"_s + kTail, "multi_sz:"_ba},
            {QVariant::fromValue(short(-1)), -1, "dword:ffffffff"_ba},
            {QVariant::fromValue(qint32(0x12345678)), 0x12345678, "hex:78,56,34,12"_ba}};
        for (const auto& [written, read, type] : rows) {
            TestFolder t;
            QVariant value(42);
            QVERIFY(!RegistrySetValue(HKEY_CURRENT_USER, kKey, kName, u"x"_s));
            QVERIFY(RegistryCreateKey(HKEY_CURRENT_USER, kKey, QString()));
            QVERIFY(!RegistryCreateKey(HKEY_CURRENT_USER, kKey, QString())); // already there
            QVERIFY(RegistryKeyExists(HKEY_CURRENT_USER, kKey.toUpper()));
            QVERIFY(!RegistryKeyExists(HKEY_LOCAL_MACHINE, kKey));
            QVERIFY(!RegistryGetValue(HKEY_CURRENT_USER, kKey, kName, value));
            QCOMPARE(value, QVariant(42));
            for (const QString& name : {QString(), kName}) { // the key's default value too
                QVERIFY(RegistrySetValue(HKEY_CURRENT_USER, kKey, name, written));
                QVariant got;
                QVERIFY(RegistryGetValue(HKEY_CURRENT_USER, kKey, name.toUpper(), got));
                QCOMPARE(got, read);
            }
            QVERIFY(TestFolder::read(t.registry() + u"/HKEY_CURRENT_USER.ini"_s)
                        .contains("LastNew=" + type));
        }
    }
};

QTEST_GUILESS_MAIN(tst_registry)
#include "tst_registry.moc"
