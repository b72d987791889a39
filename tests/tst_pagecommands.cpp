#include "desktop/Programs.h"
#include "platform/FileIo.h"
#include "support/ShownWindow.h"
#include "ui/LinkLabel.h"

#include <QAccessible>
#include <QDir>

// The help icon, the folder button, the Enter chain and page 1's links.
class tst_pagecommands : public QObject
{
    Q_OBJECT

    struct Window : ShownWindow
    {
        // Shows the window on `page` (1 to 5) with a component to get past page 2.
        void openOn(int page)
        {
            t.writeEntries({{"Haupt", "v/Haupt.frm", true}});
            open();
            QVERIFY(QTest::qWaitForWindowActive(w.get()));
            showPage(page);
        }
        void showPage(int page) const
        {
            const QWidgetList maps{w->ui.Map1, w->ui.Map2, w->ui.Map3, w->ui.Map4, w->ui.Map5};
            for (QWidget* map : maps)
                map->setVisible(map == maps.at(page - 1));
        }
        QWidget* focus() const { return QApplication::focusWidget(); }
        QString bpv() const { return t.file("bin/QvStandard.bpv"); }
        QString prj() const { return t.file("bin/QvStandard.prj"); }
    };

    static void settle() { QCoreApplication::processEvents(); }

private slots:
    void cleanup() { FileIo::clearFaults(); }

    // Pages 1 to 3 each have their own help; pages 4 and 5 none.
    void helpCopyToolAndFolder()
    {
        Window f;
        f.openOn(1);
        RootUi& ui = f.w->ui;
        QSet<QString> texts;
        for (int page = 1; page <= 5; ++page) {
            f.showPage(page);
            if (page <= 3)
                f.desk.answers.enqueue(QMessageBox::Ok);
            QTest::mouseClick(ui.PHilfe, Qt::LeftButton);
            QCOMPARE(f.desk.messages.size(), qMin(page, 3));
            const QString text = f.desk.messages.constLast().text;
            QCOMPARE(f.desk.messages.constLast(),
                     (FakeDesktop::Message{QMessageBox::Information, " Hilfethemen", text}));
            texts << text;
        }
        QVERIFY(texts.size() == 3 && !texts.contains(QString()));

        // The copy tool: missing, nothing happens; present, started in a normal window by
        // a click, by Space after Tab, by assistive technology; not startable: said.
        f.showPage(1);
        f.desk.messages.clear();
        QTest::mouseClick(ui.tProjektKopie, Qt::LeftButton);
        QVERIFY(f.desk.starts.isEmpty());
        const QString tool = f.t.write("bin/QvtrCopy", "#!/bin/sh\n");
        QTest::mouseClick(ui.tProjektKopie, Qt::LeftButton);
        ui.tStdProjekt->setFocus();
        QTest::keyClick(f.focus(), Qt::Key_Tab);
        QCOMPARE(f.focus(), ui.tProjektKopie);
        QTest::keyClick(f.focus(), Qt::Key_Space);
        f.desk.startsSucceed = false;
        f.desk.answers.enqueue(QMessageBox::Ok);
        QAccessible::queryAccessibleInterface(ui.tProjektKopie)
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(f.desk.starts.size(), 3);
        for (const FakeDesktop::Start& start : std::as_const(f.desk.starts))
            QVERIFY(start.program == tool && start.arguments.isEmpty() && start.windowStyle == 1);
        QCOMPARE(f.desk.messages.size(), 1);
        QVERIFY(f.desk.messages.constFirst().text.contains("''" + tool + "''"));

        // Cancelled, the folder stays; chosen, no final '/'; either way focused, all selected.
        f.showPage(3);
        ui.tProjekte->setText("/alt/");
        for (const QString& chosen : {QString(), QString("/srv/projekte/")}) {
            ui.tBezeichnung->setFocus();
            if (!chosen.isEmpty())
                f.desk.folders.enqueue(chosen);
            QTest::mouseClick(ui.bOrdner, Qt::LeftButton);
            settle();
            const QString shown = chosen.isEmpty() ? "/alt/" : "/srv/projekte";
            QCOMPARE(ui.tProjekte->text(), shown);
            QCOMPARE(f.focus(), ui.tProjekte);
            QCOMPARE(ui.tProjekte->selectedText(), shown);
        }

        // Enter walks on to the folder field or to "Weiter" and presses nothing (the
        // folder button or a generation would move the focus). A click selects as Tab does.
        ui.tBezeichnung->setText("Kunde");
        ui.tProjekte->setText(f.t.file("P"));
        const QWidgetList from{ui.tBezeichnung, ui.bUnterordner, ui.tProjekte, ui.bOrdner};
        const QWidgetList to{ui.tProjekte, ui.tProjekte, ui.bWeiter, ui.bWeiter};
        for (qsizetype i = 0; i < from.size(); ++i) {
            from[i]->setFocus();
            settle();
            QTest::keyClick(from[i], Qt::Key_Return);
            settle();
            QCOMPARE(f.focus(), to[i]);
            if (to[i] == ui.tProjekte)
                QCOMPARE(ui.tProjekte->selectedText(), f.t.file("P"));
        }
        QTest::mouseClick(ui.tBezeichnung, Qt::LeftButton);
        settle();
        QCOMPARE(f.focus(), ui.tBezeichnung);
        QCOMPARE(ui.tBezeichnung->selectedText(), QString("Kunde"));
    }

    // Files: "-" missing, "dir" a folder, else the bytes. The twist: the text "beside" the
    // link is clicked, Tab and "enter" start it, the disk is "full", the editor "fails".
    // The one message, if any, names the files and the reason ("bpv", "prj" for the paths).
    void templateLink()
    {
        const QString exe = "Type=Exe\r\n", folder = FileIo::reasonFor(EISDIR);
        const std::tuple<QString, QString, QString, QString, bool, QStringList> rows[] = {
            {exe, "Alt\r\n", "enter", exe, true, {}}, // template there, spare unused
            {"-", exe, "beside", exe, true, {}},      // restored from the spare
            {"-", "-", "", "-", false, {}},           // neither file: nothing happens
            {"-", exe, "full", "-", false, {"bpv", "prj", FileIo::reasonFor(ENOSPC)}},
            {"-", "", "", "-", false, {"bpv", "prj"}}, // an empty spare is not copied
            {"-", "dir", "", "-", false, {"bpv", "prj", folder}},
            {"dir", exe, "", "dir", false, {"bpv", folder}},
            {"", exe, "", "", true, {"bpv"}}, // an empty template is opened with a note
            {exe, "-", "fails", exe, true, {"bpv"}}};
        for (const auto& [bpv, prj, twist, bpvAfter, started, said] : rows) {
            Window f;
            for (const auto& [path, bytes] : {std::pair{f.bpv(), bpv}, {f.prj(), prj}}) {
                if (bytes == "dir")
                    QDir().mkpath(path);
                else if (bytes != "-")
                    f.t.write(QDir(f.t.path()).relativeFilePath(path), bytes.toUtf8());
            }
            f.openOn(1);
            if (!said.isEmpty())
                f.desk.answers.enqueue(QMessageBox::Ok);
            f.desk.startsSucceed = twist != "fails";
            if (twist == "full")
                FileIo::failWritesAfter(0);
            if (twist == "enter") {
                f.w->ui.bAbbrechen->setFocus();
                QTest::keyClick(f.focus(), Qt::Key_Tab);
                QCOMPARE(f.focus(), f.w->ui.tStdProjekt);
                QTest::keyClick(f.focus(), Qt::Key_Return);
            } else {
                QTest::mouseClick(twist == "beside" ? f.w->ui.tStdProject : f.w->ui.tStdProjekt,
                                  Qt::LeftButton);
            }
            FileIo::clearFaults();

            const auto onDisk = [](const QString& path) {
                const QFileInfo file(path);
                return !file.exists() ? "-"
                       : file.isDir() ? "dir"
                                      : QString(TestFolder::read(path));
            };
            QCOMPARE(onDisk(f.bpv()), bpvAfter);
            QCOMPARE(onDisk(f.prj()), prj);
            const QStringList left = QDir(f.t.exeFolder()).entryList(QDir::Hidden | QDir::Files);
            QVERIFY2(left.filter(".tmp-").isEmpty(), qPrintable(left.join(' ')));

            QCOMPARE(f.desk.starts.size(), started ? 1 : 0);
            const FakeDesktop::Start start = f.desk.starts.value(0, {kTextEditor, {f.bpv()}, 3});
            QVERIFY(start.program == kTextEditor && start.arguments == QStringList{f.bpv()} &&
                    start.windowStyle == 3);
            QCOMPARE(f.desk.messages.size(), said.isEmpty() ? 0 : 1);
            if (!said.isEmpty()) // only the empty template is a mere note
                QCOMPARE(f.desk.messages.constFirst().icon,
                         bpv.isEmpty() ? QMessageBox::Information : QMessageBox::Warning);
            for (QString part : said) {
                const QString& text = f.desk.messages.constFirst().text;
                part = part == "bpv" ? f.bpv() : part == "prj" ? f.prj() : part;
                QVERIFY2(text.contains("''" + part + "''") || text.contains('\n' + part),
                         qPrintable(text));
            }
        }
    }
};

QTEST_MAIN(tst_pagecommands)
#include "tst_pagecommands.moc"
