#include <QDir>
#include <QTest>

#include "app/form2_fixture.h"

namespace {

bool AnyPixelOf(const QImage& image, const QRect& area, QRgb colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xffffff) == (colour & 0xffffff))
                return true;
    return false;
}

}  // namespace

// The whole main window drawn offscreen, checked at a few landmarks.
class RenderTest : public QObject {
    Q_OBJECT

    QImage Grab(const StartedForm2& f, const char* name)
    {
        QImage shot = f.form->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
        shot.save(QStringLiteral(SCREENSHOT_DIR "/%1.png").arg(QLatin1String(name)));
        return shot;
    }

private slots:
    void startScreenLandmarks()
    {
        StartedForm2 f;
        const QImage shot = Grab(f, "start");
        QCOMPARE(shot.size(), QSize(1126, 715));
        QCOMPARE(QColor(shot.pixel(20, 400)), QColor(Qt::black));                     // margin
        QCOMPARE(QColor(shot.pixel(80, 70)), QColor(0xE0, 0xE0, 0xE0));               // panel
        QCOMPARE(QColor(shot.pixel(454, 506)), QColor(Qt::white));                    // the card
        QCOMPARE(QColor(shot.pixel(950, 14)), QColor(0xFF, 0x00, 0x00));              // Close
        QVERIFY(AnyPixelOf(shot, f.C().Label1->geometry(), qRgb(0x00, 0x80, 0x00)));  // notice
        QVERIFY(AnyPixelOf(shot, f.C().picNumbersCheck->geometry().translated(64, 56), qRgb(0xFC, 0x02, 0x0C)));
        // the deck buttons' faces
        QCOMPARE(QColor(shot.pixel(64 + 115, 56 + 168)), QColor(0x00, 0x80, 0x00));
        QCOMPARE(QColor(shot.pixel(64 + 115, 56 + 278)), QColor(0xC0, 0xFF, 0xFF));
        QCOMPARE(QColor(shot.pixel(64 + 115, 56 + 388)), QColor(0x80, 0x00, 0x80));
        QCOMPARE(QColor(shot.pixel(64 + 115, 56 + 496)), QColor(0xFF, 0xFF, 0xC0));
    }

    void colorCardSitsOnTheCard()
    {
        StartedForm2 f;
        f.ClickOn(f.C().cmdColors);
        f.Spacebar();
        const QImage shot = Grab(f, "red-card");
        const QPoint centre = f.C().imgRed->geometry().center() + QPoint(64, 56);
        QCOMPARE(QColor(shot.pixel(centre)), QColor(0xFF, 0x00, 0x00));
        QCOMPARE(QColor(shot.pixel(64 + 419, 56 + 265 + 70)), QColor(Qt::black));  // its frame
        QVERIFY(!f.C().picNumbersCheck->isVisible());
        QVERIFY(AnyPixelOf(shot, f.C().picColorsCheck->geometry().translated(64, 56), qRgb(0xFC, 0x02, 0x0C)));
    }
};

QTEST_MAIN(RenderTest)
#include "render_test.moc"
