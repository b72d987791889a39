#include "platform/Dateiexistenz.h"
#include "platform/FileDirPath.h"
#include "platform/ListComboFind.h"
#include "support/TestFolder.h"

#include <QListWidget>
#include <QTest>

// The small platform operations whose answers the rest of the program relies on.
class tst_platform : public QObject
{
    Q_OBJECT
private slots:
    void pathParts_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("folder");
        QTest::newRow("file in folder") << "/a/b.frm"
                                        << "b.frm"
                                        << "/a/";
        QTest::newRow("no separator") << "b.frm"
                                      << "b.frm"
                                      << "";
        QTest::newRow("ends in separator") << "/a/b/"
                                           << ""
                                           << "/a/b/";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
    }
    void pathParts()
    {
        QFETCH(QString, path);
        QFETCH(QString, fileName);
        QFETCH(QString, folder);
        QCOMPARE(FileNameOfPath(path), fileName);
        QCOMPARE(FolderOfPath(path), folder);
    }

    void existence()
    {
        TestFolder t;
        const QString file = t.write(QStringLiteral("x/Haupt.frm"), "x");
        QVERIFY(FileExists(file));
        QVERIFY(FileExists(t.file(QStringLiteral("x"))));       // a folder counts
        QVERIFY(!FileExists(t.file(QStringLiteral("x/"))));     // a trailing separator never
        QVERIFY(FileExists(t.file(QStringLiteral("x/*.frm")))); // a pattern
        QVERIFY(!FileExists(t.file(QStringLiteral("x/*.bas"))));
        QVERIFY(FolderExists(file)); // any entry is reported
        QVERIFY(!FolderExists(QString()));
        QVERIFY(!FolderExists(t.file(QStringLiteral("none"))));
    }

    void listFind()
    {
        QListWidget list;
        list.addItems(
            {QStringLiteral("Root"), QStringLiteral("Übersicht"), QStringLiteral("root")});
        QCOMPARE(ListFind(&list, QStringLiteral("ROOT"), -1, false), 0);
        QCOMPARE(ListFind(&list, QStringLiteral("root"), 0, false), 2); // after the start line
        QCOMPARE(ListFind(&list, QStringLiteral("root"), 2, false), 0); // wraps to the top
        QCOMPARE(ListFind(&list, QStringLiteral("übersicht"), -1, false), 1);
        QCOMPARE(list.currentRow(), -1);
        QCOMPARE(ListFind(&list, QStringLiteral("Übersicht"), -1, true), 1);
        QCOMPARE(list.currentRow(), 1);
        QCOMPARE(ListFind(&list, QStringLiteral("Root "), -1, false), -1);
    }
};

QTEST_MAIN(tst_platform)
#include "tst_platform.moc"
