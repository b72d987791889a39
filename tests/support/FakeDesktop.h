#pragma once

#include "platform/Desktop.h"

#include <QList>
#include <QQueue>

// Answers the program's questions from a queue and records every message,
// program start, opened file and end, instead of showing or starting anything.
class FakeDesktop : public Desktop
{
public:
    struct Message
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
    };
    struct Start
    {
        QString program;
        QStringList arguments;
        int windowStyle;
    };

    FakeDesktop();           // installs itself
    ~FakeDesktop() override; // restores the real desktop

    // Answers for the next message boxes, in order. An unexpected box is
    // answered No, Cancel or Ok (in that preference) with a warning.
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QString> fileNames; // for openFileName; empty = cancel
    QQueue<QString> folders;   // for chooseFolder; empty = cancel

    QList<Message> messages;
    QList<Start> starts;
    QStringList openedFiles;
    int ends = 0;
    bool startSucceeds = true;
    bool openSucceeds = true;

    QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& filter) override;
    QString chooseFolder(QWidget* parent, const QString& title) override;
    bool startProgram(const QString& program, const QStringList& arguments,
                      int windowStyle) override;
    bool openFile(const QString& path) override;
    void endProgram() override;

    QStringList fileDialogTitles;
    QStringList fileDialogFilters;
    QStringList folderDialogTitles;
};
