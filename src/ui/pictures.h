#pragma once

#include <QImage>
#include <QString>

class QPainter;

namespace ui::pictures {

// Every picture the two windows show, drawn in code at its own pixel size.
enum class Id {
    Red,
    Green,
    Blue,
    Yellow,
    Brown,
    Orange,
    Black,
    Grey,
    White,
    Purple,
    Pink,
    Square,
    Circle,
    Triangle,
    Rectangle,
    Oval,
    NumbersButton,
    LettersButton,
    ColorsButton,
    ShapesButton,
    Check,
    Shapes,
    Plus2,
    Toddlers,
    BackdropIcon,
};

inline constexpr int kCount = static_cast<int>(Id::BackdropIcon) + 1;

// The picture, drawn afresh (ARGB32; transparent where the picture is).
QImage Draw(Id id);
// The same drawing at `ratio` device pixels per picture pixel: an image of the
// picture's size times the ratio that carries the ratio, so that it paints at
// the picture's own size, sharp on a screen of that pixel density.
QImage Draw(Id id, qreal ratio);

// A short file-system name for the review PNGs, e.g. "imgRed".
QString Name(Id id);

// The program's icon in the desktop's menus: the backdrop icon's four-colour
// plus, filling a square of `side` pixels at the painter's origin. Drawn in
// paths only, so that it scales and can be written as SVG as well.
void PaintAppIcon(QPainter& painter, double side);

}  // namespace ui::pictures
