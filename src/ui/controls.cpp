#include "ui/controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "ui/twips.h"

namespace ui {

float Left(const QWidget* control) { return Twips(control->x()); }
float Top(const QWidget* control) { return Twips(control->y()); }
float Width(const QWidget* control) { return Twips(control->width()); }
float Height(const QWidget* control) { return Twips(control->height()); }
void SetLeft(QWidget* control, float twips) { control->move(Px(twips), control->y()); }
void SetTop(QWidget* control, float twips) { control->move(control->x(), Px(twips)); }

void Place(QWidget* control, double left, double top, double width, double height)
{
    control->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

int KeyCode(const QKeyEvent* event)
{
    const int key = event->key();
    if (key >= 0x20 && key <= 0x7e)
        return key;  // Qt's codes here are the ASCII ones, capitals for letters
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Delete: return 46;
    default:
        if (key >= Qt::Key_F1 && key <= Qt::Key_F16)
            return 112 + (key - Qt::Key_F1);
        return 0;
    }
}

int ShiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
           | (modifiers & Qt::AltModifier ? 4 : 0);
}

namespace {

bool IsActivationKey(int key)
{
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Select;
}

// White is the mask colour of a button picture.
QImage MaskWhite(const QImage& picture)
{
    QImage masked = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < masked.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if ((line[x] & 0x00ffffff) == 0x00ffffff)
                line[x] = 0;
    }
    return masked;
}

// Device pixels per picture pixel where the widget is shown.
double Density(const QWidget* widget) { return LayoutScale() * widget->devicePixelRatioF(); }

}  // namespace

bool ScreenPicture::Stale(const QWidget* widget) const { return id_ && Density(widget) != density_; }

const QImage& ScreenPicture::For(const QWidget* widget)
{
    if (Stale(widget)) {
        density_ = Density(widget);
        image_ = pictures::Draw(*id_, density_);
        if (whiteIsMask_)
            image_ = MaskWhite(image_);
        image_.setDevicePixelRatio(widget->devicePixelRatioF());
    }
    return image_;
}

CommandButton::CommandButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &CommandButton::Click);
}

void CommandButton::SetGraphical(const QColor& face, std::optional<pictures::Id> picture, bool flat)
{
    graphical_ = true;
    face_ = face;
    flat_ = flat;
    picture_ = picture ? ScreenPicture(*picture, true) : ScreenPicture();
    update();
}

void CommandButton::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool arrow = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    if ((mouseOnly_ && IsActivationKey(key)) || (keepsFocus_ && arrow)) {
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void CommandButton::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat())
        emit KeyUp(KeyCode(event), ShiftState(event->modifiers()));
    if (mouseOnly_ && IsActivationKey(event->key())) {
        event->accept();
        return;
    }
    QPushButton::keyReleaseEvent(event);
}

void CommandButton::paintEvent(QPaintEvent* event)
{
    if (!graphical_) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, face_);
    const bool down = isDown();
    if (flat_) {
        p.setPen(Qt::black);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    } else {
        const QColor light = down ? QColor(0x80, 0x80, 0x80) : Qt::white;
        const QColor dark = down ? Qt::white : QColor(0x80, 0x80, 0x80);
        p.setPen(Qt::black);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        const QRect in = r.adjusted(1, 1, -2, -2);
        p.setPen(light);
        p.drawLine(in.topLeft(), in.topRight());
        p.drawLine(in.topLeft(), in.bottomLeft());
        p.setPen(dark);
        p.drawLine(in.bottomLeft(), in.bottomRight());
        p.drawLine(in.topRight(), in.bottomRight());
    }
    const int shift = down ? 1 : 0;
    const QFontMetrics fm(font());
    const int textHeight = text().isEmpty() ? 0 : fm.height();
    const QImage picture = picture_.IsNull() ? QImage() : picture_.For(this);
    const QSize pictureSize = picture.deviceIndependentSize().toSize();
    const int pictureHeight = picture.isNull() ? 0 : pictureSize.height();
    const int gap = (pictureHeight && textHeight) ? 1 : 0;
    int y = (height() - pictureHeight - gap - textHeight) / 2 + shift;
    if (pictureHeight) {
        p.drawImage(QPoint((width() - pictureSize.width()) / 2 + shift, y), picture);
        y += pictureHeight + gap;
    }
    if (textHeight) {
        p.setPen(palette().color(QPalette::ButtonText));
        p.setFont(font());
        p.drawText(QRect(shift, y, width(), textHeight), Qt::AlignHCenter | Qt::AlignTop, text());
    }
}

Label::Label(const QString& caption, QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setText(caption);
}

void Label::SetCaption(const QString& caption)
{
    setText(caption);
    if (autoSize_)
        FitToText();
}

void Label::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    if (autoSize_)
        FitToText();
}

void Label::FitToText()
{
    const QSize hint = sizeHint();
    QRect box = geometry();
    if (alignment() & Qt::AlignHCenter) {
        const int centre = box.x() + box.width() / 2;
        box.setX(centre - hint.width() / 2);
    }
    box.setSize(hint);
    setGeometry(box);
}

void Label::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void Label::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit Click();
}

Image::Image(QWidget* parent) : QLabel(parent)
{
    setFrameShape(QFrame::NoFrame);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Image::SetPicture(pictures::Id picture)
{
    picture_ = ScreenPicture(picture);
    Refresh();
    resize(pixmap().deviceIndependentSize().toSize());
}

void Image::Refresh()
{
    if (picture_.Stale(this))
        setPixmap(QPixmap::fromImage(picture_.For(this)));
}

void Image::paintEvent(QPaintEvent* event)
{
    Refresh();
    QLabel::paintEvent(event);
}

void Image::mousePressEvent(QMouseEvent* event) { event->accept(); }

PictureBox::PictureBox(const QColor& background, pictures::Id picture, QWidget* parent)
    : QWidget(parent), background_(background), picture_(picture)
{}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), background_);
    p.drawImage(QPoint(0, 0), picture_.For(this));
}

void PictureBox::mousePressEvent(QMouseEvent* event) { event->accept(); }

Frame::Frame(const QString& caption, const QColor& background, bool bordered, QWidget* parent)
    : QWidget(parent), caption_(caption), background_(background), bordered_(bordered)
{}

void Frame::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), background_);
    if (!bordered_)
        return;
    const QFontMetrics fm(font());
    const int lineY = fm.height() / 2;
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(QRect(0, lineY, width() - 1, height() - 1 - lineY));
    if (!caption_.isEmpty()) {
        const QRect textBox(6, 0, fm.horizontalAdvance(caption_) + 4, fm.height());
        p.fillRect(textBox, background_);
        p.setPen(palette().color(QPalette::WindowText));
        p.setFont(font());
        p.drawText(textBox, Qt::AlignCenter, caption_);
    }
}

void Frame::mousePressEvent(QMouseEvent* event) { event->accept(); }

Shape::Shape(const QColor& fill, const QColor& outline, QWidget* parent)
    : QWidget(parent), fill_(fill), outline_(outline)
{}

void Shape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(outline_, 1));
    p.setBrush(fill_);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
}

void Shape::mousePressEvent(QMouseEvent* event) { event->accept(); }

ListBox::ListBox(const QStringList& items, QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    addItems(items);
}

int ListBox::ListIndex() const
{
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QString ListBox::List(int index) const
{
    const QListWidgetItem* it = item(index);
    return it ? it->text() : QString();
}

void ListBox::SetSelected(int index)
{
    setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    emit Click();
}

void ListBox::mousePressEvent(QMouseEvent* event)
{
    pressed_ = true;
    QListWidget::mousePressEvent(event);
}

void ListBox::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    const bool pick = pressed_ && indexAt(event->position().toPoint()).isValid() && ListIndex() >= 0;
    pressed_ = false;
    if (pick)
        emit Click();
}

void ListBox::keyPressEvent(QKeyEvent* event)
{
    const int before = ListIndex();
    QListWidget::keyPressEvent(event);
    const int after = ListIndex();
    if (after != before && after >= 0)
        emit Click();
}

// A pick always leaves one item selected: Ctrl+click or Ctrl+Space would
// otherwise clear the selection and leave the setting shown as nothing.
QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    const auto flags = QListWidget::selectionCommand(index, event);
    if (flags == QItemSelectionModel::NoUpdate || !index.isValid())
        return flags;
    return QItemSelectionModel::ClearAndSelect;
}

ComboBox::ComboBox(const QStringList& items, QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    addItems(items);
    setCurrentIndex(-1);
    connect(this, &QComboBox::activated, this, &ComboBox::Click);
}

void ComboBox::SetListIndex(int index)
{
    setCurrentIndex(index);
    emit Click();
}

TextBox::TextBox(const QString& text, QWidget* parent) : QLineEdit(text, parent)
{
    connect(this, &QLineEdit::textChanged, this, &TextBox::Change);
}

void TextBox::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    QLineEdit::mousePressEvent(event);
}

void TextBox::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit Click();
}

}  // namespace ui
