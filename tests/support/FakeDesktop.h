#pragma once

#include "desktop/Desktop.h"

#include <QList>
#include <QQueue>

// Answers the program's questions from queues and records every message,
// program start, opened file and end, instead of showing or starting anything.
// Installs itself while it lives. A message without a queued answer, or an
// answer left over at the end, fails the test.
class FakeDesktop : public Desktop
{
public:
    struct Message
    {
        QMessageBox::Icon icon;
        QString title, text;
        QMessageBox::StandardButtons buttons = QMessageBox::Ok;
        bool operator==(const Message&) const = default;
    };
    struct Start
    {
        QString program;
        QStringList arguments;
        int windowStyle;
    };

    FakeDesktop() { setDesktop(this); }
    ~FakeDesktop() override;

    // Answers in order, one for every message box the test expects.
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QString> fileNames; // an empty queue cancels
    QQueue<QString> folders;

    bool startsSucceed = true; // false: every program start fails

    QList<Message> messages;
    struct OpenDialog
    {
        QString title, filter, folder;
    };
    QList<OpenDialog> openDialogs;
    QList<Start> starts;
    QStringList openedFiles;
    int ends = 0;
    QStringList texts() const; // of the messages, in order

    QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon icon, const QString& title,
                                        const QString& text,
                                        QMessageBox::StandardButtons buttons) override;
    QString openFileName(QWidget*, const QString& title, const QString& filter,
                         const QString& folder) override
    {
        openDialogs.append({title, filter, folder});
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
    QString chooseFolder(QWidget*, const QString&) override
    {
        return folders.isEmpty() ? QString() : folders.dequeue();
    }
    bool startProgram(const QString& program, const QStringList& arguments, int style) override
    {
        starts.append({program, arguments, style});
        return startsSucceed;
    }
    bool openFile(const QString& path) override
    {
        openedFiles << path;
        return true;
    }
    void endProgram() override { ++ends; }
};

// For QCOMPARE's report.
char* toString(const FakeDesktop::Message& m);
