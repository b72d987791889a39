#include "support/FakeDesktop.h"

QMessageBox::StandardButton FakeDesktop::message(QWidget*, QMessageBox::Icon icon,
                                                 const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons)
{
    messages.append({icon, title, text, buttons});
    if (!answers.isEmpty())
        return answers.dequeue();
    qWarning("FakeDesktop: unanswered message box: %s", qPrintable(text));
    for (const auto safe : {QMessageBox::No, QMessageBox::Cancel})
        if (buttons.testFlag(safe))
            return safe;
    return QMessageBox::Ok;
}
