#include "support/FakeDesktop.h"

#include <QTest>

FakeDesktop::FakeDesktop()
{
    setDesktop(this);
}

FakeDesktop::~FakeDesktop()
{
    setDesktop(nullptr);
}

QMessageBox::StandardButton FakeDesktop::message(QWidget*, QMessageBox::Icon icon,
                                                 const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons)
{
    messages.append({icon, title, text, buttons});
    if (answers.isEmpty()) {
        // A question nobody expected: answer it the safe way and let the test see it.
        qWarning("FakeDesktop: unanswered message box: %s", qPrintable(text));
        if (buttons.testFlag(QMessageBox::No))
            return QMessageBox::No;
        if (buttons.testFlag(QMessageBox::Cancel))
            return QMessageBox::Cancel;
        return QMessageBox::Ok;
    }
    return answers.dequeue();
}

QString FakeDesktop::openFileName(QWidget*, const QString& title, const QString& filter)
{
    fileDialogTitles << title;
    fileDialogFilters << filter;
    return fileNames.isEmpty() ? QString() : fileNames.dequeue();
}

QString FakeDesktop::chooseFolder(QWidget*, const QString& title)
{
    folderDialogTitles << title;
    return folders.isEmpty() ? QString() : folders.dequeue();
}

bool FakeDesktop::startProgram(const QString& program, const QStringList& arguments,
                               int windowStyle)
{
    starts.append({program, arguments, windowStyle});
    return startSucceeds;
}

bool FakeDesktop::openFile(const QString& path)
{
    openedFiles << path;
    return openSucceeds;
}

void FakeDesktop::endProgram()
{
    ++ends;
}
