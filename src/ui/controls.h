#pragma once

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <optional>

#include "ui/pictures.h"

namespace ui {

// A built-in picture as the widget that shows it needs it: drawn from its
// vector paths at the layout scale and at the pixel density of the widget's
// screen, and drawn again once either has changed, as when the window has
// moved to another screen.
class ScreenPicture {
public:
    ScreenPicture() = default;
    explicit ScreenPicture(pictures::Id id, bool whiteIsMask = false) : id_(id), whiteIsMask_(whiteIsMask) {}
    bool IsNull() const { return !id_; }
    // True when the picture for the widget's screen differs from the last one.
    bool Stale(const QWidget* widget) const;
    // The picture for the widget's screen; it paints at its laid-out size.
    const QImage& For(const QWidget* widget);

private:
    std::optional<pictures::Id> id_;
    bool whiteIsMask_ = false;
    QImage image_;
    double density_ = 0;
};

// Positions and sizes of any control, in twips relative to its container.
float Left(const QWidget* control);
float Top(const QWidget* control);
float Width(const QWidget* control);
float Height(const QWidget* control);
void SetLeft(QWidget* control, float twips);
void SetTop(QWidget* control, float twips);
// Places a control at a rectangle given in twips.
void Place(QWidget* control, double left, double top, double width, double height);

// The key code of a key event as the handlers know it: the character code
// for printable keys (32 for the spacebar, capitals for letters).
int KeyCode(const QKeyEvent* event);
// 1 Shift, 2 Ctrl, 4 Alt.
int ShiftState(Qt::KeyboardModifiers modifiers);

class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(const QString& caption, QWidget* parent);

    // The face in one colour, the picture above the caption; white pixels of
    // the picture show the face.
    void SetGraphical(const QColor& face, std::optional<pictures::Id> picture, bool flat);
    // Only the mouse may activate it: a child hammering Space or Enter on it
    // must not fire it.
    void SetMouseOnly(bool mouseOnly) { mouseOnly_ = mouseOnly; }
    // Arrow keys leave the focus where it is instead of walking it to the
    // next control.
    void SetKeepsFocus(bool keepsFocus) { keepsFocus_ = keepsFocus; }

signals:
    void Click();
    // Once per physical release: auto-repeated releases of a held key are not
    // passed on.
    void KeyUp(int keyCode, int shift);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool graphical_ = false;
    bool flat_ = false;
    bool mouseOnly_ = false;
    bool keepsFocus_ = false;
    QColor face_;
    ScreenPicture picture_;
};

// A label that keeps every click in its whole rectangle, also where it is
// transparent or has no text, so no click on it reaches the window behind.
class Label : public QLabel {
    Q_OBJECT
public:
    Label(const QString& caption, QWidget* parent);

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption);
    // An auto-size label takes the size of its text; a centred one keeps its
    // centre when the text changes, any other its left edge.
    void SetAutoSize(bool autoSize);

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void FitToText();

    bool autoSize_ = false;
    bool pressed_ = false;
};

// A picture at its own pixel size, without border.
class Image : public QLabel {
    Q_OBJECT
public:
    explicit Image(QWidget* parent);
    // Takes the picture's laid-out size.
    void SetPicture(pictures::Id picture);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Refresh();

    ScreenPicture picture_;
};

// A windowed box with a background colour and a picture.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(const QColor& background, pictures::Id picture, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor background_;
    ScreenPicture picture_;
};

// A container with a background colour and, when bordered, a one-line
// border with its caption set into the top edge.
class Frame : public QWidget {
    Q_OBJECT
public:
    Frame(const QString& caption, const QColor& background, bool bordered, QWidget* parent);
    QString Caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString caption_;
    QColor background_;
    bool bordered_;
};

// A filled rectangle with a rounded one-pixel outline.
class Shape : public QWidget {
    Q_OBJECT
public:
    Shape(const QColor& fill, const QColor& outline, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor fill_;
    QColor outline_;
};

// A list whose Click comes once for every pick: by mouse (also of the item
// already selected), by keyboard, and when code selects an item.
class ListBox : public QListWidget {
    Q_OBJECT
public:
    ListBox(const QStringList& items, QWidget* parent);

    // The selected item, or -1.
    int ListIndex() const;
    QString List(int index) const;
    // Selects the item and raises Click before returning.
    void SetSelected(int index);

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override;

private:
    bool pressed_ = false;
};

// A drop-down list (only its items can be picked) with the same Click rule.
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    ComboBox(const QStringList& items, QWidget* parent);

    int ListIndex() const { return currentIndex(); }
    QString List(int index) const { return itemText(index); }
    // Selects the item and raises Click before returning.
    void SetListIndex(int index);

signals:
    void Click();
};

// A one-line text box: Change follows every change of its text, by typing
// or by code; Click comes with a mouse click in it.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    TextBox(const QString& text, QWidget* parent);

    QString Text() const { return text(); }
    void SetText(const QString& text) { setText(text); }

signals:
    void Change();
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace ui
