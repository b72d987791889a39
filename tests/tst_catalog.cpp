#include "app/Root.h"
#include "catalog/Catalog.h"
#include "catalog/Health.h"
#include "platform/FileIo.h"
#include "platform/IniDocument.h"
#include "platform/IniFiles.h"
#include "support/FakeDesktop.h"
#include "support/FullDevice.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QStringEncoder>
#include <QTest>

#include <array>
#include <optional>

#include <sys/fsuid.h>

// The catalogue's read and load, and its saves: sorted, renumbered, never half-written.
class tst_catalog : public QObject
{
    Q_OBJECT

    // What deleting the list (or only keys 100 to 200) and writing key by key leaves on disk.
    static QByteArray stepByStep(const TestFolder& t, const QByteArray& start,
                                 const QStringList& names, bool othersStay)
    {
        const QString copy = t.write("copy.dat", start);
        for (int n = 100; othersStay && n <= 200; ++n)
            DeleteIniKey(copy, "Filelist", QString::number(n));
        if (!othersStay)
            DeleteIniSection(copy, "Filelist");
        for (int i = 0; i < names.size(); ++i)
            WriteIniValue(copy, "Filelist", QString::number(100 + i), names[i]);
        return TestFolder::read(copy);
    }

private slots:
    void sortierung_data()
    {
        QTest::addColumn<QStringList>("catalogue");
        QTest::addColumn<QStringList>("saved");
        QTest::addColumn<bool>("othersStay"); // lines of keys outside 100 to 200
        const auto row = [](const char* tag, const char* saved, bool othersStay, QString lines) {
            QTest::newRow(tag) << lines.split('|') << QString(saved).split('|') << othersStay;
        };
        row("alphabetical without regard to case, gaps closed", "Alpha|beta|gamma", false,
            "[Filelist]|150=beta|100=Alpha|120=gamma|[Filepath]|beta=/v/|Alpha=/v/|gamma=/v/");
        row("keys 100..200 only, the others stay as they are", "b|c", true,
            "[Filelist]|99=x|100=b|200=c|201=y|[Filepath]|x=/v/|b=/v/|c=/v/|y=/v/");
        row("empty Filepath drops the name", "da", false,
            "[Filelist]|100=weg|101=da|[Filepath]|weg=|da=/v/|[Filename]|weg=weg.frm|[Caption]|"
            "weg=bleibt");
        row("umlauts sort by the locale", "Anfang|Übersicht|Zahl", false,
            "[Filelist]|100=Zahl|101=Übersicht|102=Anfang|[Filepath]|Zahl=/v/|Übersicht=/v/|"
            "Anfang=/v/");
    }
    void sortierung()
    {
        QFETCH(QStringList, catalogue);
        QFETCH(QStringList, saved);
        QFETCH(bool, othersStay);
        TestFolder t;
        FakeDesktop desk;
        const QByteArray expected = stepByStep(t, TestFolder::crlf(catalogue), saved, othersStay);
        t.writeCatalog(catalogue);
        if (othersStay) // said at start-up
            desk.answers.enqueue(QMessageBox::Ok);
        Root w;
        w.Sortierung();
        QCOMPARE(t.catalogBytes(), expected);
    }

    // The one load, in every encoding: missing is empty; unreadable or unknown is said with reason
    // and file, lists nothing, is health's first finding (texts show control characters), keeps its
    // bytes, as one with entries past the keys does; adding and removing fail with a reason.
    void readResult_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // "-" none, "dir" a folder
        QTest::addColumn<QString>("problem");  // %F the file; "Anzahl…": entries past the list
        const QString text = "[Filelist]\r\n100=Haupt\r\n101=Über\r\n[Filepath]\r\nHaupt=../v/\r\n"
                             "Über=../v/\r\n[Filename]\r\nHaupt=a.frm\r\nÜber=a.frm\r\n";
        using E = QStringConverter::Encoding;
        using F = QStringConverter::Flag;
        const auto encoded = [&](E encoding, bool mark) {
            return QByteArray(QStringEncoder(encoding, mark ? F::WriteBom : F::Default)(text));
        };
        const QString unreadable = "Die Vorlagendatei ''%F'' kann nicht gelesen werden: ";
        const QString unknown = Catalog::unknownEncodingText("%F");
        QTest::newRow("missing") << QByteArray("-") << QString();
        QTest::newRow("code page") << encoded(E::Latin1, false) << QString();
        QTest::newRow("UTF-8 with its mark") << encoded(E::Utf8, true) << QString();
        QTest::newRow("UTF-16 LE with its mark") << encoded(E::Utf16LE, true) << QString();
        QTest::newRow("UTF-16 LE without a mark") << encoded(E::Utf16LE, false) << QString();
        QTest::newRow("UTF-16 BE without a mark") << encoded(E::Utf16BE, false) << QString();
        QTest::newRow("UTF-32 LE with its mark") << encoded(E::Utf32LE, true) << QString();
        QTest::newRow("UTF-32 BE with its mark") << encoded(E::Utf32BE, true) << QString();
        QTest::newRow("UTF-32 LE without a mark") << encoded(E::Utf32LE, false) << unknown;
        QTest::newRow("UTF-16 BE with its mark and a stray byte")
            << encoded(E::Utf16BE, true) + "x" << unknown;
        // Without its mark and with a stray byte: read as it comes, NULs and all.
        QTest::newRow("UTF-16 LE without a mark, a stray byte")
            << encoded(E::Utf16LE, false) + "x" << unknown;
        QTest::newRow("a folder in its place")
            << QByteArray("dir") << unreadable + FileIo::reasonFor(EISDIR);
        QTest::newRow("no permission")
            << encoded(E::Latin1, false) << unreadable + FileIo::reasonFor(EACCES);
        QTest::newRow("past the list")
            << encoded(E::Latin1, false).replace("101=", "201=Extra\r\n101=")
            << "Anzahl: 1; ''Extra'' (Schlüssel 201).";
    }
    void readResult()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        TestFolder t;
        t.write("v/a.frm", "x");
        if (bytes == "dir")
            QVERIFY(QDir().mkpath(t.catalog()));
        else if (bytes != "-")
            t.write("bin/vorlagen.dat", bytes);
        const bool denied = problem.endsWith(FileIo::reasonFor(EACCES));
        QVERIFY(!denied || QFile::setPermissions(t.catalog(), {}));
        // Without the file system's privileges, also for root.
        const int uid = denied ? setfsuid(65534) : 0;
        const Catalog::Snapshot read = Catalog::Snapshot::read(t.catalog());
        if (denied) {
            setfsuid(uid_t(uid));
            QFile::setPermissions(t.catalog(), QFile::ReadOwner | QFile::WriteOwner);
        }
        const Catalog::Load load = Catalog::inspect(read);
        const bool beyond = problem.startsWith("Anzahl");
        problem.replace("%F", t.catalog());
        QCOMPARE(load.catalogue.problem(), beyond ? QString() : problem);
        QVERIFY(!beyond || Catalog::beyondText(load.catalogue).endsWith(problem));
        QStringList listed;
        for (const Catalog::Entry& entry : load.entries)
            listed << entry.name;
        const bool unusable = !problem.isEmpty() && !beyond;
        if (!unusable)
            QCOMPARE(listed, bytes == "-" ? QStringList() : QStringList({"Haupt", "Über"}));
        if (unusable && !denied)
            for (const Catalog::Change& change :
                 {Catalog::addEntry("Neu", t.file("v/"), "a.frm", {}),
                  Catalog::removeEntry("Haupt")})
                QVERIFY(change.status == Catalog::Change::Status::Failed &&
                        !change.result.reason().isEmpty());
        if (bytes != "-" && bytes != "dir")
            QCOMPARE(t.catalogBytes(), bytes);
        const QList<Catalog::Finding> findings = Catalog::health(load.catalogue);
        QVERIFY(!unusable || findings.value(0).text == problem);
        for (const Catalog::Finding& finding : findings)
            for (const QChar c : finding.entry + finding.text)
                QVERIFY2(c == u'\n' || c.category() != QChar::Other_Control,
                         qPrintable(finding.text));
    }

    void snapshotAnswersAsSingleReads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const auto row = [](const char* tag, const QByteArray& b) { QTest::newRow(tag) << b; };
        row("repeated section and key", "[Filelist]\r\n100=a\r\n100=b\r\n[filelist]\r\n101=c\r\n"
                                        "[Filepath]\r\na=/v/\r\nA=/w/\r\n");
        row("quotes, blanks and case",
            "[ Caption ]\r\n  A  =  \"quoted\"  \r\nb='x'\r\nc=\"half\r\nMyDocs=\"\"\r\n");
        row("long value", "[Caption]\r\na=" + QByteArray(300, 'x') + "\r\n");
        row("code page",
            "[Filelist]\r\n100=\334bersicht\r\n[Caption]\r\n\374bersicht=gr\374\337\r\n");
        row("UTF-8", "[Filelist]\r\n100=\303\234bersicht\r\n[Caption]\r\n\303\274bersicht="
                     "gr\303\274\303\237\r\n");
        row("byte-order mark", "\xEF\xBB\xBF[Option]\r\nMyDocs=/x/\r\n");
        row("LF and CR line ends", "[Option]\nFolder=0\rViewer=1\n");
        row("NUL in a line", QByteArray("[Option]\r\nMy\0Docs=/n/\r\nMyDocs=/m/\r\n", 36));
        row("key before any section", "MyDocs=/a/\r\n[Option]\r\n");
        row("header without closing bracket", "[Option\r\nMyDocs=/a/\r\n[Caption]\r\na=1\r\n");
    }
    void snapshotAnswersAsSingleReads()
    {
        QFETCH(QByteArray, bytes);
        TestFolder t;
        t.write("bin/vorlagen.dat", bytes);
        const Catalog::Snapshot snapshot = Catalog::Snapshot::read();
        const QString file = t.catalog();
        for (int key : {100, 101})
            QCOMPARE(snapshot.listedName(key),
                     ReadIniValue(file, "Filelist", QString::number(key)));
        for (const QString name :
             {"a", "A", "b", "c", "übersicht", "Übersicht", "MyDocs", "Folder", "Viewer", " a "}) {
            QCOMPARE(snapshot.folderOf(name), ReadIniValue(file, "Filepath", name));
            QCOMPARE(snapshot.captionOf(name), ReadIniValue(file, "Caption", name));
            QCOMPARE(snapshot.option(name), ReadIniValue(file, "Option", name));
        }
    }

    // However early the disk gives up, each write leaves the old or the new file whole, says why.
    void fullDiskKeepsTheCatalogue_data()
    {
        QTest::addColumn<QString>("write");
        for (const char* write : {"sorted list", "addition", "removal", "description", "marks"})
            QTest::newRow(write) << QString(write);
    }
    void fullDiskKeepsTheCatalogue()
    {
        QFETCH(QString, write);
        QByteArray after;
        qint64 n = 0; // the size of the file the write makes
        for (int run = 0; run < 7; ++run) {
            const qint64 budget = std::array<qint64, 7>{-1, 0, 1, n / 2, n - 1, n, n + 1}[run];
            TestFolder t;
            FakeDesktop desk;
            t.writeEntries({{"b", "v/b.bas"}, {"a", "v/a.frm", true, "Text"}});
            const auto bytes = [&] { return t.catalogBytes().replace(t.path().toUtf8(), "@"); };
            const QByteArray before = bytes();
            std::optional<Root> w =
                write == "sorted list" ? std::make_optional<Root>() : std::nullopt;
            FileIo::Result result;
            {
                auto full = budget < 0 ? std::nullopt : std::make_optional<DiskFull>(budget);
                if (w) {
                    desk.answers << QMessageBox::Ok;
                    w->Sortierung();
                    result =
                        desk.answers.isEmpty() ? FileIo::Result::failure(ENOSPC) : FileIo::Result();
                    desk.answers.clear();
                } else if (write == "addition")
                    result = Catalog::addEntry("c", t.file("v/"), "a.frm", {}).result;
                else if (write == "removal")
                    result = Catalog::removeEntry("a").result;
                else if (write == "description")
                    result = Catalog::setCaption("b", "Neu");
                else
                    result = Ini::edit(Catalog::file(), [](Ini::Document& d) {
                        return Catalog::setMarks(d, {"b"});
                    });
            }
            if (budget < 0) {
                after = bytes();
                n = t.catalogBytes().size();
            }
            QVERIFY2(bytes() == (result ? after : before), qPrintable(QString::number(budget)));
            QVERIFY(result || result.error() == ENOSPC);
            QVERIFY(after != before);
            if (w && !result)
                QCOMPARE(desk.messages,
                         (QList<FakeDesktop::Message>{
                             {QMessageBox::Warning, w->messageTitle(),
                              Catalog::notSavedText(Catalog::Unsaved::List, result)}}));
        }
    }
};

QTEST_MAIN(tst_catalog)
#include "tst_catalog.moc"
