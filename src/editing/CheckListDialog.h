#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QLabel;
class QPushButton;
class QTableWidget;

// A project's components for the person to look over, a line each with a check
// box in its first column, a line of advice under the list, OK and Cancel. The
// list is one Tab stop (Tab goes on to the buttons), Space checks the current
// line whatever column was clicked or moved to, a line that cannot be checked
// reads as well as the others, and the dialog opens with room for kShownLines
// lines and every column whole but a long one, shortened in its middle.
class CheckListDialog : public QDialog
{
    Q_OBJECT
public:
    // The lines the list has room for at its first size.
    static constexpr int kShownLines = 20;

    // The checked lines, by row.
    QList<int> checkedRows() const;

    QLabel* RProjekt = nullptr;
    QTableWidget* LKomponenten = nullptr;
    QPushButton* bAbbrechen = nullptr;

protected:
    struct Frame
    {
        const char* name; // the dialog's objectName
        QString title;
        QString projectFile;
        QStringList columns;
        QString listName; // for screen readers
        const char* noteName;
        QString okText;
        const char* okName;
    };
    CheckListDialog(const Frame& frame, int rows, QWidget* parent);

    // A line's cells, in column order; only an `open` one can be checked.
    void setLine(int row, const QStringList& texts, bool open, bool checked);
    // Once the lines are set: `shortened` is the column that may be cut. The
    // first line that can be checked is made current.
    void finish(int shortened);
    // The first line that can be checked; -1 when none can.
    int firstOpen() const;
    // After every change of a check, and once by finish().
    virtual void checksChanged() = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;

    QLabel* m_note = nullptr;
    QPushButton* m_ok = nullptr;

private:
    QSize firstSize(int shortened) const;
};
