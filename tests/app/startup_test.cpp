#include <QSignalSpy>
#include <QTest>

#include "app/form1.h"
#include "app/form2_fixture.h"
#include "ui/application.h"

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void startsWithTheStartValuesAndSaysOnlyTheGreeting()
    {
        StartedForm2 f;
        const engine::PlayState& s = f.State();
        QCOMPARE(s.cycle.category, engine::Deck::Numbers);
        QCOMPARE(s.cycle.pressState, engine::Press::Reveal);
        QCOMPARE(s.decks.currentNumber, 1);
        QCOMPARE(s.settings.maxNumber.value, 10);
        QVERIFY(s.settings.sound);
        QVERIFY(!s.settings.randomOrder);
        QCOMPARE(s.settings.letterCase, engine::LetterCase::Upper);
        for (bool flag : {s.timer.skipTimerClick, s.settings.skipMaxNumClick, s.settings.skipOrderClick,
                          s.settings.skipCaseClick, s.settings.skipSoundClick})
            QVERIFY(!flag);
        for (int counter : {s.decks.colorIndex, s.decks.shapeIndex, s.decks.letterIndex, s.decks.lastColorIndex,
                            s.decks.lastShapeIndex, s.decks.lastLetterIndex, s.decks.lastNumber})
            QCOMPARE(counter, 0);
        for (const std::string* text :
             {&s.card.colorName, &s.card.shapeName, &s.decks.letterText, &s.timer.timerSeconds, &s.settings.childName})
            QVERIFY(text->empty());
        QVERIFY(s.voice != nullptr);
        QCOMPARE(f.Spoken(), QStringList{"quibbet, toddlers"});
    }

    void showsTheStartScreen()
    {
        StartedForm2 f;
        const ui::Form2Controls& c = f.C();
        QCOMPARE(c.lblNumberLetter->Caption(), QStringLiteral("1 2 3"));
        QCOMPARE(c.lblVersion->Caption(), QStringLiteral("v2.0"));
        QVERIFY(c.lblNumberLetter->isVisible());
        QVERIFY(c.picNumbersCheck->isVisible());
        QVERIFY(!c.picLettersCheck->isVisible());
        QVERIFY(!c.picShapesCheck->isVisible());
        QVERIFY(!c.picColorsCheck->isVisible());
        QVERIFY(!c.lblBottom->isVisible());
        QCOMPARE(c.comboSetTimer->currentText(), QStringLiteral("off"));
        QCOMPARE(c.comboSetMaxNum->currentText(), QStringLiteral("10"));
        QCOMPARE(c.ListOrder->ListIndex(), 0);
        QCOMPARE(c.ListUpper->ListIndex(), 1);
        QCOMPARE(c.ListSound->ListIndex(), 0);
        QVERIFY(!c.Timer1->IsTicking());
        QCOMPARE(c.Text1->Text(), QStringLiteral("your name"));
        QTRY_COMPARE(QApplication::focusWidget(), c.cmdNumbersx);
        for (ui::Image* card : c.ColorImages())
            QVERIFY(!card->isVisible());
        for (ui::Image* card : c.ShapeImages())
            QVERIFY(!card->isVisible());
    }

    void windowIsBlackBorderlessCentredAndKeptAbove()
    {
        StartedForm2 f;
        QCOMPARE(f.form->size(), QSize(1126, 715));
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Form2"));
        QVERIFY(f.form->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(f.form->windowFlags() & Qt::WindowStaysOnTopHint);
        const QRect screen = f.form->screen()->geometry();
        QVERIFY(qAbs(f.form->geometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(f.form->geometry().center().y() - screen.center().y()) <= 1);
        QCOMPARE(f.form->palette().color(QPalette::Window), QColor(Qt::black));
    }

    void everyControlIsThereByName()
    {
        StartedForm2 f;
        const QStringList names = {
            "cmd1",           "Frame1",         "cmdNumbersx",    "cmdLettersx",     "cmdColorsx",   "cmdShapesx",
            "Label1",         "cmdNumbers",     "cmdColors",      "cmdLetters",      "cmdShapes",    "FrameOrder",
            "ListOrder",      "FrameLetters",   "ListUpper",      "FrameSound",      "ListSound",    "FrameSetMax",
            "comboSetMaxNum", "FrameSetTimer",  "comboSetTimer",  "picNumbersCheck", "Text1",        "Timer1",
            "cmdSetName",     "picShapesCheck", "picColorsCheck", "picLettersCheck", "lblTop",       "lblBottom",
            "lblPress",       "imgSquare",      "imgCircle",      "imgTriangle",     "imgRectangle", "imgOval",
            "lblTitle",       "lblBrix2",       "lblVersion",     "imgPlus2",        "imgShapes",    "imgRed",
            "imgGreen",       "imgBlue",        "imgYellow",      "imgBrown",        "imgOrange",    "imgBlack",
            "imgWhite",       "imgPurple",      "imgPink",        "imgGrey",         "imgToddlers",  "lblNumberLetter",
            "shpFlash"};
        QCOMPARE(names.size(), 55);
        for (const QString& name : names)
            QVERIFY2(f.form->findChild<QObject*>(name), qPrintable(name));
    }

    void controlsStandAtTheirPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("cmd1") << "cmd1" << QRect(944, 8, 113, 42);
        QTest::newRow("Frame1") << "Frame1" << QRect(64, 56, 993, 617);
        QTest::newRow("cmdNumbersx") << "cmdNumbersx" << QRect(648, 248, 83, 35);
        QTest::newRow("cmdShapesx") << "cmdShapesx" << QRect(648, 448, 83, 35);
        QTest::newRow("cmdNumbers") << "cmdNumbers" << QRect(110, 158, 167, 85);
        QTest::newRow("cmdShapes") << "cmdShapes" << QRect(110, 486, 167, 85);
        QTest::newRow("picNumbersCheck") << "picNumbersCheck" << QRect(280, 160, 67, 50);
        QTest::newRow("shpFlash") << "shpFlash" << QRect(376, 144, 275, 381);
        QTest::newRow("lblPress") << "lblPress" << QRect(376, 136, 281, 399);
        QTest::newRow("FrameSound") << "FrameSound" << QRect(680, 472, 189, 73);
        QTest::newRow("ListSound") << "ListSound" << QRect(8, 20, 141, 36);
        QTest::newRow("comboSetTimer") << "comboSetTimer" << QRect(10, 14, 67, 24);
        QTest::newRow("Text1") << "Text1" << QRect(356, 542, 191, 48);
        QTest::newRow("cmdSetName") << "cmdSetName" << QRect(554, 540, 103, 51);
        // the card pictures, moved onto the card at start-up
        QTest::newRow("imgRed") << "imgRed" << QRect(419, 265, 189, 139);
        QTest::newRow("imgPink") << "imgPink" << QRect(419, 265, 189, 139);
        QTest::newRow("imgSquare") << "imgSquare" << QRect(419, 265, 189, 139);
        QTest::newRow("imgOval") << "imgOval" << QRect(419, 265, 189, 139);
    }
    void controlsStandAtTheirPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        StartedForm2 f;
        QWidget* control = f.form->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), pixels);
    }

    void cardPicturesAreCentredInTwips()
    {
        StartedForm2 f;
        for (ui::Image* card : f.C().ColorImages()) {
            QCOMPARE(ui::Left(card), 6285.0f);
            QCOMPARE(ui::Top(card), 3975.0f);
        }
        for (ui::Image* card : f.C().ShapeImages()) {
            QCOMPARE(ui::Left(card), 6285.0f);
            QCOMPARE(ui::Top(card), 3975.0f);
        }
        QCOMPARE(f.State().card.imageLeft, 6285.0f);
        QCOMPARE(f.State().card.imageTop, 3975.0f);
    }

    // What a click at a point reaches, decided by the toolkit's hit testing.
    void clicksReachTheControlUnderThem()
    {
        StartedForm2 f;
        const ui::Form2Controls& c = f.C();
        QSignalSpy press(c.lblPress, &ui::Label::Click);
        QSignalSpy top(c.lblTop, &ui::Label::Click);
        QSignalSpy background(f.form.data(), &ui::Form::Click);

        const QPoint cardCentre = c.Frame1->mapTo(f.form.data(), QPoint(419 + 94, 265 + 69));
        QCOMPARE(f.form->childAt(cardCentre), c.lblPress);
        f.ClickAt(cardCentre);
        QCOMPARE(press.count(), 1);

        f.ClickOn(c.lblTop);
        QCOMPARE(top.count(), 1);
        QCOMPARE(press.count(), 1);

        f.ClickOn(c.Label1, QPoint(5, 5));
        f.ClickOn(c.Frame1, QPoint(20, 20));
        f.ClickOn(c.FrameSound, QPoint(2, 40));
        QCOMPARE(background.count(), 0);

        f.ClickAt(QPoint(20, 400));  // the black margin left of the panel
        QCOMPARE(background.count(), 1);
        f.ClickAt(QPoint(1100, 700));
        QCOMPARE(background.count(), 2);
    }

    void keyCatchersAreNeverSeenButHoldTheFocus()
    {
        StartedForm2 f;
        const ui::Form2Controls& c = f.C();
        for (QWidget* catcher : {static_cast<QWidget*>(c.cmdNumbersx), static_cast<QWidget*>(c.cmdLettersx),
                                 static_cast<QWidget*>(c.cmdColorsx), static_cast<QWidget*>(c.cmdShapesx)}) {
            QVERIFY(catcher->isVisible());
            QVERIFY(catcher->isEnabled());
            const QPoint centre = catcher->geometry().center();
            QCOMPARE(f.form->childAt(centre) == catcher, false);
        }
    }

    void tabMovesOnlyBetweenTheTwoStops()
    {
        StartedForm2 f;
        const ui::Form2Controls& c = f.C();
        QTRY_COMPARE(QApplication::focusWidget(), c.cmdNumbersx);
        QTest::keyClick(f.form->windowHandle(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), c.cmd1);
        QTest::keyClick(f.form->windowHandle(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), c.cmdNumbersx);
        QTest::keyClick(f.form->windowHandle(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), c.cmd1);
        // Close takes only the mouse: a key on it ends nothing.
        f.Spacebar();
        QTest::keyClick(f.form->windowHandle(), Qt::Key_Return);
        QVERIFY(f.form->IsLoaded());
    }

    void backdropClickBringsTheMainWindowForward()
    {
        StartedForm2 f;
        app::Form1 backdrop(f.form);
        backdrop.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&backdrop));
        QCOMPARE(backdrop.windowTitle(), QStringLiteral("Form1"));
        QVERIFY(backdrop.windowState() & Qt::WindowFullScreen);
        QSignalSpy ups(&backdrop, &ui::Form::MouseUp);
        QTest::mouseClick(&backdrop, Qt::RightButton, Qt::ShiftModifier, QPoint(3, 3));
        QCOMPARE(ups.count(), 1);
        QTRY_VERIFY(f.form->isActiveWindow());
        QCOMPARE(f.State().cycle.category, engine::Deck::Numbers);
        backdrop.Unload();
    }

    void closeUnloadsBothWindows()
    {
        StartedForm2 f;
        auto* backdrop = new app::Form1(f.form);
        f.form->SetBackdrop(backdrop);
        backdrop->Show();
        const int loaded = ui::Form::LoadedCount();
        QPointer<app::Form1> watch(backdrop);
        f.ClickOn(f.C().cmd1);
        QVERIFY(!f.form || !f.form->IsLoaded());
        QCOMPARE(ui::Form::LoadedCount(), loaded - 2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(watch.isNull());
        QVERIFY(f.form.isNull());
    }

    // Close clicked during the start-up pause ends start-up at once: the
    // windows are gone and the program will not wait in an event loop.
    void closeDuringTheStartupPauseEndsAtOnce()
    {
        auto [factory, log] = RecordingVoice::Factory();
        QPointer<app::Form2> form = new app::Form2(factory);  // the full pause
        QPointer<app::Form1> backdrop = new app::Form1(form);
        form->SetBackdrop(backdrop);
        const int before = ui::Form::LoadedCount();
        QTimer::singleShot(50, form, [form] { QTest::mouseClick(form->Controls().cmd1, Qt::LeftButton); });
        QElapsedTimer clock;
        clock.start();
        backdrop->Show();
        QCOMPARE(ui::Form::LoadedCount(), before);
        QVERIFY(!form || !form->IsLoaded());
        QVERIFY(!form || !form->Controls().picNumbersCheck->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
        QVERIFY(backdrop.isNull());
    }

    void startupPauseRunsTheFullCountWithEventsFlowing()
    {
        int eventsDuringPause = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++eventsDuringPause; });
        ticker.start(10);
        StartedForm2 f(app::Form2::kStartupPasses);
        QVERIFY(eventsDuringPause > 3);
        QVERIFY(f.C().picNumbersCheck->isVisible());
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
