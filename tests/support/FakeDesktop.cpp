#include "support/FakeDesktop.h"

#include <QTest>

FakeDesktop::~FakeDesktop()
{
    setDesktop(nullptr);
    // An answer nobody asked for: a message the test expected did not come.
    if (!answers.isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("%1 answer(s) left unused").arg(answers.size())),
                     __FILE__, __LINE__);
}

QMessageBox::StandardButton FakeDesktop::message(QWidget*, QMessageBox::Icon icon,
                                                 const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons)
{
    messages.append({icon, title, text, buttons});
    if (!answers.isEmpty())
        return answers.dequeue();
    // A box no test answered would wait for a person: the test fails instead, and
    // the program gets the answer that changes least.
    QTest::qFail(qPrintable(QStringLiteral("unanswered message box: ") + text), __FILE__, __LINE__);
    for (const auto safe : {QMessageBox::No, QMessageBox::Cancel})
        if (buttons.testFlag(safe))
            return safe;
    return QMessageBox::Ok;
}

QStringList FakeDesktop::texts() const
{
    QStringList result;
    for (const Message& m : messages)
        result << m.text;
    return result;
}

char* toString(const FakeDesktop::Message& m)
{
    return QTest::toString(QStringLiteral("%1 [%2] %3 (%4)")
                               .arg(int(m.icon))
                               .arg(m.title, m.text)
                               .arg(int(m.buttons)));
}
