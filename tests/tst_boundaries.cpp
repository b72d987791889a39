// Limits nothing else tests at their edge: at the value and one beyond.

#include "catalog/Catalog.h"
#include "platform/FileIo.h"
#include "support/TestFolder.h"

#include <QDateTime>
#include <QFile>
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
};

QTEST_GUILESS_MAIN(tst_boundaries)
#include "tst_boundaries.moc"
