#pragma once

#include <QClipboard>
#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QWidget>

class QCheckBox;
class QFrame;

// A label that reports clicks: the links, the help icon and the text beside a link.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A container that draws its picture from the top-left corner, never scaled, cut
// at its own edges; the pages and the side pictures. With a border the picture
// starts inside the one-pixel edge.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    QPixmap picture() const { return m_picture; }

    void setBorder(bool on);
    bool border() const { return m_border; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
    bool m_border = false;
};

// A one-line text box with a thin one-pixel edge instead of the sunken frame.
class FlatLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit FlatLineEdit(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Every multi-line text box of the programs: a paste with nothing to paste does
// nothing.
class PlainTextBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void pasteFrom(QClipboard::Mode mode);
};

// The colour of every flat edge: text boxes, lists and picture boxes.
QColor flatEdgeColour();

// Lists and multi-line text boxes: a plain one-pixel box.
void makeFlat(QFrame* frame);

// Check boxes: a plain square with a one-pixel edge and a drawn tick.
void makeFlat(QCheckBox* box);

// Moves a top-level window so that its frame sits in the middle of its screen.
void centreOnScreen(QWidget* window);
