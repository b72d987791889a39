#include "desktop/Desktop.h"

#include "desktop/Programs.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QProcess>
#include <QUrl>

#include <cstdlib>

namespace {

bool g_ending = false;

// "Label|*.a;*.b|..." into Qt's "Label (*.a *.A *.b *.B);;..." form. The upper-case
// patterns matter here: file names differ by case, and old projects often shout.
// "*.*" means every file, as on Windows, also one without a dot.
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts.at(i + 1).split(QLatin1Char(';'))) {
            if (pattern == QLatin1String("*.*")) {
                patterns << QStringLiteral("*");
                continue;
            }
            patterns << pattern;
            if (pattern.toUpper() != pattern)
                patterns << pattern.toUpper();
        }
        // The dialog hides this last bracket, so the label reads as given.
        result << parts.at(i) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')');
    }
    return result.join(QStringLiteral(";;"));
}

} // namespace

void prepareOpenFileDialog(QFileDialog* dialog, const QString& filter)
{
    dialog->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilters(qtFilter(filter).split(QStringLiteral(";;")));
}

namespace {

class RealDesktop final : public Desktop
{
public:
    QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons) override
    {
        QMessageBox box(icon, title, text, buttons, parent);
        const std::pair<QMessageBox::StandardButton, const char*> german[] = {
            {QMessageBox::Ok, "OK"},
            {QMessageBox::Yes, "&Ja"},
            {QMessageBox::No, "&Nein"},
            {QMessageBox::Cancel, "Abbrechen"}};
        for (const auto& [button, caption] : german) {
            if (QAbstractButton* b = box.button(button))
                b->setText(QString::fromUtf8(caption));
        }
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }

    QString openFileName(QWidget* parent, const QString& title, const QString& filter,
                         const QString& folder) override
    {
        QFileDialog dialog(parent, title);
        prepareOpenFileDialog(&dialog, filter);
        if (!folder.isEmpty())
            dialog.setDirectory(folder);
        if (dialog.exec() != QDialog::Accepted)
            return {};
        return dialog.selectedFiles().value(0);
    }

    QString chooseFolder(QWidget* parent, const QString& title) override
    {
        return QFileDialog::getExistingDirectory(parent, title, QDir::homePath(),
                                                 QFileDialog::ShowDirsOnly |
                                                     QFileDialog::DontUseNativeDialog);
    }

    bool startProgram(const QString& program, const QStringList& arguments,
                      int windowStyle) override
    {
        Q_UNUSED(windowStyle); // the window manager decides how a new window appears
        if (program == kTextEditor) {
            const QString editor = FindTextEditor();
            if (editor.isEmpty())
                return !arguments.isEmpty() && openFile(arguments.constFirst());
            return QProcess::startDetached(editor, arguments);
        }
        return QProcess::startDetached(program, arguments);
    }

    bool openFile(const QString& path) override
    {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }

    void endProgram() override
    {
        g_ending = true;
        QCoreApplication::exit(0);
    }
};

RealDesktop g_real;
Desktop* g_current = &g_real;

} // namespace

Desktop& desktop()
{
    return *g_current;
}

void setDesktop(Desktop* replacement)
{
    g_current = replacement ? replacement : &g_real;
}

void DoEvents()
{
    QCoreApplication::processEvents();
    if (g_ending)
        std::_Exit(0);
}
