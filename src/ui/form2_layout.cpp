#include "ui/form2_layout.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <initializer_list>

#include "ui/fonts.h"
#include "ui/pictures.h"
#include "ui/twips.h"
#include "ui/version.h"

namespace ui {

namespace {

using pictures::Id;

const QColor kPanel(0xE0, 0xE0, 0xE0);

template <class W>
W* Named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

void SetTextColour(QWidget* w, const QColor& colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colour);
    w->setPalette(pal);
}

void SetBackground(QWidget* w, const QColor& colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

CommandButton* Button(QWidget* parent, const char* name, const QString& caption, Qt::FocusPolicy focus, double l,
                      double t, double w, double h)
{
    auto* b = Named(new CommandButton(caption, parent), name);
    b->setFocusPolicy(focus);
    Place(b, l, t, w, h);
    return b;
}

Label* MakeLabel(QWidget* parent, const char* name, const QString& caption, const QFont& font, const QColor& colour,
                 Qt::Alignment align, bool autoSize, double l, double t, double w, double h)
{
    auto* label = Named(new Label(caption, parent), name);
    label->setFont(font);
    SetTextColour(label, colour);
    label->setAlignment(align | Qt::AlignTop);
    Place(label, l, t, w, h);
    label->SetAutoSize(autoSize);
    return label;
}

Image* MakeImage(QWidget* parent, const char* name, Id picture, double l, double t, double w, double h, bool visible)
{
    auto* image = Named(new Image(parent), name);
    Place(image, l, t, w, h);
    image->SetPicture(picture);
    image->setVisible(visible);
    return image;
}

PictureBox* Check(QWidget* parent, const char* name, double l, double t)
{
    auto* box = Named(new PictureBox(kPanel, Id::Check, parent), name);
    box->setFocusPolicy(Qt::NoFocus);
    Place(box, l, t, 1005, 750);
    box->setVisible(false);
    return box;
}

Frame* SettingsFrame(QWidget* parent, const char* name, const QString& caption, double l, double t, double w, double h)
{
    auto* frame = Named(new Frame(caption, kPanel, true, parent), name);
    frame->setFont(LayoutFont(kSans, 9.75, true));
    Place(frame, l, t, w, h);
    return frame;
}

template <class L>
L* Picker(QWidget* parent, const char* name, const QStringList& items, double l, double t, double w, double h)
{
    auto* list = Named(new L(items, parent), name);
    list->setFont(LayoutFont(kSans, 9.75, false));
    list->setFocusPolicy(Qt::ClickFocus);
    Place(list, l, t, w, h);
    return list;
}

// Topmost first, as the window stacks them.
void Stack(std::initializer_list<QWidget*> topmostFirst)
{
    for (auto it = std::rbegin(topmostFirst); it != std::rend(topmostFirst); ++it)
        (*it)->raise();
}

QStringList Numbers(int from, int to)
{
    QStringList items;
    for (int i = from; i <= to; ++i)
        items << QString::number(i);
    return items;
}

}  // namespace

std::array<Image*, 11> Form2Controls::ColorImages() const
{
    return {imgRed, imgGreen, imgBlue, imgYellow, imgBrown, imgOrange, imgBlack, imgGrey, imgWhite, imgPurple, imgPink};
}

std::array<Image*, 5> Form2Controls::ShapeImages() const
{
    return {imgSquare, imgCircle, imgTriangle, imgRectangle, imgOval};
}

double FitScale(QSize available)
{
    if (available.isEmpty())
        return 1.0;
    const double across = available.width() / (kForm2Width / kTwipsPerPixel);
    const double down = available.height() / (kForm2Height / kTwipsPerPixel);
    return std::min({1.0, across, down});
}

Form2Controls BuildForm2(Form& form)
{
    LoadFonts();
    const QScreen* screen = QGuiApplication::primaryScreen();
    SetLayoutScale(screen ? FitScale(screen->availableGeometry().size()) : 1.0);
    Form2Controls c{};
    form.setObjectName(QStringLiteral("Form2"));
    form.setFixedSize(Px(kForm2Width), Px(kForm2Height));
    SetBackground(&form, Qt::black);

    c.cmd1 = Button(&form, "cmd1", QStringLiteral("Close"), Qt::StrongFocus, 14160, 120, 1695, 630);
    c.cmd1->setFont(LayoutFont(kComic, 21.75, true));
    c.cmd1->SetGraphical(QColor(0xFF, 0x00, 0x00), std::nullopt, true);
    c.cmd1->SetMouseOnly(true);

    c.Frame1 = Named(new Frame(QStringLiteral("Frame1"), kPanel, false, &form), "Frame1");
    Place(c.Frame1, 960, 840, 14895, 9255);

    c.cmdNumbersx = Button(&form, "cmdNumbersx", QStringLiteral("cmdNumbersx"), Qt::StrongFocus, 9720, 3720, 1245, 525);
    c.cmdLettersx = Button(&form, "cmdLettersx", QStringLiteral("cmdLettersx"), Qt::ClickFocus, 9720, 4800, 1245, 525);
    c.cmdColorsx = Button(&form, "cmdColorsx", QStringLiteral("cmdColorsx"), Qt::ClickFocus, 9720, 5880, 1245, 525);
    c.cmdShapesx = Button(&form, "cmdShapesx", QStringLiteral("cmdShapesx"), Qt::ClickFocus, 9720, 6720, 1245, 525);

    // The spacebar reaches a deck only through the focused key-catcher, so no
    // other key may walk the focus off it.
    for (CommandButton* catcher : {c.cmdNumbersx, c.cmdLettersx, c.cmdColorsx, c.cmdShapesx})
        catcher->SetKeepsFocus(true);
    c.cmd1->SetKeepsFocus(true);

    c.Label1 = MakeLabel(
        &form, "Label1", QStringLiteral("Kid Safe - full screen, no ads, no links to social media ..."),
        LayoutFont(kComic, 20.25, true), QColor(0x00, 0x80, 0x00), Qt::AlignLeft, false, 2040, 120, 12135, 615);

    QWidget* f = c.Frame1;
    const QFont deckFont = LayoutFont(kComic, 20.25, false);
    auto deck = [&](const char* name, const QString& caption, double top, const QColor& face, Id picture) {
        auto* b = Button(f, name, caption, Qt::ClickFocus, 1650, top, 2505, 1275);
        b->setFont(deckFont);
        b->SetGraphical(face, picture, false);
        return b;
    };
    c.cmdNumbers = deck("cmdNumbers", QStringLiteral("Numbers"), 2370, QColor(0x00, 0x80, 0x00), Id::NumbersButton);
    c.cmdLetters = deck("cmdLetters", QStringLiteral("Letters"), 4020, QColor(0xC0, 0xFF, 0xFF), Id::LettersButton);
    c.cmdColors = deck("cmdColors", QStringLiteral("Colors"), 5670, QColor(0x80, 0x00, 0x80), Id::ColorsButton);
    c.cmdShapes = deck("cmdShapes", QStringLiteral("Shapes"), 7290, QColor(0xFF, 0xFF, 0xC0), Id::ShapesButton);
    c.picNumbersCheck = Check(f, "picNumbersCheck", 4200, 2400);
    c.picLettersCheck = Check(f, "picLettersCheck", 4170, 4050);
    c.picColorsCheck = Check(f, "picColorsCheck", 4170, 5640);
    c.picShapesCheck = Check(f, "picShapesCheck", 4170, 7200);

    const QFont hintFont = LayoutFont(kSerif, 12, true);
    c.lblTop = MakeLabel(f, "lblTop", QStringLiteral("press spacebar... press again"), hintFont, Qt::black,
                         Qt::AlignHCenter, true, 6345, 2640, 2895, 285);
    c.lblBottom = MakeLabel(f, "lblBottom", QStringLiteral("click flashcard = press spacebar"), hintFont, Qt::black,
                            Qt::AlignHCenter, true, 6090, 7320, 3225, 285);
    c.lblBottom->setVisible(false);
    c.lblPress = MakeLabel(f, "lblPress", QString(), hintFont, Qt::black, Qt::AlignLeft, false, 5640, 2040, 4215, 5985);
    c.lblNumberLetter =
        MakeLabel(f, "lblNumberLetter", QStringLiteral("1 2 3"), LayoutFont(kComic, 72, false),
                  c.Frame1->palette().color(QPalette::ButtonText), Qt::AlignHCenter, true, 6120, 3840, 3315, 2025);
    c.shpFlash = Named(new Shape(Qt::white, QColor(0x80, 0x80, 0x80), f), "shpFlash");
    Place(c.shpFlash, 5640, 2160, 4125, 5715);
    c.imgShapes = MakeImage(f, "imgShapes", Id::Shapes, 6360, 4440, 2640, 915, false);

    // The card pictures' design places: a loose stack near the top-left corner
    // of Frame1, all hidden. Start-up moves them onto the card frame, so only
    // their common size counts.
    auto card = [&](const char* name, Id picture, double l, double t) {
        return MakeImage(f, name, picture, l, t, 2835, 2085, false);
    };
    c.imgSquare = card("imgSquare", Id::Square, 360, 0);
    c.imgCircle = card("imgCircle", Id::Circle, 360, 120);
    c.imgTriangle = card("imgTriangle", Id::Triangle, 240, 0);
    c.imgRectangle = card("imgRectangle", Id::Rectangle, 120, 120);
    c.imgOval = card("imgOval", Id::Oval, 0, 240);
    c.imgRed = card("imgRed", Id::Red, -120, 240);
    c.imgGreen = card("imgGreen", Id::Green, 120, 0);
    c.imgBlue = card("imgBlue", Id::Blue, 120, 120);
    c.imgYellow = card("imgYellow", Id::Yellow, 0, 120);
    c.imgBrown = card("imgBrown", Id::Brown, 120, 120);
    c.imgOrange = card("imgOrange", Id::Orange, 0, 0);
    c.imgBlack = card("imgBlack", Id::Black, 0, 120);
    c.imgWhite = card("imgWhite", Id::White, -120, 120);
    c.imgPurple = card("imgPurple", Id::Purple, 120, 240);
    c.imgPink = card("imgPink", Id::Pink, 0, 360);
    c.imgGrey = card("imgGrey", Id::Grey, 0, 120);

    c.lblTitle = MakeLabel(f, "lblTitle", QStringLiteral("Quibbet"), LayoutFont(kComic, 48, true), Qt::black,
                           Qt::AlignHCenter, true, 2595, 585, 9225, 1350);
    c.imgToddlers = MakeImage(f, "imgToddlers", Id::Toddlers, 6180, 345, 1350, 540, true);
    c.lblVersion = MakeLabel(f, "lblVersion", QString::fromLatin1(kVersionCaption), LayoutFont(kSans, 9.75, true),
                             Qt::black, Qt::AlignLeft, true, 12120, 600, 435, 240);
    c.imgPlus2 = MakeImage(f, "imgPlus2", Id::Plus2, 11490, 285, 510, 510, true);
    c.imgPlus2->setFrameShape(QFrame::Box);
    c.imgPlus2->setLineWidth(1);
    c.imgPlus2->setAlignment(Qt::AlignCenter);
    Place(c.imgPlus2, 11490, 285, 510, 510);
    c.lblBrix2 = MakeLabel(f, "lblBrix2", QStringLiteral("www.quibbet.example"), LayoutFont(kComic, 12, true),
                           QColor(0xC0, 0x00, 0x00), Qt::AlignHCenter, true, 9690, 1785, 2325, 345);

    c.FrameSetTimer =
        SettingsFrame(f, "FrameSetTimer", QStringLiteral("Set timer value (secs)"), 10185, 2670, 2835, 735);
    c.FrameSetMax = SettingsFrame(f, "FrameSetMax", QStringLiteral("Set max number"), 10200, 3600, 2835, 765);
    c.FrameOrder = SettingsFrame(f, "FrameOrder", QStringLiteral("Items are displayed"), 10200, 4560, 2835, 1005);
    c.FrameLetters = SettingsFrame(f, "FrameLetters", QStringLiteral("Case"), 10200, 5760, 2835, 1125);
    c.FrameSound = SettingsFrame(f, "FrameSound", QStringLiteral("Sound"), 10200, 7080, 2835, 1095);
    c.comboSetTimer =
        Picker<ComboBox>(c.FrameSetTimer, "comboSetTimer", QStringList{"off"} + Numbers(1, 6), 150, 210, 1005, 360);
    c.comboSetMaxNum = Picker<ComboBox>(c.FrameSetMax, "comboSetMaxNum", Numbers(1, 20), 150, 240, 1005, 360);
    c.ListOrder = Picker<ListBox>(c.FrameOrder, "ListOrder", {"in order", "random"}, 120, 300, 1995, 540);
    c.ListUpper = Picker<ListBox>(c.FrameLetters, "ListUpper", {"lower case", "upper case"}, 150, 300, 1995, 540);
    c.ListSound = Picker<ListBox>(c.FrameSound, "ListSound", {"on", "off"}, 120, 300, 2115, 540);
    for (ListBox* list : {c.ListOrder, c.ListUpper, c.ListSound})
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    c.Text1 = Named(new TextBox(QStringLiteral("your name"), f), "Text1");
    c.Text1->setFont(LayoutFont(kComic, 21.75, false));
    c.Text1->setAlignment(Qt::AlignCenter);
    c.Text1->setFocusPolicy(Qt::ClickFocus);
    Place(c.Text1, 5340, 8130, 2865, 720);
    c.cmdSetName = Button(f, "cmdSetName", QStringLiteral("Set Name"), Qt::ClickFocus, 8310, 8100, 1545, 765);
    c.cmdSetName->setFont(LayoutFont(kComic, 14.25, true));
    c.cmdSetName->SetGraphical(QColor(0x00, 0x80, 0x00), std::nullopt, false);
    c.Timer1 = Named(new TimerControl(&form), "Timer1");

    Stack({c.cmd1, c.Frame1, c.cmdNumbersx, c.cmdLettersx, c.cmdColorsx, c.cmdShapesx, c.Label1});
    Stack({c.cmdNumbers,     c.cmdColors,      c.cmdLetters,      c.cmdShapes,       c.FrameOrder,      c.FrameLetters,
           c.FrameSound,     c.FrameSetMax,    c.FrameSetTimer,   c.picNumbersCheck, c.Text1,           c.cmdSetName,
           c.picShapesCheck, c.picColorsCheck, c.picLettersCheck, c.lblTop,          c.lblBottom,       c.lblPress,
           c.imgSquare,      c.imgCircle,      c.imgTriangle,     c.imgRectangle,    c.imgOval,         c.lblTitle,
           c.lblBrix2,       c.lblVersion,     c.imgPlus2,        c.imgShapes,       c.imgRed,          c.imgGreen,
           c.imgBlue,        c.imgYellow,      c.imgBrown,        c.imgOrange,       c.imgBlack,        c.imgWhite,
           c.imgPurple,      c.imgPink,        c.imgGrey,         c.imgToddlers,     c.lblNumberLetter, c.shpFlash});

    const std::initializer_list<QWidget*> tabOrder = {
        c.Frame1,          c.picLettersCheck, c.picColorsCheck, c.picShapesCheck,  c.cmdSetName,     c.Text1,
        c.picNumbersCheck, c.FrameSetTimer,   c.comboSetTimer,  c.FrameSetMax,     c.comboSetMaxNum, c.FrameSound,
        c.ListSound,       c.FrameLetters,    c.ListUpper,      c.FrameOrder,      c.ListOrder,      c.cmdShapes,
        c.cmdLetters,      c.cmdColors,       c.cmdNumbers,     c.lblBottom,       c.lblTop,         c.lblVersion,
        c.lblBrix2,        c.lblTitle,        c.lblPress,       c.lblNumberLetter, c.cmdNumbersx,    c.cmdLettersx,
        c.cmdColorsx,      c.cmdShapesx,      c.cmd1,           c.Label1};
    const QWidget* previous = nullptr;
    for (QWidget* w : tabOrder) {
        if (previous)
            QWidget::setTabOrder(const_cast<QWidget*>(previous), w);
        previous = w;
    }
    return c;
}

void BuildForm1(Form& form)
{
    form.setObjectName(QStringLiteral("Form1"));
    SetBackground(&form, Qt::black);
    form.resize(Px(5640), Px(4725));
    form.setWindowIcon(QIcon(QPixmap::fromImage(pictures::Draw(Id::BackdropIcon))));
    form.SetMaximised(true);
}

}  // namespace ui
