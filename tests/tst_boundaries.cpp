// Edges nothing else reaches: limits at the value and one beyond, letter case,
// and a catalogue the core must not write.

#include "catalog/AddRemove.h"
#include "catalog/Catalog.h"
#include "platform/FileIo.h"
#include "support/TestFolder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTest>

class tst_boundaries : public QObject
{
    Q_OBJECT
private slots:
    // At start-up a temporary file of the catalogue goes once it is a minute
    // old; one a second younger may still be filled by a running writer.
    void staleTemporaryAgeAtStart()
    {
        TestFolder t;
        t.writeCatalog({"[Filelist]"});
        const QString prefix = FileIo::temporaryPrefix(FileIo::resolvedPath(t.catalog()));
        for (qint64 now = 0; now != QDateTime::currentSecsSinceEpoch();) { // again if it ticked
            now = QDateTime::currentSecsSinceEpoch();
            for (const int age : {60, 59}) {
                QFile f(prefix + QString::number(age) + "abcd");
                QVERIFY(f.open(QIODevice::WriteOnly));
                QVERIFY(f.setFileTime(QDateTime::fromSecsSinceEpoch(now - age),
                                      QFileDevice::FileModificationTime));
            }
            Catalog::removeLeftovers();
        }
        QVERIFY(!QFile::exists(prefix + "60abcd"));
        QVERIFY(QFile::exists(prefix + "59abcd"));
    }

    // The same name in other letter case is the listed entry, replaced in
    // place; listing it twice would leave both names sharing one folder key.
    void addingInOtherCaseReplacesTheEntry()
    {
        TestFolder t;
        t.listEntries({"Alpha=v/Alpha.bas", "Beta=v/Beta.bas"});
        const QString folder = t.file("w/");
        t.write("w/alpha.bas", "x");
        const Catalog::Change change = Catalog::addEntry("ALPHA", folder, "alpha.bas",
                                                         Catalog::Snapshot::read().seen("ALPHA"));
        QCOMPARE(change.status, Catalog::Change::Status::Done);
        QCOMPARE(change.sorted, (QStringList{"ALPHA", "Beta"}));
        QCOMPARE(Catalog::Snapshot::read().folderOf("alpha"), folder);
    }

    // A catalogue whose encoding was not recognised keeps its bytes: adding and
    // removing fail with a reason instead of passing for done.
    void unrecognisedCatalogueIsNotChanged()
    {
        TestFolder t;
        const QByteArray bytes = QStringEncoder(QStringEncoder::Utf32LE)(
            QStringLiteral("[Filelist]\r\n100=Alpha\r\n[Filepath]\r\nAlpha=/v/\r\n"));
        t.write("bin/" + QFileInfo(t.catalog()).fileName(), bytes);
        t.write("v/Neu.bas", "x");
        for (const Catalog::Change& change : {Catalog::addEntry("Neu", t.file("v/"), "Neu.bas", {}),
                                              Catalog::removeEntry("Alpha")}) {
            QCOMPARE(change.status, Catalog::Change::Status::Failed);
            QVERIFY(!change.result.reason().isEmpty());
        }
        QCOMPARE(t.catalogBytes(), bytes);
    }

    // A refusal shows a path of up to 80 characters whole, a longer one by its
    // beginning and its end.
    void refusalShowsPathsUpTo80Whole()
    {
        TestFolder t;
        for (const int length : {80, 81}) {
            // '=' in the name the file gives: the list cannot hold it.
            const QString name = "=" + QString(length - t.path().size() - 6, 'x') + ".bas";
            const QString path = t.write(name, "");
            QCOMPARE(path.size(), length);
            const QString shown = length == 80 ? path : path.left(37) + "..." + path.right(40);
            const QString refusal = Catalog::prepareAddition(path).refusal;
            QVERIFY2(refusal.contains("''" + shown + "''"), qPrintable(refusal));
        }
    }
};

QTEST_GUILESS_MAIN(tst_boundaries)
#include "tst_boundaries.moc"
