#include "platform/Dateiexistenz.h"
#include "platform/FileDirPath.h"
#include "platform/ListComboFind.h"
#include "support/TestFolder.h"

#include <QListWidget>
#include <QTest>

// The small platform answers the rest of the program relies on.
class tst_platform : public QObject
{
    Q_OBJECT
private slots:
    void pathParts()
    {
        QCOMPARE(FileNameOfPath("/a/b.frm") + "|" + FolderOfPath("/a/b.frm"), QString("b.frm|/a/"));
        QCOMPARE(FileNameOfPath("b.frm") + "|" + FolderOfPath("b.frm"), QString("b.frm|"));
        QCOMPARE(FileNameOfPath("/a/b/") + "|" + FolderOfPath("/a/b/"), QString("|/a/b/"));
    }

    void existence()
    {
        TestFolder t;
        const QString file = t.write("x/Haupt.frm", "x");
        QVERIFY(FileExists(file) && FileExists(t.file("x"))); // a folder counts
        QVERIFY(!FileExists(t.file("x/")));                   // a trailing separator never
        QVERIFY(FileExists(t.file("x/*.frm")) && !FileExists(t.file("x/*.bas")));
        QVERIFY(FolderExists(file)); // any entry is reported
        QVERIFY(!FolderExists("") && !FolderExists(t.file("none")));
    }

    void listFind()
    {
        QListWidget list;
        list.addItems({"Root", "Übersicht", "root"});
        QCOMPARE(ListFind(&list, "ROOT", -1, false), 0);
        QCOMPARE(ListFind(&list, "root", 0, false), 2); // after the start line
        QCOMPARE(ListFind(&list, "root", 2, false), 0); // wraps to the top
        QCOMPARE(ListFind(&list, "Root ", -1, false), -1);
        QCOMPARE(list.currentRow(), -1);
        QCOMPARE(ListFind(&list, "übersicht", -1, true), 1);
        QCOMPARE(list.currentRow(), 1);
    }
};

QTEST_MAIN(tst_platform)
#include "tst_platform.moc"
