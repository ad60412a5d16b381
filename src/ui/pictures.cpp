#include "ui/pictures.h"

#include "ui/fonts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QTransform>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace ui::pictures {
namespace {

constexpr QSize kCardSize(189, 139);
constexpr QColor kShapeBlue(0x00, 0x40, 0x80);

// Device pixels per picture pixel of the drawing under way. The drawings are
// vector paths in picture pixels, which every painter scales by it (a painter
// does not scale by an image's own ratio below 1).
double gRatio = 1.0;

QImage Blank(QSize size, QColor ground)
{
    QImage image(QSize(std::max(1, int(std::lround(size.width() * gRatio))),
                       std::max(1, int(std::lround(size.height() * gRatio)))),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(ground);
    return image;
}

// Antialiased throughout: the crisp pictures fill whole pixels, where it
// changes nothing.
struct Painter : QPainter {
    explicit Painter(QImage* image, bool antialiased = true) : QPainter(image)
    {
        setRenderHint(QPainter::Antialiasing, antialiased);
        scale(gRatio, gRatio);
    }
};

QPainterPath Ellipse(const QRectF& box)
{
    QPainterPath path;
    path.addEllipse(box);
    return path;
}

QPainterPath Rect(const QRectF& box)
{
    QPainterPath path;
    path.addRect(box);
    return path;
}

QPainterPath TriangleUp(const QRectF& box)
{
    QPainterPath path;
    path.moveTo(box.left(), box.bottom());
    path.lineTo(box.center().x(), box.top());
    path.lineTo(box.right(), box.bottom());
    path.closeSubpath();
    return path;
}

// Maps the path's exact ink bounds onto the box, so lettering from a font lands
// on whole pixels whatever the font's own metrics are.
QPainterPath FitInto(const QPainterPath& path, const QRectF& box)
{
    const QRectF b = path.boundingRect();
    QTransform t;
    t.translate(box.left(), box.top());
    t.scale(box.width() / b.width(), box.height() / b.height());
    t.translate(-b.left(), -b.top());
    return t.map(path);
}

// Same, keeping the aspect: the larger fitting scale, centred in the box.
QPainterPath FitKeepingShape(const QPainterPath& path, const QRectF& box)
{
    const QRectF b = path.boundingRect();
    const double s = std::min(box.width() / b.width(), box.height() / b.height());
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.scale(s, s);
    t.translate(-b.center().x(), -b.center().y());
    return t.map(path);
}

// The colour-card blob: a rounded rectangle whose radius wanders a little, like
// a shape cut out by hand. One outline for every card.
std::vector<QPointF> BlobOutline()
{
    constexpr int kPoints = 720;
    constexpr double kPi = std::numbers::pi;
    std::vector<QPointF> pts;
    pts.reserve(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        const double t = 2 * kPi * i / kPoints;
        const double c = std::cos(t), s = std::sin(t);
        const double x = std::copysign(std::pow(std::abs(c), 0.55), c);
        const double y = std::copysign(std::pow(std::abs(s), 0.55), s);
        const double wobble = 1 + 0.022 * std::sin(2 * t + 0.7) + 0.018 * std::sin(3 * t + 2.1)
                              + 0.012 * std::sin(5 * t + 4.0) + 0.007 * std::sin(8 * t + 1.3);
        pts.emplace_back(x * wobble, y * wobble);
    }
    double l = 1e9, r = -1e9, top = 1e9, bottom = -1e9;
    for (const QPointF& p : pts) {
        l = std::min(l, p.x());
        r = std::max(r, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    const QRectF box(18, 15, 154, 108);
    for (QPointF& p : pts)
        p = QPointF(box.left() + (p.x() - l) / (r - l) * box.width(),
                    box.top() + (p.y() - top) / (bottom - top) * box.height());
    return pts;
}

// The outline moved inwards along its normals; the blob is smooth and nearly
// convex, so a plain offset keeps it clean.
QPolygonF Inset(const std::vector<QPointF>& pts, double by)
{
    const size_t n = pts.size();
    QPolygonF out;
    out.reserve(static_cast<qsizetype>(n));
    QPointF centre;
    for (const QPointF& p : pts)
        centre += p;
    centre /= static_cast<double>(n);
    for (size_t i = 0; i < n; ++i) {
        const QPointF d = pts[(i + 1) % n] - pts[(i + n - 1) % n];
        QPointF normal(-d.y(), d.x());
        normal /= std::hypot(normal.x(), normal.y());
        if (QPointF::dotProduct(normal, centre - pts[i]) < 0)
            normal = -normal;
        out << pts[i] + normal * by;
    }
    return out;
}

QImage ColorCard(QColor blob, bool outlined)
{
    QImage image = Blank(kCardSize, Qt::white);
    Painter p(&image);
    const int w = kCardSize.width(), h = kCardSize.height();
    p.fillRect(0, 0, 3, h, Qt::black);
    p.fillRect(w - 3, 0, 3, h, Qt::black);
    p.fillRect(0, h - 3, w, 3, Qt::black);
    p.fillRect(0, 0, w, 2, Qt::black);

    const std::vector<QPointF> outline = BlobOutline();
    p.setPen(Qt::NoPen);
    p.setBrush(outlined ? QColor(Qt::black) : blob);
    p.drawPolygon(QPolygonF(outline.begin(), outline.end()));
    if (outlined) {
        p.setBrush(blob);
        p.drawPolygon(Inset(outline, 2.6));
    }
    return image;
}

QImage ShapeCard(const QPainterPath& figure)
{
    QImage image = Blank(kCardSize, Qt::white);
    Painter p(&image);
    p.fillPath(figure, kShapeBlue);
    return image;
}

QImage FourSquares(QSize size, int crossFrom, int crossWidth, std::array<QColor, 4> corners)
{
    QImage image = Blank(size, Qt::black);
    Painter p(&image, false);
    const int w = size.width(), h = size.height();
    const int after = crossFrom + crossWidth;
    p.fillRect(0, 0, crossFrom, crossFrom, corners[0]);
    p.fillRect(after, 0, w - after, crossFrom, corners[1]);
    p.fillRect(0, after, crossFrom, h - after, corners[2]);
    p.fillRect(after, after, w - after, h - after, corners[3]);
    return image;
}

// A row of glyphs laid out by their ink rather than their advances, so the
// commas can sit close after a character and the gaps fit a small box. The
// commas are enlarged: at this size the font's own are mere dots.
QPainterPath InkRow(const QFont& font, const QStringList& glyphs, double slant, double tightGap, double wideGap)
{
    QPainterPath row;
    double x = 0;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        const bool comma = glyphs[i] == QStringLiteral(",");
        QPainterPath g;
        g.addText(0, 0, font, glyphs[i]);
        if (comma)
            g = QTransform::fromScale(1.4, 1.4).map(g);
        g = QTransform().shear(-slant, 0).map(g);
        const QRectF b = g.boundingRect();
        if (i > 0)
            x += comma ? tightGap : wideGap;
        row.addPath(g.translated(x - b.left(), 0));
        x += b.width();
    }
    return row;
}

QImage DeckLettering(QSize size, const QStringList& glyphs, double slant, const QRectF& ink)
{
    LoadFonts();
    QFont font(kSans);
    font.setPixelSize(24);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QPainterPath row = InkRow(font, glyphs, slant, 1.4, 5.5);

    // Traced with a thin pen as well as filled: the font's strokes alone are too
    // faint at this size to read on the darker button faces.
    constexpr double kPen = 0.45;
    QImage image = Blank(size, Qt::transparent);
    Painter p(&image);
    const QPainterPath fitted = FitInto(row, ink.adjusted(kPen / 2, kPen / 2, -kPen / 2, -kPen / 2));
    QPainterPathStroker stroker;
    stroker.setWidth(kPen);
    stroker.setJoinStyle(Qt::RoundJoin);
    p.fillPath(fitted.united(stroker.createStroke(fitted)), Qt::black);
    return image;
}

QImage ShapesButton()
{
    QImage image = Blank(QSize(75, 23), Qt::transparent);
    Painter p(&image);
    p.fillPath(Rect(QRectF(1, 3, 25, 17)), QColor(0x00, 0x00, 0x80));
    p.fillPath(Ellipse(QRectF(28, 1, 20, 21)), QColor(0x80, 0x00, 0x00));
    p.fillPath(TriangleUp(QRectF(51, 1, 23, 22)), QColor(0x00, 0x80, 0x00));
    return image;
}

QImage ShapesBanner()
{
    QImage image = Blank(QSize(176, 61), Qt::white);
    Painter p(&image);
    p.fillPath(Rect(QRectF(2, 9, 61, 43)), kShapeBlue);
    p.fillPath(Ellipse(QRectF(67, 0, 52, 61)), QColor(0x80, 0x00, 0x00));
    p.fillPath(TriangleUp(QRectF(123, 1, 50, 59)), QColor(0x00, 0x80, 0x00));
    return image;
}

// A brush stroke along a quadratic curve whose width runs from `w0` to `w1`,
// with round ends.
QPainterPath BrushStroke(QPointF a, QPointF control, QPointF b, double w0, double w1)
{
    constexpr int kSteps = 48;
    std::vector<QPointF> left, right;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = double(i) / kSteps;
        const QPointF at = (1 - t) * (1 - t) * a + 2 * (1 - t) * t * control + t * t * b;
        QPointF d = 2 * (1 - t) * (control - a) + 2 * t * (b - control);
        d /= std::hypot(d.x(), d.y());
        const QPointF normal(-d.y(), d.x());
        const double half = (w0 + (w1 - w0) * t) / 2;
        left.push_back(at + normal * half);
        right.push_back(at - normal * half);
    }
    QPolygonF body(left.begin(), left.end());
    for (auto it = right.rbegin(); it != right.rend(); ++it)
        body << *it;
    QPainterPath path;
    path.addPolygon(body);
    path.closeSubpath();
    QPainterPath start, end;
    start.addEllipse(a, w0 / 2, w0 / 2);
    end.addEllipse(b, w1 / 2, w1 / 2);
    return path.united(start).united(end);
}

// The tick as two strokes, thinned by `less` and nudged by `shift`, so nested
// copies leave bands of shade along the edges.
QPainterPath Tick(double less, QPointF shift)
{
    QPainterPath shortStroke = BrushStroke(QPointF(8, 27), QPointF(15, 34), QPointF(24, 43), std::max(1.0, 9.0 - less),
                                           std::max(1.0, 12.5 - less));
    QPainterPath longStroke = BrushStroke(QPointF(24, 43), QPointF(38, 20), QPointF(62, 6), std::max(1.0, 12.5 - less),
                                          std::max(1.0, 6.0 - less));
    return shortStroke.united(longStroke).translated(shift);
}

QImage CheckMark()
{
    QImage image = Blank(QSize(67, 50), Qt::transparent);
    Painter p(&image);
    p.fillPath(Tick(0, QPointF()), QColor(0x1E, 0x04, 0x04));
    p.fillPath(Tick(1.8, QPointF()), QColor(0x8E, 0x02, 0x08));
    p.fillPath(Tick(3.2, QPointF(-0.3, -0.4)), QColor(0xC4, 0x02, 0x0A));
    p.fillPath(Tick(5.2, QPointF(-0.7, -0.9)), QColor(0xFC, 0x02, 0x0C));
    return image;
}

QImage Toddlers()
{
    LoadFonts();
    QFont font(kComic);
    font.setPixelSize(24);
    font.setWeight(QFont::Bold);
    font.setHintingPreference(QFont::PreferNoHinting);

    // Each letter a little off its neighbours in height and lean, the way a
    // hand writes, on a baseline that climbs to the right.
    constexpr std::array<double, 8> kLift{0.0, 0.6, -0.3, 0.4, -0.5, 0.3, 0.0, 0.5};
    constexpr std::array<double, 8> kLean{-2.0, 3.0, -1.5, 2.0, 0.0, -2.5, 1.5, 3.5};
    const QString word = QStringLiteral("toddlers");
    QPainterPath letters;
    double x = 0;
    for (qsizetype i = 0; i < word.size(); ++i) {
        QPainterPath g;
        g.addText(0, 0, font, word.mid(i, 1));
        QTransform lean;
        lean.translate(x + g.boundingRect().center().x(), kLift[size_t(i)]);
        lean.rotate(kLean[size_t(i)]);
        lean.translate(-g.boundingRect().center().x(), 0);
        letters.addPath(lean.map(g));
        x += QFontMetricsF(font).horizontalAdvance(word.mid(i, 1)) - 0.6;
    }
    letters = QTransform().rotate(-9).map(letters);
    letters = FitKeepingShape(letters, QRectF(11, 1, 77, 27));

    QImage image = Blank(QSize(90, 36), Qt::transparent);
    Painter p(&image);
    const QColor ink(0x04, 0x02, 0x04);
    p.fillPath(letters, ink);

    // The caret under the start of the word, as if the word had been written in
    // above the line.
    QPainterPath caret;
    caret.moveTo(2.5, 33.0);
    caret.quadTo(5.5, 29.0, 8.5, 23.5);
    caret.quadTo(11.0, 28.5, 14.0, 32.0);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(caret);
    return image;
}

}  // namespace

QImage Draw(Id id)
{
    switch (id) {
    case Id::Red: return ColorCard(QColor(0xFF, 0x00, 0x00), false);
    case Id::Green: return ColorCard(QColor(0x00, 0x80, 0x00), false);
    case Id::Blue: return ColorCard(QColor(0x00, 0x00, 0xFF), false);
    case Id::Yellow: return ColorCard(QColor(0xFF, 0xFF, 0x00), true);
    case Id::Brown: return ColorCard(QColor(0x80, 0x40, 0x00), false);
    case Id::Orange: return ColorCard(QColor(0xFF, 0x57, 0x06), false);
    case Id::Black: return ColorCard(QColor(0x00, 0x00, 0x00), false);
    case Id::Grey: return ColorCard(QColor(0x80, 0x80, 0x80), false);
    case Id::White: return ColorCard(QColor(0xFF, 0xFF, 0xFF), true);
    case Id::Purple: return ColorCard(QColor(0x80, 0x00, 0xFF), false);
    case Id::Pink: return ColorCard(QColor(0xFF, 0xB3, 0xD9), true);
    case Id::Square: return ShapeCard(Rect(QRectF(50, 21, 89, 97)));
    case Id::Circle: return ShapeCard(Ellipse(QRectF(36, 6, 110, 124)));
    case Id::Triangle: return ShapeCard(TriangleUp(QRectF(11, 16, 164, 106)));
    case Id::Rectangle: return ShapeCard(Rect(QRectF(10, 17, 165, 106)));
    case Id::Oval: return ShapeCard(Ellipse(QRectF(13, 20, 155, 92)));
    case Id::NumbersButton: return DeckLettering(QSize(73, 51), {"1", ",", "2", ",", "3"}, 0.0, QRectF(13, 22, 44, 20));
    case Id::LettersButton: return DeckLettering(QSize(73, 51), {"A", ",", "B", ",", "C"}, 0.2, QRectF(7, 24, 52, 20));
    case Id::ColorsButton:
    case Id::Plus2:
        return FourSquares(
            QSize(32, 32), 14, 3,
            {QColor(0x00, 0xFF, 0xFF), QColor(0x00, 0x80, 0x80), QColor(0xFF, 0x00, 0x00), QColor(0xFF, 0xFF, 0x00)});
    case Id::ShapesButton: return ShapesButton();
    case Id::Check: return CheckMark();
    case Id::Shapes: return ShapesBanner();
    case Id::Toddlers: return Toddlers();
    case Id::BackdropIcon:
        return FourSquares(
            QSize(32, 32), 15, 2,
            {QColor(0x00, 0x00, 0xFF), QColor(0xFF, 0x00, 0x00), QColor(0x00, 0x80, 0x00), QColor(0xFF, 0xFF, 0x00)});
    }
    return {};
}

QImage Draw(Id id, qreal ratio)
{
    if (!(ratio > 0))
        return {};
    const double previous = gRatio;
    gRatio = ratio;
    QImage image = Draw(id);
    gRatio = previous;
    image.setDevicePixelRatio(ratio);
    return image;
}

void PaintAppIcon(QPainter& painter, double side)
{
    // One unit is a pixel of the 32-pixel backdrop icon, whose cross runs from
    // 15 to 17. A small margin and rounded corners let it sit among other
    // programs' icons; every part is cut to the rounded outline, so no black
    // fringe shows at the corners.
    const double margin = side / 16;
    const double unit = (side - 2 * margin) / 32;
    const auto box = [&](double x, double y, double w, double h) {
        return Rect(QRectF(margin + x * unit, margin + y * unit, w * unit, h * unit));
    };
    QPainterPath outline;
    outline.addRoundedRect(QRectF(margin, margin, 32 * unit, 32 * unit), 4 * unit, 4 * unit);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(box(0, 0, 15, 15).intersected(outline), QColor(0x00, 0x00, 0xFF));
    painter.fillPath(box(17, 0, 15, 15).intersected(outline), QColor(0xFF, 0x00, 0x00));
    painter.fillPath(box(0, 17, 15, 15).intersected(outline), QColor(0x00, 0x80, 0x00));
    painter.fillPath(box(17, 17, 15, 15).intersected(outline), QColor(0xFF, 0xFF, 0x00));
    painter.fillPath(box(15, 0, 2, 32).united(box(0, 15, 32, 2)).intersected(outline), Qt::black);
    painter.restore();
}

QString Name(Id id)
{
    switch (id) {
    case Id::Red: return QStringLiteral("imgRed");
    case Id::Green: return QStringLiteral("imgGreen");
    case Id::Blue: return QStringLiteral("imgBlue");
    case Id::Yellow: return QStringLiteral("imgYellow");
    case Id::Brown: return QStringLiteral("imgBrown");
    case Id::Orange: return QStringLiteral("imgOrange");
    case Id::Black: return QStringLiteral("imgBlack");
    case Id::Grey: return QStringLiteral("imgGrey");
    case Id::White: return QStringLiteral("imgWhite");
    case Id::Purple: return QStringLiteral("imgPurple");
    case Id::Pink: return QStringLiteral("imgPink");
    case Id::Square: return QStringLiteral("imgSquare");
    case Id::Circle: return QStringLiteral("imgCircle");
    case Id::Triangle: return QStringLiteral("imgTriangle");
    case Id::Rectangle: return QStringLiteral("imgRectangle");
    case Id::Oval: return QStringLiteral("imgOval");
    case Id::NumbersButton: return QStringLiteral("cmdNumbers");
    case Id::LettersButton: return QStringLiteral("cmdLetters");
    case Id::ColorsButton: return QStringLiteral("cmdColors");
    case Id::ShapesButton: return QStringLiteral("cmdShapes");
    case Id::Check: return QStringLiteral("picCheck");
    case Id::Shapes: return QStringLiteral("imgShapes");
    case Id::Plus2: return QStringLiteral("imgPlus2");
    case Id::Toddlers: return QStringLiteral("imgToddlers");
    case Id::BackdropIcon: return QStringLiteral("Form1-icon");
    }
    return {};
}

}  // namespace ui::pictures
