// Shows each page of the main window in turn, with a little sample content and
// the button states navigation gives it, and saves what the window draws.

#include "catalog/ComponentKind.h"
#include "catalog/TakeIn.h"
#include "editing/SyncDialog.h"
#include "editing/TakeInDialog.h"
#include "generate/ProjectRecord.h"
#include "platform/IniDocument.h"
#include "ui/BeschreibungUi.h"
#include "ui/RootUi.h"
#include "ui/Widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

bool save(QWidget* window, const QString& path)
{
    settle();
    const bool ok = window->grab().save(path);
    QTextStream(stdout) << (ok ? "wrote " : "FAILED ") << path << Qt::endl;
    return ok;
}

void fillSample(RootUi& ui)
{
    const struct
    {
        const char* name;
        bool checked;
    } entries[] = {{"frmHaupt", true},         {"frmEinstellungen", false}, {"frmInfo", true},
                   {"modAllgemein", true},     {"modDateien", false},       {"modRegistry", true},
                   {"ctlStatusLeiste", false}, {"Ressourcen", false}};
    for (const auto& entry : entries) {
        auto* item = new QListWidgetItem(QString::fromLatin1(entry.name), ui.LDateien);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.checked ? Qt::Checked : Qt::Unchecked);
    }
    ui.LDateien->setCurrentRow(0);
    ui.tBezeichnung->setText(QStringLiteral("Kunde"));
    ui.tProjekte->setText(QDir::homePath() + QStringLiteral("/Projekte/"));
}

void put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        QTextStream(stderr) << "cannot write " << path << Qt::endl;
}

// A small project beside the sample catalogue: new components, one the
// catalogue holds already, one whose file is gone, a property page.
Catalog::Intake demoIntake(const QString& folder)
{
    const QString shared = folder + QStringLiteral("/Gemeinsam/");
    const QString project = folder + QStringLiteral("/Lager/");
    put(shared + QStringLiteral("modAllgemein.bas"), "Attribute VB_Name = \"modAllgemein\"\r\n");
    for (const char* form : {"frmLager", "frmBuchung"})
        put(project + QString::fromLatin1(form) + QStringLiteral(".frm"),
            QByteArray("VERSION 5.00\r\nAttribute VB_Name = \"") + form + "\"\r\n");
    put(project + QStringLiteral("modDrucken.bas"), "Attribute VB_Name = \"modDrucken\"\r\n");
    put(project + QStringLiteral("Lager.res"), QByteArray(32, '\0'));
    put(project + QStringLiteral("Seiten/ppgRaster.pag"), "Attribute VB_Name = \"ppgRaster\"\r\n");
    put(project + QStringLiteral("Lager.vbp"),
        "Type=Exe\r\nForm=frmLager.frm\r\nForm=frmBuchung.frm\r\n"
        "Module=modAllgemein; ..\\Gemeinsam\\modAllgemein.bas\r\n"
        "Module=modDrucken; modDrucken.bas\r\nUserControl=ctlRaster.ctl\r\n"
        "ResFile32=\"Lager.res\"\r\nPropertyPage=Seiten\\ppgRaster.pag\r\nName=\"Lager\"\r\n");
    const QByteArray catalogue = "[Filelist]\r\n100=frmHaupt\r\n101=modAllgemein\r\n"
                                 "[Filepath]\r\nfrmHaupt=" +
                                 shared.toUtf8() + "\r\nmodAllgemein=" + shared.toUtf8() +
                                 "\r\n[Filename]\r\nfrmHaupt=frmHaupt.frm\r\n"
                                 "modAllgemein=modAllgemein.bas\r\n";
    return Catalog::planIntake(project + QStringLiteral("Lager.vbp"),
                               Catalog::Snapshot(Ini::Document::fromBytes(catalogue)));
}

// A project made from the sample catalogue, and changed since: a line for each
// state an update looks at.
Sync::Project demoProject(const QString& folder)
{
    const QString templates = folder + QStringLiteral("/Vorlagen/");
    const QString project = folder + QStringLiteral("/Lager/");
    const struct
    {
        const char* entry;
        const char* file;
        const char* catalogueNow; // nullptr: as made
        const char* projectNow;   // nullptr: as made; "": deleted
    } lines[] = {{"frmLager", "frmLager.frm", "VERSION 5.00\r\n' 2\r\n", nullptr},
                 {"frmLager", "frmLager.frx", nullptr, nullptr},
                 {"frmBuchung", "frmBuchung.frm", nullptr, "VERSION 5.00\r\n' eigen\r\n"},
                 {"modAllgemein", "modAllgemein.bas", "' 2\r\n", "' eigen\r\n"},
                 {"modDrucken", "modDrucken.bas", nullptr, nullptr},
                 {"ctlRaster", "ctlRaster.ctl", nullptr, ""},
                 {"modAlt", "modAlt.bas", nullptr, nullptr}};
    Generate::Record record{Generate::recordDate(), {}, {}};
    QByteArray catalogue = "[Filelist]\r\n";
    QByteArray paths = "[Filepath]\r\n", names = "[Filename]\r\n";
    for (const auto& line : lines) {
        const QString file = QString::fromLatin1(line.file);
        const QByteArray made = QByteArray("Attribute VB_Name = \"") + line.entry + "\"\r\n";
        put(project + file, made);
        const Generate::Fingerprint print =
            Generate::fingerprintOf(project + file, Catalog::isText(file));
        record.files.append(
            {QString::fromLatin1(line.entry), templates, file, print.size, print.sha256});
        if (line.projectNow)
            QFile::remove(project + file);
        if (line.projectNow && *line.projectNow)
            put(project + file, line.projectNow);
        // modAlt is no longer in the catalogue.
        if (qstrcmp(line.entry, "modAlt") == 0)
            continue;
        put(templates + file, line.catalogueNow ? QByteArray(line.catalogueNow) : made);
        if (Catalog::companionOf(file) != Catalog::Kind::Other)
            continue;
        catalogue += QByteArray::number(100 + record.files.size()) + '=' + line.entry + "\r\n";
        paths += QByteArray(line.entry) + '=' + templates.toUtf8() + "\r\n";
        names += QByteArray(line.entry) + '=' + line.file + "\r\n";
    }
    put(project + QStringLiteral("Lager.vbp"), "Type=Exe\r\nForm=frmLager.frm\r\n");
    put(project + QStringLiteral("Lager.vorlagen"), Generate::recordBytes(record));
    return Sync::Comparer(Catalog::Snapshot(Ini::Document::fromBytes(catalogue + paths + names)))
        .compare(project + QStringLiteral("Lager.vbp"));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString out =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(out);

    QWidget root;
    RootUi ui;
    ui.setupUi(&root);
    fillSample(ui);
    // Start-up picks the separator form; away from the old platform it is Frame1.
    ui.Frame1->show();
    ui.Frame2->hide();
    root.show();
    centreOnScreen(&root);
    root.activateWindow();

    PictureBox* const pages[] = {ui.Map1, ui.Map2, ui.Map3, ui.Map4, ui.Map5};
    QWidget* const focus[] = {ui.bWeiter, ui.LDateien, ui.tBezeichnung, nullptr, ui.bWeiter};
    bool ok = true;
    for (int n = 0; n < 5; ++n) {
        for (int other = 0; other < 5; ++other)
            pages[other]->setVisible(other == n);
        ui.bZurueck->setEnabled(n == 1 || n == 2);
        ui.bWeiter->setEnabled(n != 3);
        ui.bAbbrechen->setEnabled(n != 4);
        if (n == 4) {
            ui.bWeiter->setText(QStringLiteral("&Beenden"));
            ui.bWeiter->setDefault(true);
        }
        if (focus[n])
            focus[n]->setFocus();
        ok = save(&root, QStringLiteral("%1/page%2.png").arg(out).arg(n + 1)) && ok;
    }

    QDialog dialog(&root);
    BeschreibungUi dui;
    dui.setupUi(&dialog);
    dui.tCaption->setPlainText(
        QStringLiteral("Hauptformular mit Menü, Symbolleiste und Statuszeile."));
    dui.tDateiname->setText(QDir::homePath() + QStringLiteral("/Vorlagen/frmHaupt.frm"));
    dialog.show();
    dui.tCaption->setFocus();
    ok = save(&dialog, QStringLiteral("%1/dialog.png").arg(out)) && ok;
    dialog.hide();

    QTemporaryDir demo;
    TakeInDialog takeIn(demoIntake(demo.path()), &root);
    takeIn.show();
    ok = save(&takeIn, QStringLiteral("%1/takein.png").arg(out)) && ok;
    takeIn.hide();

    SyncDialog sync(demoProject(demo.path()), &root);
    sync.show();
    ok = save(&sync, QStringLiteral("%1/abgleichen.png").arg(out)) && ok;
    return ok ? 0 : 1;
}
