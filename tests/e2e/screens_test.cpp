// The real program on the screen set-up that run_e2e.sh was given through
// E2E_SCREENS: one small screen, or two side by side, with a screen unplugged
// and plugged back in while the program runs. Places in Form2 are the design's
// (harness `at::`), times the scale at which the window came up.

#include "harness.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

using namespace e2e;

namespace {

QRect ScaledRect(QRect r, double s)
{
    return QRect(qRound(r.x() * s), qRound(r.y() * s), qRound(r.width() * s), qRound(r.height() * s));
}
QPoint ScaledPoint(QPoint p, double s) { return QPoint(qRound(p.x() * s), qRound(p.y() * s)); }

// Width of the black ink on the card's face.
int InkWidth(const Form2View& view, double s)
{
    const QImage face = view.Client(ScaledRect(at::kCardFace, s));
    int left = face.width(), right = -1;
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            if (qGray(face.pixel(x, y)) < 80) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return right < left ? 0 : right - left + 1;
}

bool AllBlack(const QImage& image, int step)
{
    for (int y = 0; y < image.height(); y += step)
        for (int x = 0; x < image.width(); x += step)
            if (qGray(image.pixel(x, y)) > 8)
                return false;
    return true;
}

}  // namespace

class Screens : public QObject {
    Q_OBJECT

    Audio audio_;
    Program program_;
    double scale_ = 1;
    QRect primary_;

    bool Tick()
    {
        const QRect mark = ScaledRect(at::kMarkNumbers, scale_);
        return RedTickPixels(program_.View(), mark) > 40 * scale_ * scale_;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(audio_.Start());
        primary_ = QGuiApplication::primaryScreen()->geometry();
        QVERIFY(program_.Start());
        QVERIFY(program_.WaitForWindows(5000));
        auto info = program_.Form2Info();
        QVERIFY(info);
        scale_ = info->geometry.width() / double(at::kForm2Size.width());
        QTRY_VERIFY_WITH_TIMEOUT(Tick(), 8000);
        QVERIFY(audio_.WaitForQuiet(400, 8000));
        Screen::Shot(QStringLiteral("screens-%1").arg(qEnvironmentVariable("E2E_SCREENS")));
    }

    void wholeWindowOnThePrimaryScreen()
    {
        const QRect form2 = program_.Form2Info()->geometry;
        QVERIFY2(primary_.contains(form2), qPrintable(QStringLiteral("Form2 %1,%2 %3x%4")
                                                          .arg(form2.x())
                                                          .arg(form2.y())
                                                          .arg(form2.width())
                                                          .arg(form2.height())));
        QVERIFY(qAbs(form2.center().x() - primary_.center().x()) <= 1);
        QVERIFY(qAbs(form2.center().y() - primary_.center().y()) <= 1);
        const bool fits = primary_.width() >= 1126 && primary_.height() >= 715;
        QCOMPARE(form2.size(), fits ? at::kForm2Size : form2.size());
        if (!fits)
            QVERIFY(form2.width() == primary_.width() || form2.height() == primary_.height());
        // Close's red face.
        QVERIFY(Near(program_.View().Client(ScaledPoint(at::kClose.center(), scale_)), QColor(0xFF, 0, 0)));
    }

    void otherScreensBlackAndClicksComeBack()
    {
        const QList<QScreen*> screens = QGuiApplication::screens();
        if (screens.size() < 2)
            QSKIP("one screen");
        QScreen* second = screens.at(1);
        QVERIFY(AllBlack(second->grabWindow(0).toImage(), 16));
        Input::Click(second->geometry().center());
        QTest::qWait(300);
        QVERIFY(AllBlack(second->grabWindow(0).toImage(), 16));
        QString why;
        QVERIFY2(program_.View().PanelInView(&why), qPrintable(why));
        // The spacebar still plays: the first press shows a card, the second speaks it.
        const int before = InkWidth(program_.View(), scale_);
        Input::Keys({"space"});
        QTRY_VERIFY(InkWidth(program_.View(), scale_) != before);
        const qint64 t = NowMs();
        Input::Keys({"space"});
        QVERIFY(audio_.Heard(t, 2000));
        QVERIFY(audio_.WaitForQuiet(400, 8000));
    }

    void screenUnpluggedAndPluggedIn()
    {
        if (QGuiApplication::screens().size() < 2)
            QSKIP("one screen");
        const QRect second = QGuiApplication::screens().at(1)->geometry();
        const QString geometry = QStringLiteral("%1/300x%2/200+%3+%4")
                                     .arg(second.width())
                                     .arg(second.height())
                                     .arg(second.x())
                                     .arg(second.y());
        QTRY_VERIFY(program_.FindWindow(QStringLiteral("Backdrop"), true) != 0);
        Run(QStringLiteral("xrandr"), {QStringLiteral("--delmonitor"), QStringLiteral("second")});
        QTRY_VERIFY_WITH_TIMEOUT(program_.FindWindow(QStringLiteral("Backdrop")) == 0, 5000);
        QVERIFY(program_.Running());
        Run(QStringLiteral("xrandr"),
            {QStringLiteral("--setmonitor"), QStringLiteral("second"), geometry, QStringLiteral("none")});
        QTRY_VERIFY_WITH_TIMEOUT(program_.FindWindow(QStringLiteral("Backdrop"), true) != 0, 5000);
        QVERIFY(program_.Running());
        QString why;
        QTRY_VERIFY2(program_.View().PanelInView(&why), qPrintable(why));
    }

    // Last: the first press shows 1 (a narrower ink than "1 2 3"), then Close ends it.
    void firstPressThenClose()
    {
        if (QGuiApplication::screens().size() < 2) {
            const int before = InkWidth(program_.View(), scale_);
            Input::Keys({"space"});
            QTRY_VERIFY(InkWidth(program_.View(), scale_) < before / 2);
        }
        program_.ClickClient(ScaledPoint(at::kClose.center(), scale_));
        QVERIFY(program_.WaitForExit(5000));
        QCOMPARE(program_.ExitCode(), 0);
    }

    void cleanupTestCase() { audio_.Stop(); }
};

QTEST_MAIN(Screens)
#include "screens_test.moc"
