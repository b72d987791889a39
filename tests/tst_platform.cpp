#include "desktop/Desktop.h"
#include "desktop/ListFind.h"
#include "platform/FileExistence.h"
#include "platform/FileIo.h"
#include "support/TestFolder.h"

#include <QComboBox>
#include <QFileDialog>
#include <QListWidget>
#include <QTest>

#include <sys/stat.h>

class tst_platform : public QObject
{
    Q_OBJECT
private slots:
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

    // A replacement that fails at any byte leaves the old file and no leftovers;
    // one that succeeds keeps a link a link and the file's mode.
    void atomicWriteFailure()
    {
        const QByteArray old = "[Filelist]\r\n100=Haupt\r\n";
        for (const auto& [budget, error] : {std::pair<qint64, int>{0, ENOSPC}, // disk full at once
                                            {99999, EDQUOT},                   // at the last byte
                                            {4096, EIO}}) {
            TestFolder t;
            const QString file = t.write("d/vorlagen.dat", old);
            FileIo::failWritesAfter(budget, error);
            const auto result = FileIo::writeFileAtomically(file, QByteArray(100000, 'x'));
            FileIo::clearFaults();
            QCOMPARE(result.error(), error);
            QVERIFY(!result.reason().isEmpty());
            QCOMPARE(TestFolder::read(file), old);
            QCOMPARE(QDir(t.file("d")).entryList(QDir::Files | QDir::Hidden),
                     QStringList{"vorlagen.dat"});
        }
        TestFolder t;
        const QString target = t.write("d/echt.dat", "alt");
        ::chmod(QFile::encodeName(target).constData(), 0640);
        QVERIFY(QFile::link(target, t.file("d/link.dat")));
        QVERIFY(FileIo::writeFileAtomically(t.file("d/link.dat"), "neu").ok());
        QVERIFY(QFileInfo(t.file("d/link.dat")).isSymLink());
        QCOMPARE(TestFolder::read(target), QByteArray("neu"));
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(target).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0640));
    }

    // Pipes and folders are refused at once instead of blocking the window.
    void readOnlyRegularFiles()
    {
        TestFolder t;
        const QString fifo = t.file("pipe");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QByteArray bytes = "x";
        QCOMPARE(FileIo::readRegularFile(fifo, &bytes).error(), FileIo::kNotRegular);
        QVERIFY(bytes.isEmpty());
        QCOMPARE(FileIo::readRegularFile(t.path(), &bytes).error(), EISDIR);
        QCOMPARE(FileIo::readRegularFile(t.file("fehlt"), &bytes).error(), ENOENT);
        QCOMPARE(FileIo::writeFileAtomically(fifo, "x").error(), FileIo::kNotRegular);
        const QString file = t.write("a.bas", "Attribute VB_Name = \"A\"\r\n");
        QVERIFY(FileIo::readRegularFile(file, &bytes).ok());
        QCOMPARE(bytes, QByteArray("Attribute VB_Name = \"A\"\r\n"));
        QCOMPARE(FileIo::readRegularFile(file, &bytes, 5).error(), FileIo::kTooLarge);
    }

    // Labels as given; patterns in both letter cases; "*.*" lists every file.
    void openFileDialogFilters()
    {
        TestFolder t;
        for (const char* name : {"Haupt.FRM", "Modul.bas", "Makefile", "notiz.txt"})
            t.write(QString("d/") + name, "x");
        QFileDialog dialog;
        prepareOpenFileDialog(&dialog, "Alle Formen|*.frm|Module (*.bas)|*.bas|Alle (*.*)|*.*");
        dialog.setDirectory(t.file("d"));
        dialog.show();
        const auto* combo = dialog.findChild<QComboBox*>("fileTypeCombo");
        QVERIFY(combo);
        QStringList labels;
        for (int i = 0; i < combo->count(); ++i)
            labels << combo->itemText(i);
        QCOMPARE(labels, QStringList({"Alle Formen", "Module (*.bas)", "Alle (*.*)"}));
        const auto* view = dialog.findChild<QListView*>("listView");
        QVERIFY(view);
        const auto shown = [view] {
            QStringList names;
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                names << view->model()->index(row, 0, view->rootIndex()).data().toString();
            names.sort();
            return names;
        };
        QTRY_COMPARE(shown(), QStringList({"Haupt.FRM"}));
        dialog.selectNameFilter(dialog.nameFilters().at(2));
        QTRY_COMPARE(shown(), QStringList({"Haupt.FRM", "Makefile", "Modul.bas", "notiz.txt"}));
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
