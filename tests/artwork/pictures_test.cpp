#include "ui/pictures.h"

#include <QPainter>
#include <QTest>

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

using ui::pictures::Id;

Q_DECLARE_METATYPE(Id)

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kShapeBlue = 0xFF004080;

using Test = std::function<bool(QRgb)>;

// Straight alpha, so that colours read the same at every opacity.
QImage Picture(Id id) { return ui::pictures::Draw(id).convertToFormat(QImage::Format_ARGB32); }

QRect Bounds(const QImage& image, const Test& hit, const QRect& within)
{
    QRect box;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (hit(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

QRect Bounds(const QImage& image, const Test& hit) { return Bounds(image, hit, image.rect()); }

int Count(const QImage& image, const Test& hit)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += hit(image.pixel(x, y)) ? 1 : 0;
    return n;
}

// The separate pieces of ink, left to right, diagonal neighbours counting as
// touching.
std::vector<QRect> Pieces(const QImage& image, const Test& hit)
{
    const int w = image.width(), h = image.height();
    std::vector<char> seen(size_t(w * h), 0);
    std::vector<QRect> pieces;
    for (int x0 = 0; x0 < w; ++x0) {
        for (int y0 = 0; y0 < h; ++y0) {
            if (seen[size_t(y0 * w + x0)] || !hit(image.pixel(x0, y0)))
                continue;
            QRect box;
            std::vector<QPoint> todo{{x0, y0}};
            seen[size_t(y0 * w + x0)] = 1;
            while (!todo.empty()) {
                const QPoint p = todo.back();
                todo.pop_back();
                box |= QRect(p, QSize(1, 1));
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int x = p.x() + dx, y = p.y() + dy;
                        if (x < 0 || y < 0 || x >= w || y >= h || seen[size_t(y * w + x)] || !hit(image.pixel(x, y)))
                            continue;
                        seen[size_t(y * w + x)] = 1;
                        todo.push_back({x, y});
                    }
            }
            pieces.push_back(box);
        }
    }
    return pieces;
}

bool Opaque(QRgb c) { return qAlpha(c) == 255; }
bool Inked(QRgb c) { return qAlpha(c) > 0; }
bool NotWhite(QRgb c) { return c != kWhite; }
bool MostlyDark(QRgb c) { return Opaque(c) && std::max({qRed(c), qGreen(c), qBlue(c)}) < 100; }

QString Hex(QRgb c) { return QString::number(c, 16); }

struct Row {
    Id id;
    const char* name;
    QSize size;
};

constexpr QSize kCard(189, 139);
const std::array<Row, ui::pictures::kCount> kAll{{
    {Id::Red, "imgRed", kCard},
    {Id::Green, "imgGreen", kCard},
    {Id::Blue, "imgBlue", kCard},
    {Id::Yellow, "imgYellow", kCard},
    {Id::Brown, "imgBrown", kCard},
    {Id::Orange, "imgOrange", kCard},
    {Id::Black, "imgBlack", kCard},
    {Id::Grey, "imgGrey", kCard},
    {Id::White, "imgWhite", kCard},
    {Id::Purple, "imgPurple", kCard},
    {Id::Pink, "imgPink", kCard},
    {Id::Square, "imgSquare", kCard},
    {Id::Circle, "imgCircle", kCard},
    {Id::Triangle, "imgTriangle", kCard},
    {Id::Rectangle, "imgRectangle", kCard},
    {Id::Oval, "imgOval", kCard},
    {Id::NumbersButton, "cmdNumbers", {73, 51}},
    {Id::LettersButton, "cmdLetters", {73, 51}},
    {Id::ColorsButton, "cmdColors", {32, 32}},
    {Id::ShapesButton, "cmdShapes", {75, 23}},
    {Id::Check, "picCheck", {67, 50}},
    {Id::Shapes, "imgShapes", {176, 61}},
    {Id::Plus2, "imgPlus2", {32, 32}},
    {Id::Toddlers, "imgToddlers", {90, 36}},
    {Id::BackdropIcon, "Form1-icon", {32, 32}},
}};

const std::array<Id, 11> kColorCards{Id::Red,   Id::Green, Id::Blue,  Id::Yellow, Id::Brown, Id::Orange,
                                     Id::Black, Id::Grey,  Id::White, Id::Purple, Id::Pink};

}  // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void sizeAndName_data()
    {
        QTest::addColumn<Id>("id");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        for (const Row& r : kAll)
            QTest::newRow(r.name) << r.id << QString::fromLatin1(r.name) << r.size;
    }
    void sizeAndName()
    {
        QFETCH(Id, id);
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QImage image = ui::pictures::Draw(id);
        QCOMPARE(image.size(), size);
        QVERIFY(image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(ui::pictures::Name(id), name);
    }

    // The same vector drawing for a denser screen: at ratio 1 the very picture,
    // at 2 twice the pixels in each direction, painting at the picture's size.
    // (Its sharpness on the screen is the window's rendering test.)
    void atTwiceTheDensity_data() { sizeAndName_data(); }
    void atTwiceTheDensity()
    {
        QFETCH(Id, id);
        QFETCH(QSize, size);
        QCOMPARE(ui::pictures::Draw(id, 1.0), ui::pictures::Draw(id));
        const QImage dense = ui::pictures::Draw(id, 2.0);
        QCOMPARE(dense.size(), size * 2);
        QCOMPARE(dense.devicePixelRatio(), 2.0);
        QCOMPARE(dense.deviceIndependentSize(), QSizeF(size));

        // Drawn smaller for a window scaled down, the whole picture shrinks:
        // close to the ordinary one resampled, not cut off at its edges.
        const QImage small = ui::pictures::Draw(id, 0.5).convertToFormat(QImage::Format_ARGB32);
        const QSize half((size.width() + 1) / 2, (size.height() + 1) / 2);
        QVERIFY(qAbs(small.width() - half.width()) <= 1 && qAbs(small.height() - half.height()) <= 1);
        const QImage resampled = ui::pictures::Draw(id)
                                     .scaled(small.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                     .convertToFormat(QImage::Format_ARGB32);
        qint64 difference = 0;
        for (int y = 0; y < small.height(); ++y)
            for (int x = 0; x < small.width(); ++x) {
                const QRgb a = small.pixel(x, y), b = resampled.pixel(x, y);
                difference += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b))
                              + qAbs(qAlpha(a) - qAlpha(b));
            }
        const double mean = double(difference) / (small.width() * small.height() * 4);
        QVERIFY2(mean < 24, qPrintable(QString::number(mean)));
    }

    void colorCard_data()
    {
        QTest::addColumn<Id>("id");
        QTest::addColumn<QRgb>("blob");
        QTest::addColumn<int>("fewestDark");  // dark pixels from the centre to each side
        QTest::addColumn<int>("mostDark");
        QTest::newRow("red") << Id::Red << QRgb(0xFFFF0000) << 0 << 0;
        QTest::newRow("green") << Id::Green << QRgb(0xFF008000) << 0 << 0;
        QTest::newRow("blue") << Id::Blue << QRgb(0xFF0000FF) << 0 << 0;
        QTest::newRow("yellow") << Id::Yellow << QRgb(0xFFFFFF00) << 2 << 3;
        QTest::newRow("brown") << Id::Brown << QRgb(0xFF804000) << 0 << 0;
        QTest::newRow("orange") << Id::Orange << QRgb(0xFFFF5706) << 0 << 0;
        QTest::newRow("black") << Id::Black << QRgb(0xFF000000) << 45 << 80;
        QTest::newRow("grey") << Id::Grey << QRgb(0xFF808080) << 0 << 0;
        QTest::newRow("white") << Id::White << QRgb(0xFFFFFFFF) << 2 << 3;
        QTest::newRow("purple") << Id::Purple << QRgb(0xFF8000FF) << 0 << 0;
        QTest::newRow("pink") << Id::Pink << QRgb(0xFFFFB3D9) << 2 << 3;
    }
    void colorCard()
    {
        QFETCH(Id, id);
        QFETCH(QRgb, blob);
        QFETCH(int, fewestDark);
        QFETCH(int, mostDark);
        const QImage card = Picture(id);
        const QPoint centre(94, 69);
        for (const QPoint p : {centre, QPoint(45, 40), QPoint(145, 100), QPoint(145, 40), QPoint(45, 100)})
            QCOMPARE(Hex(card.pixel(p)), Hex(blob));

        // The frame: 3 pixels left, right and bottom, 2 at the top, and not one more.
        for (int y = 0; y < card.height(); ++y)
            for (int x = 0; x < card.width(); ++x) {
                const bool frame = x <= 2 || x >= 186 || y <= 1 || y >= 136;
                const bool justInside = !frame && (x == 3 || x == 185 || y == 2 || y == 135);
                if (frame)
                    QVERIFY2(card.pixel(x, y) == kBlack, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                else if (justInside)
                    QVERIFY2(card.pixel(x, y) == kWhite, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        for (const QPoint p : {QPoint(8, 8), QPoint(180, 8), QPoint(8, 130), QPoint(180, 130)})
            QCOMPARE(Hex(card.pixel(p)), Hex(kWhite));

        // The outline, walking out from the centre to the frame on four sides.
        const std::array<QPoint, 4> steps{QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)};
        for (const QPoint step : steps) {
            int dark = 0;
            for (QPoint p = centre; p.x() > 3 && p.x() < 185 && p.y() > 2 && p.y() < 135; p += step)
                dark += MostlyDark(card.pixel(p)) ? 1 : 0;
            QVERIFY2(dark >= fewestDark && dark <= mostDark,
                     qPrintable(QStringLiteral("%1 dark pixels towards %2,%3").arg(dark).arg(step.x()).arg(step.y())));
        }
    }

    void colorCardsShareOneBlob()
    {
        const QRect inside(3, 2, 183, 134);
        const QImage red = Picture(Id::Red);
        const QRect blob = Bounds(red, NotWhite, inside);
        QVERIFY(std::abs(blob.left() - 18) <= 1 && std::abs(blob.top() - 15) <= 1);
        QVERIFY(std::abs(blob.width() - 154) <= 2 && std::abs(blob.height() - 108) <= 2);

        // How much of a pixel the blob covers, judged by its outermost colour over
        // the white ground; rounding alone may part two cards by a hair.
        const auto coverage = [](QRgb c, QRgb outer) {
            double most = 0;
            using Channel = int (*)(QRgb);
            for (const Channel channel : std::array<Channel, 3>{qRed, qGreen, qBlue}) {
                const int room = 255 - channel(outer);
                if (room >= 64)
                    most = std::max(most, (255 - channel(c)) / double(room));
            }
            return most;
        };
        const std::array<std::pair<Id, QRgb>, 10> others{{
            {Id::Green, 0xFF008000},
            {Id::Blue, 0xFF0000FF},
            {Id::Yellow, kBlack},
            {Id::Brown, 0xFF804000},
            {Id::Orange, 0xFFFF5706},
            {Id::Black, kBlack},
            {Id::Grey, 0xFF808080},
            {Id::White, kBlack},
            {Id::Purple, 0xFF8000FF},
            {Id::Pink, kBlack},
        }};
        for (const auto& [id, outer] : others) {
            const QImage card = Picture(id);
            for (int y = inside.top(); y <= inside.bottom(); ++y)
                for (int x = inside.left(); x <= inside.right(); ++x) {
                    const double want = coverage(red.pixel(x, y), 0xFFFF0000);
                    if (want == 1 && id == Id::White)
                        continue;
                    const QRgb c = card.pixel(x, y);
                    const double got = want == 1 ? double(NotWhite(c)) : coverage(c, outer);
                    QVERIFY2(std::abs(got - want) < 0.03, qPrintable(QStringLiteral("%1 at %2,%3: %4 against %5")
                                                                         .arg(ui::pictures::Name(id))
                                                                         .arg(x)
                                                                         .arg(y)
                                                                         .arg(got)
                                                                         .arg(want)));
                }
        }
    }

    void shapeCard_data()
    {
        QTest::addColumn<Id>("id");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<bool>("fillsItsCorners");
        QTest::newRow("square") << Id::Square << QRect(50, 21, 89, 97) << true;
        QTest::newRow("circle") << Id::Circle << QRect(36, 6, 110, 124) << false;
        QTest::newRow("triangle") << Id::Triangle << QRect(11, 16, 164, 106) << false;
        QTest::newRow("rectangle") << Id::Rectangle << QRect(10, 17, 165, 106) << true;
        QTest::newRow("oval") << Id::Oval << QRect(13, 20, 155, 92) << false;
    }
    void shapeCard()
    {
        QFETCH(Id, id);
        QFETCH(QRect, box);
        QFETCH(bool, fillsItsCorners);
        const QImage card = Picture(id);
        QCOMPARE(Bounds(card, NotWhite), box);
        QCOMPARE(Hex(card.pixel(box.center())), Hex(kShapeBlue));
        const QRgb inTopCorners = fillsItsCorners ? kShapeBlue : kWhite;
        QCOMPARE(Hex(card.pixel(box.left() + 3, box.top() + 3)), Hex(inTopCorners));
        QCOMPARE(Hex(card.pixel(box.right() - 3, box.top() + 3)), Hex(inTopCorners));
        // Every pixel is the figure, the ground or an edge blend of the two.
        for (int y = 0; y < card.height(); ++y)
            for (int x = 0; x < card.width(); ++x) {
                const QRgb c = card.pixel(x, y);
                QVERIFY(Opaque(c) && qRed(c) <= qGreen(c) && qGreen(c) <= qBlue(c) && qGreen(c) >= 0x40
                        && qBlue(c) >= 0x80);
            }
    }

    void fourSquares_data()
    {
        QTest::addColumn<Id>("id");
        QTest::addColumn<QRgb>("topLeft");
        QTest::addColumn<QRgb>("topRight");
        QTest::addColumn<QRgb>("bottomLeft");
        QTest::addColumn<QRgb>("bottomRight");
        QTest::addColumn<int>("crossWidth");
        QTest::newRow("cmdColors") << Id::ColorsButton << QRgb(0xFF00FFFF) << QRgb(0xFF008080) << QRgb(0xFFFF0000)
                                   << QRgb(0xFFFFFF00) << 3;
        QTest::newRow("imgPlus2") << Id::Plus2 << QRgb(0xFF00FFFF) << QRgb(0xFF008080) << QRgb(0xFFFF0000)
                                  << QRgb(0xFFFFFF00) << 3;
        QTest::newRow("Form1 icon") << Id::BackdropIcon << QRgb(0xFF0000FF) << QRgb(0xFFFF0000) << QRgb(0xFF008000)
                                    << QRgb(0xFFFFFF00) << 2;
    }
    void fourSquares()
    {
        QFETCH(Id, id);
        QFETCH(QRgb, topLeft);
        QFETCH(QRgb, topRight);
        QFETCH(QRgb, bottomLeft);
        QFETCH(QRgb, bottomRight);
        QFETCH(int, crossWidth);
        const QImage image = Picture(id);

        // The cross: the rows and columns that are black from edge to edge.
        std::vector<int> rows, columns;
        for (int i = 0; i < 32; ++i) {
            bool row = true, column = true;
            for (int j = 0; j < 32; ++j) {
                row = row && image.pixel(j, i) == kBlack;
                column = column && image.pixel(i, j) == kBlack;
            }
            if (row)
                rows.push_back(i);
            if (column)
                columns.push_back(i);
        }
        for (const auto& band : {rows, columns}) {
            QCOMPARE(int(band.size()), crossWidth);
            QCOMPARE(band.back() - band.front() + 1, crossWidth);
            QVERIFY(std::abs(band.front() + band.back() - 31) <= 1);
        }
        const int before = columns.front(), after = columns.back();
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                if ((x >= before && x <= after) || (y >= rows.front() && y <= rows.back()))
                    continue;
                const QRgb want =
                    y < rows.front() ? (x < before ? topLeft : topRight) : (x < before ? bottomLeft : bottomRight);
                QVERIFY2(image.pixel(x, y) == want, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
    }

    void appIcon_data()
    {
        QTest::addColumn<int>("side");
        for (int side : {48, 64, 128, 256})
            QTest::addRow("%d px", side) << side;
    }
    // The menu icon is the backdrop icon scaled up: every inner pixel of the
    // 32-pixel picture shows in the same colour at its place in the big one.
    void appIcon()
    {
        QFETCH(int, side);
        QImage icon(side, side, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        {
            QPainter painter(&icon);
            ui::pictures::PaintAppIcon(painter, side);
        }
        const QImage small = Picture(Id::BackdropIcon);
        const double margin = side / 16.0, unit = (side - 2 * margin) / 32;
        int compared = 0;
        for (int y = 1; y < 31; ++y)
            for (int x = 1; x < 31; ++x) {
                const bool corner = (x < 4 || x > 27) && (y < 4 || y > 27);
                bool inner = !corner;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        inner = inner && small.pixel(x + dx, y + dy) == small.pixel(x, y);
                if (!inner)
                    continue;
                const QPoint at(int(margin + (x + 0.5) * unit), int(margin + (y + 0.5) * unit));
                QVERIFY2(icon.pixel(at) == small.pixel(x, y),
                         qPrintable(QStringLiteral("%1,%2 is %3").arg(at.x()).arg(at.y()).arg(icon.pixel(at), 8, 16)));
                ++compared;
            }
        QVERIFY(compared > 500);
        // Transparent round it and in its rounded corners.
        for (int i = 0; i < side; ++i)
            for (QPoint edge : {QPoint(i, 0), QPoint(0, i), QPoint(i, side - 1), QPoint(side - 1, i)})
                QCOMPARE(qAlpha(icon.pixel(edge)), 0);
        const int in = int(margin + unit / 2);
        for (QPoint corner : {QPoint(in, in), QPoint(side - 1 - in, in), QPoint(in, side - 1 - in),
                              QPoint(side - 1 - in, side - 1 - in)})
            QVERIFY(qAlpha(icon.pixel(corner)) < 128);
    }

    void plus2IsTheColorsButtonPicture() { QCOMPARE(Picture(Id::Plus2), Picture(Id::ColorsButton)); }

    void lettering_data()
    {
        QTest::addColumn<Id>("id");
        QTest::addColumn<QRect>("inkBox");
        QTest::newRow("1, 2, 3") << Id::NumbersButton << QRect(QPoint(13, 22), QPoint(56, 41));
        QTest::newRow("A, B, C") << Id::LettersButton << QRect(QPoint(7, 24), QPoint(58, 43));
    }
    void lettering()
    {
        QFETCH(Id, id);
        QFETCH(QRect, inkBox);
        const QImage image = Picture(id);
        const auto solid = [](QRgb c) { return qAlpha(c) >= 128; };
        QCOMPARE(Bounds(image, Inked) | inkBox, inkBox);
        QCOMPARE(Bounds(image, solid), inkBox);
        QCOMPARE(Count(image, [](QRgb c) { return Inked(c) && (c & 0xFFFFFF) != 0; }), 0);
        QVERIFY(Count(image, [](QRgb c) { return c == kBlack; }) > 60);
        // Three characters and the two commas between them.
        QCOMPARE(int(Pieces(image, solid).size()), 5);
    }

    void stem_data()
    {
        QTest::addColumn<Id>("id");
        QTest::addColumn<int>("piece");
        QTest::addColumn<bool>("leftEdge");
        QTest::addColumn<double>("leastSlope");  // pixels to the right per pixel up
        QTest::addColumn<double>("mostSlope");
        QTest::newRow("the 1 stands upright") << Id::NumbersButton << 0 << false << -0.05 << 0.05;
        QTest::newRow("the B leans right") << Id::LettersButton << 2 << true << 0.12 << 0.3;
    }
    void stem()
    {
        QFETCH(Id, id);
        QFETCH(int, piece);
        QFETCH(bool, leftEdge);
        QFETCH(double, leastSlope);
        QFETCH(double, mostSlope);
        const QImage image = Picture(id);
        const QRect box = Pieces(image, [](QRgb c) { return qAlpha(c) >= 128; }).at(size_t(piece));
        // The edge to a fraction of a pixel: the last solid pixel plus the
        // coverage of the fringe beyond it.
        const auto edge = [&](int y) {
            const int step = leftEdge ? 1 : -1;
            int x = leftEdge ? box.left() : box.right();
            double fringe = 0;
            for (; qAlpha(image.pixel(x, y)) < 255; x += step)
                fringe += qAlpha(image.pixel(x, y)) / 255.0;
            return leftEdge ? x - fringe : x + 1 + fringe;
        };
        const int top = box.top() + 2, bottom = box.bottom() - 3;
        const double slope = (edge(top) - edge(bottom)) / (bottom - top);
        QVERIFY2(slope >= leastSlope && slope <= mostSlope, qPrintable(QString::number(slope)));
    }

    void threeShapes_data()
    {
        QTest::addColumn<Id>("id");
        QTest::addColumn<QRgb>("ground");
        QTest::addColumn<QList<QSize>>("sizes");
        QTest::addColumn<QList<QRgb>>("colours");
        QTest::newRow("cmdShapes") << Id::ShapesButton << QRgb(0) << QList<QSize>{{25, 17}, {20, 21}, {23, 22}}
                                   << QList<QRgb>{0xFF000080, 0xFF800000, 0xFF008000};
        QTest::newRow("imgShapes") << Id::Shapes << kWhite << QList<QSize>{{61, 43}, {52, 61}, {50, 59}}
                                   << QList<QRgb>{0xFF004080, 0xFF800000, 0xFF008000};
    }
    void threeShapes()
    {
        QFETCH(Id, id);
        QFETCH(QRgb, ground);
        QFETCH(QList<QSize>, sizes);
        QFETCH(QList<QRgb>, colours);
        const QImage image = Picture(id);
        const Test figure = [ground](QRgb c) { return c != ground; };

        // Left to right, separated by columns of bare ground.
        std::vector<QRect> boxes;
        bool inFigure = false;
        for (int x = 0; x < image.width(); ++x) {
            const QRect column = Bounds(image, figure, QRect(x, 0, 1, image.height()));
            if (column.isNull()) {
                inFigure = false;
                continue;
            }
            if (!inFigure)
                boxes.push_back(column);
            boxes.back() |= column;
            inFigure = true;
        }
        QCOMPARE(int(boxes.size()), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(boxes[size_t(i)].size(), sizes[i]);
            QCOMPARE(Hex(image.pixel(boxes[size_t(i)].center())), Hex(colours[i]));
        }
        const QRect block = boxes[0], round = boxes[1], triangle = boxes[2];
        QCOMPARE(Count(image, [&](QRgb c) { return c == colours[0]; }), block.width() * block.height());
        for (const QPoint corner : {round.topLeft(), round.topRight(), round.bottomLeft(), round.bottomRight()})
            QCOMPARE(Hex(image.pixel(corner)), Hex(ground));
        const auto widthAt = [&](int y) {
            return Bounds(image, figure, QRect(triangle.left(), y, triangle.width(), 1)).width();
        };
        QVERIFY(widthAt(triangle.top()) <= 3);
        QVERIFY(widthAt(triangle.bottom()) >= triangle.width() - 1);
    }

    void checkMark()
    {
        const QImage tick = Picture(Id::Check);
        const int w = tick.width(), h = tick.height();
        for (const QPoint corner : {QPoint(0, 0), QPoint(w - 3, 0), QPoint(0, h - 3), QPoint(w - 3, h - 3)})
            QVERIFY(Bounds(tick, Inked, QRect(corner, QSize(3, 3))).isNull());

        constexpr QRgb kRed = 0xFFFC020C;
        QVERIFY(Count(tick, [](QRgb c) { return c == kRed; }) > 150);
        QVERIFY(Count(tick,
                      [](QRgb c) {
                          return qAlpha(c) >= 128 && std::max({qRed(c), qGreen(c), qBlue(c)}) < 0x40;
                      })
                > 40);
        QVERIFY(Count(tick,
                      [](QRgb c) {
                          return Opaque(c) && qRed(c) >= 0x70 && qRed(c) <= 0xE0 && qGreen(c) < 0x20 && qBlue(c) < 0x20;
                      })
                > 50);
        // The bright red never meets the background: an edge always lies between.
        for (int y = 1; y < h - 1; ++y)
            for (int x = 1; x < w - 1; ++x)
                if (tick.pixel(x, y) == kRed)
                    for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
                        QVERIFY(Opaque(tick.pixel(QPoint(x, y) + d)));

        // A short stroke down to the vertex, a long one up to the top right.
        const QRect ink = Bounds(tick, Inked);
        const QRect lowest = Bounds(tick, Inked, QRect(0, ink.bottom(), w, 1));
        const QRect highest = Bounds(tick, Inked, QRect(0, ink.top(), w, 1));
        const QRect leftmost = Bounds(tick, Inked, QRect(ink.left(), 0, 1, h));
        const QPointF vertex = QRectF(lowest).center();
        QVERIFY(highest.left() > w * 3 / 4);
        QVERIFY(vertex.x() < w / 2.0 && vertex.x() > leftmost.left() + 8);
        QVERIFY(leftmost.center().y() < vertex.y() - 10);
        const QPointF toTip = QRectF(highest).center() - vertex;
        const QPointF toStart = QRectF(leftmost).center() - vertex;
        QVERIFY(std::hypot(toTip.x(), toTip.y()) > 1.6 * std::hypot(toStart.x(), toStart.y()));
    }

    void toddlers()
    {
        const QImage word = Picture(Id::Toddlers);
        const int w = word.width(), h = word.height();
        QVERIFY(Bounds(word, Inked, QRect(0, 0, 8, 8)).isNull());
        QVERIFY(Bounds(word, Inked, QRect(w - 8, h - 8, 8, 8)).isNull());
        // One ink; where the edge is faint its colour is only as exact as its alpha allows.
        QCOMPARE(Count(word,
                       [](QRgb c) {
                           return Inked(c) && (std::max({qRed(c), qGreen(c), qBlue(c)}) > 0x10 || qRed(c) < qGreen(c));
                       }),
                 0);
        QCOMPARE(Count(word,
                       [](QRgb c) {
                           return qAlpha(c) >= 128
                                  && (std::abs(qRed(c) - 4) > 1 || std::abs(qGreen(c) - 2) > 1
                                      || std::abs(qBlue(c) - 4) > 1);
                       }),
                 0);
        QVERIFY(Count(word, [](QRgb c) { return c == 0xFF040204; }) > 150);

        // The caret stands alone at the lower left, below the start of the word.
        const QRect caret = Bounds(word, Inked, QRect(0, 0, 8, h));
        QVERIFY(!caret.isNull() && caret.top() > h / 2);

        // The baseline climbs: the word's lowest ink sits higher at the right.
        const int leftFoot = Bounds(word, Inked, QRect(16, 0, 25, h)).bottom();
        const int rightFoot = Bounds(word, Inked, QRect(65, 0, 25, h)).bottom();
        QVERIFY2(leftFoot - rightFoot >= 4, qPrintable(QStringLiteral("%1 %2").arg(leftFoot).arg(rightFoot)));
    }
};

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
