#include <QScreen>
#include <QTest>

#include "app/form2_fixture.h"

namespace {

// Pixels of a drawing that are neither its ground nor one of its solid inks:
// the anti-aliased rim of every edge. A sharp drawing at twice the density has
// edges twice as long and as thin as before, so about twice as many; a drawing
// scaled up from the ordinary one has edges two pixels wide, four times as many.
int RimPixels(const QImage& image, const QList<QRgb>& solid)
{
    int rim = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!solid.contains(image.pixel(x, y) | 0xff000000))
                ++rim;
    return rim;
}

// The window's pixels where the control is, with whatever shows through it.
QImage GrabOf(QWidget* control)
{
    QWidget* window = control->window();
    const QRect area(control->mapTo(window, QPoint()), control->size());
    return window->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

// The main window on an ordinary screen and on one of twice the pixel density
// beside it, as the offscreen platform's configuration sets them up.
class HiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void sharpOnADenseScreen_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QList<QRgb>>("solid");
        QTest::newRow("check mark") << "picNumbersCheck"
                                    << QList<QRgb>{qRgb(0xE0, 0xE0, 0xE0), qRgb(0x1E, 0x04, 0x04),
                                                   qRgb(0x8E, 0x02, 0x08), qRgb(0xC4, 0x02, 0x0A),
                                                   qRgb(0xFC, 0x02, 0x0C)};
        QTest::newRow("card text") << "lblNumberLetter" << QList<QRgb>{qRgb(0xFF, 0xFF, 0xFF), qRgb(0, 0, 0)};
    }

    void sharpOnADenseScreen()
    {
        QFETCH(QString, control);
        QFETCH(QList<QRgb>, solid);
        QCOMPARE(QGuiApplication::screens().size(), 2);
        QScreen* dense = QGuiApplication::screens().at(1);
        QCOMPARE(dense->devicePixelRatio(), 2.0);

        StartedForm2 f;
        QTRY_VERIFY(f.C().picNumbersCheck->isVisible());
        auto* shown = f.Find(control.toLatin1().constData());
        QVERIFY(shown);
        QCOMPARE(f.form->devicePixelRatioF(), 1.0);
        const QImage ordinary = GrabOf(shown);

        f.form->windowHandle()->setScreen(dense);
        f.form->move(dense->geometry().center() - f.form->rect().center());
        QTRY_COMPARE(f.form->devicePixelRatioF(), 2.0);
        QCOMPARE(f.form->size(), QSize(1126, 715));  // the design size, in the screen's logical pixels
        const QImage sharp = GrabOf(shown);
        QCOMPARE(sharp.size(), ordinary.size() * 2);

        const int before = RimPixels(ordinary, solid);
        const int after = RimPixels(sharp, solid);
        QVERIFY2(before > 20, qPrintable(QString::number(before)));
        QVERIFY2(after > before * 3 / 2 && after < before * 3,
                 qPrintable(QStringLiteral("rim %1 device pixels at ratio 2, %2 at ratio 1").arg(after).arg(before)));
    }
};

QTEST_MAIN(HiDpiTest)
#include "hidpi_test.moc"
