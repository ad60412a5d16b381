#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "app/form2_fixture.h"
#include "ui/twips.h"

namespace {

// The screen the platform's configuration gives: smaller than the main window.
constexpr QSize kScreen(1024, 600);
constexpr double kScale = 600.0 / 715.0;

QRect Scaled(QRect design)
{
    return QRect(qRound(design.x() * kScale), qRound(design.y() * kScale), qRound(design.width() * kScale),
                 qRound(design.height() * kScale));
}

}  // namespace

// The main window on a netbook screen: shown whole, scaled down uniformly.
class SmallScreenTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry().size(), kScreen); }

    void wholeWindowOnScreenAndCentred()
    {
        StartedForm2 f;
        QCOMPARE(ui::LayoutScale(), kScale);
        const QRect frame = f.form->frameGeometry();
        QVERIFY2(
            QRect(QPoint(), kScreen).contains(frame),
            qPrintable(
                QStringLiteral("%1,%2 %3x%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())));
        QCOMPARE(f.form->size(), QSize(945, 600));
        QVERIFY(qAbs(frame.center().x() - QRect(QPoint(), kScreen).center().x()) <= 1);
    }

    // Every control where the full-size design has it, times the scale, to
    // the pixel that rounding allows; the card pictures centred on the card.
    void controlsKeepTheirPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("design");  // full-size pixels in its container
        QTest::newRow("cmd1") << "cmd1" << QRect(944, 8, 113, 42);
        QTest::newRow("Frame1") << "Frame1" << QRect(64, 56, 993, 617);
        QTest::newRow("cmdColors") << "cmdColors" << QRect(110, 378, 167, 85);
        QTest::newRow("picNumbersCheck") << "picNumbersCheck" << QRect(280, 160, 67, 50);
        QTest::newRow("shpFlash") << "shpFlash" << QRect(376, 144, 275, 381);
        QTest::newRow("lblPress") << "lblPress" << QRect(376, 136, 281, 399);
        QTest::newRow("imgRed") << "imgRed" << QRect(419, 265, 189, 139);
        QTest::newRow("ListSound") << "ListSound" << QRect(8, 20, 141, 36);
    }
    void controlsKeepTheirPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, design);
        StartedForm2 f;
        const QWidget* control = f.Find(name.toLatin1().constData());
        QVERIFY(control);
        const QRect want = Scaled(design);
        const QRect got = control->geometry();
        const auto near = [](int a, int b) { return qAbs(a - b) <= 1; };
        QVERIFY2(near(got.x(), want.x()) && near(got.y(), want.y()) && near(got.width(), want.width())
                     && near(got.height(), want.height()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4, want %5,%6 %7x%8")
                                .arg(got.x())
                                .arg(got.y())
                                .arg(got.width())
                                .arg(got.height())
                                .arg(want.x())
                                .arg(want.y())
                                .arg(want.width())
                                .arg(want.height())));
    }

    // Clicks through the window at the places the child sees: the card, a
    // deck button, then Close.
    void clicksLandWhereTheyShow()
    {
        StartedForm2 f;
        const QPoint panel = Scaled(QRect(64, 56, 0, 0)).topLeft();
        f.ClickAt(panel + Scaled(QRect(513, 450, 0, 0)).topLeft());
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("1"));
        f.ClickAt(panel + Scaled(QRect(190, 420, 0, 0)).topLeft());
        QCOMPARE(f.State().cycle.category, engine::Deck::Colors);
        f.Spacebar();
        QVERIFY(f.C().imgRed->isVisible());
        QVERIFY(qAbs(f.C().imgRed->geometry().center().x() - f.C().shpFlash->geometry().center().x()) <= 1);
        QVERIFY(qAbs(f.C().imgRed->geometry().center().y() - f.C().shpFlash->geometry().center().y()) <= 1);
        QSignalSpy closed(f.C().cmd1, &ui::CommandButton::Click);
        f.ClickAt(Scaled(QRect(1000, 29, 0, 0)).topLeft());
        QCOMPARE(closed.count(), 1);
        QVERIFY(!f.form || !f.form->IsLoaded());
    }
};

QTEST_MAIN(SmallScreenTest)
#include "small_screen_test.moc"
