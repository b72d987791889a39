#include "platform/Registry.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {
const QString kKey = QStringLiteral("Software\\Velkaro\\Quorvix Manager");

QString tail()
{
    return QStringView(u"\0 ", 2).toString();
}
} // namespace

// The registry stand-in answers as the old platform did.
class tst_registry : public QObject
{
    Q_OBJECT
private slots:
    void createKey()
    {
        TestFolder t;
        QVERIFY(!QDir(t.registry()).exists());
        QVERIFY(!RegistryKeyExists(HKEY_CURRENT_USER, kKey));
        QVERIFY(RegistryCreateKey(HKEY_CURRENT_USER, kKey, QString()));
        QVERIFY(QFile::exists(t.registry() + QStringLiteral("/HKEY_CURRENT_USER.ini")));
        QVERIFY(!RegistryCreateKey(HKEY_CURRENT_USER, kKey, QString())); // already there
        QVERIFY(RegistryKeyExists(HKEY_CURRENT_USER, kKey));
        QVERIFY(RegistryKeyExists(HKEY_CURRENT_USER, kKey.toUpper()));
        QVERIFY(RegistryKeyExists(HKEY_CURRENT_USER, QStringLiteral("Software\\Velkaro")));
        QVERIFY(!RegistryKeyExists(HKEY_LOCAL_MACHINE, kKey)); // hives are apart
        QVERIFY(!RegistryKeyExists(HKEY_CURRENT_USER, kKey + QStringLiteral("\\Sub")));
        QVERIFY(!RegistryCreateKey(HKEY_CURRENT_USER, QStringLiteral("Software\\Velkaro"), {}));
        QVERIFY(!RegistryCreateKey(0x12345678u, kKey, {}));
    }

    void missingKeyOrValue()
    {
        TestFolder t;
        QVariant value(42);
        QVERIFY(!RegistrySetValue(HKEY_CURRENT_USER, kKey, QStringLiteral("LastNew"),
                                  QStringLiteral("x")));
        QVERIFY(!RegistryGetValue(HKEY_CURRENT_USER, kKey, QStringLiteral("LastNew"), value));
        QVERIFY(RegistryCreateKey(HKEY_CURRENT_USER, kKey, {}));
        QVERIFY(!RegistryGetValue(HKEY_CURRENT_USER, kKey, QStringLiteral("LastNew"), value));
        QCOMPARE(value, QVariant(42));
    }

    void text_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored"); // what comes back before NUL and blank
        QTest::newRow("plain") << "LastNew"
                               << "/p/Kunde/Kunde.vbp"
                               << "/p/Kunde/Kunde.vbp";
        QTest::newRow("default value") << ""
                                       << "x"
                                       << "x";
        QTest::newRow("empty text") << "v"
                                    << ""
                                    << "";
        QTest::newRow("umlauts and beyond") << "Öffnen"
                                            << "Übung ł €"
                                            << "Übung ł €";
        QTest::newRow("outer blanks and tabs") << " v "
                                               << " \ta\t "
                                               << " \ta\t ";
        QTest::newRow("backslashes and escapes") << "a\\b"
                                                 << "C:\\u0041\\\\x"
                                                 << "C:\\u0041\\\\x";
        QTest::newRow("awkward name") << "[=;x]"
                                      << "\"q\""
                                      << "\"q\"";
        QTest::newRow("text read back before") << "v"
                                               << "abc" + tail() << "abc" + tail();
        QTest::newRow("lines get a final CR LF") << "v"
                                                 << "a\r\nb"
                                                 << "a\r\nb\r\n";
        QTest::newRow("final CR LF kept") << "v"
                                          << "a\r\nb\r\n"
                                          << "a\r\nb\r\n";
        QTest::newRow("lone CR") << "v"
                                 << "a\rb"
                                 << "a\rb\r\n";
        QTest::newRow("LF without CR is one line") << "v"
                                                   << "a\nb"
                                                   << "a\nb";
    }
    void text()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, stored);
        TestFolder t;
        QVERIFY(RegistryCreateKey(HKEY_LOCAL_MACHINE, kKey, {}));
        QVERIFY(RegistrySetValue(HKEY_LOCAL_MACHINE, kKey, name, text));
        QVariant value;
        QVERIFY(RegistryGetValue(HKEY_LOCAL_MACHINE, kKey, name.toUpper(), value));
        QCOMPARE(value.toString(), stored + tail());
        // Handing the answer back stores it as it is; lines still get their CR LF.
        QVERIFY(RegistrySetValue(HKEY_LOCAL_MACHINE, kKey, name, value));
        QVERIFY(RegistryGetValue(HKEY_LOCAL_MACHINE, kKey, name, value));
        const QString lineEnd = stored.contains(u'\r') ? QStringLiteral("\r\n") : QString();
        QCOMPARE(value.toString(), stored + tail() + lineEnd + tail());
    }

    void defaultValueIsNotTheAtValue()
    {
        TestFolder t;
        QVERIFY(RegistryCreateKey(HKEY_CURRENT_USER, kKey, {}));
        QVERIFY(RegistrySetValue(HKEY_CURRENT_USER, kKey, QString(), QStringLiteral("d")));
        QVERIFY(
            RegistrySetValue(HKEY_CURRENT_USER, kKey, QStringLiteral("@"), QStringLiteral("a")));
        QVariant value;
        QVERIFY(RegistryGetValue(HKEY_CURRENT_USER, kKey, QString(), value));
        QCOMPARE(value.toString(), QStringLiteral("d") + tail());
        QVERIFY(RegistryGetValue(HKEY_CURRENT_USER, kKey, QStringLiteral("@"), value));
        QCOMPARE(value.toString(), QStringLiteral("a") + tail());
    }

    void numbers_data()
    {
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<qint32>("read");
        QTest::newRow("16-bit") << QVariant::fromValue(short(5)) << 5;
        QTest::newRow("negative 16-bit") << QVariant::fromValue(short(-1)) << -1;
        QTest::newRow("unsigned 16-bit") << QVariant::fromValue(ushort(65535)) << 65535;
        QTest::newRow("32-bit") << QVariant::fromValue(qint32(0x12345678)) << 0x12345678;
        QTest::newRow("negative 32-bit") << QVariant::fromValue(qint32(-2)) << -2;
    }
    void numbers()
    {
        QFETCH(QVariant, written);
        QFETCH(qint32, read);
        TestFolder t;
        QVERIFY(RegistryCreateKey(HKEY_CURRENT_USER, kKey, {}));
        QVERIFY(RegistrySetValue(HKEY_CURRENT_USER, kKey, QStringLiteral("n"), written));
        QVariant value;
        QVERIFY(RegistryGetValue(HKEY_CURRENT_USER, kKey, QStringLiteral("n"), value));
        QCOMPARE(value.typeId(), QMetaType::Int);
        QCOMPARE(value.value<qint32>(), read);
    }

    void otherKindsWriteNothing()
    {
        TestFolder t;
        QVERIFY(RegistryCreateKey(HKEY_CURRENT_USER, kKey, {}));
        QVERIFY(RegistrySetValue(HKEY_CURRENT_USER, kKey, QStringLiteral("d"), QVariant(1.5)));
        QVERIFY(
            RegistrySetValue(HKEY_CURRENT_USER, kKey, QStringLiteral("q"), QVariant(qint64(1))));
        QVariant value;
        QVERIFY(!RegistryGetValue(HKEY_CURRENT_USER, kKey, QStringLiteral("d"), value));
        QVERIFY(!RegistryGetValue(HKEY_CURRENT_USER, kKey, QStringLiteral("q"), value));
    }

    void storedData_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("binary of 2 bytes") << QByteArray("v=hex:01,02") << true << QVariant(0x0201);
        QTest::newRow("binary longer than 4 bytes")
            << QByteArray("v=hex:01,02,03,04,05") << false << QVariant(7);
        QTest::newRow("expandable text not expanded")
            << QByteArray("v=expand_sz:%PATH%") << true
            << QVariant(QStringView(u"%PATH%\0 ", 8).toString());
        QTest::newRow("unknown type leaves the value")
            << QByteArray("v=qword:1") << true << QVariant(7);
    }
    void storedData()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, result);
        QFETCH(QVariant, value);
        TestFolder t;
        t.write(QStringLiteral("registry/HKEY_CURRENT_USER.ini"), "[k]\r\n" + line + "\r\n");
        QVariant read(7);
        QCOMPARE(
            RegistryGetValue(HKEY_CURRENT_USER, QStringLiteral("K"), QStringLiteral("V"), read),
            result);
        QCOMPARE(read, value);
    }
};

QTEST_GUILESS_MAIN(tst_registry)
#include "tst_registry.moc"
