#pragma once

#include <QLabel>
#include <QPixmap>
#include <QWidget>

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
// at its own edges; the pages and the side pictures.
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
