#include <QSignalSpy>
#include <QTest>

#include <algorithm>

#include "app/form2_fixture.h"
#include "engine/decks.h"
#include "support/send_key.h"

namespace {

QList<QWidget*> VisibleChecks(const ui::Form2Controls& c)
{
    QList<QWidget*> visible;
    for (QWidget* check : {static_cast<QWidget*>(c.picNumbersCheck), static_cast<QWidget*>(c.picLettersCheck),
                           static_cast<QWidget*>(c.picShapesCheck), static_cast<QWidget*>(c.picColorsCheck)})
        if (check->isVisible())
            visible << check;
    return visible;
}

QList<QWidget*> VisibleCards(const ui::Form2Controls& c)
{
    QList<QWidget*> visible;
    for (QWidget* card : c.ColorImages())
        if (card->isVisible())
            visible << card;
    for (QWidget* card : c.ShapeImages())
        if (card->isVisible())
            visible << card;
    if (c.imgShapes->isVisible())
        visible << c.imgShapes;
    return visible;
}

QString Shown(const StartedForm2& f)
{
    const QList<QWidget*> cards = VisibleCards(f.C());
    if (cards.size() == 1)
        return cards.first()->objectName();
    return f.C().lblNumberLetter->Caption();
}

}  // namespace

class PlayTest : public QObject {
    Q_OBJECT

private slots:
    void firstPressRevealsSilentlyAndTheNextSpeaksAndAdvances()
    {
        StartedForm2 f;
        f.log->clear();
        f.Spacebar();
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("1"));
        QVERIFY(f.Spoken().isEmpty());
        QVERIFY(!f.C().lblBottom->isVisible());
        f.Spacebar();
        QCOMPARE(f.Spoken(), QStringList{" 1"});
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("1"));
        QVERIFY(f.C().lblBottom->isVisible());
        QCOMPARE(f.State().decks.currentNumber, 2);
        f.Spacebar();
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("2"));
        QCOMPARE(f.Spoken(), QStringList{" 1"});
    }

    // Each deck in order, through its button and the spacebar: what is shown
    // on each reveal and heard on each answer, round the wrap.
    void decksRunInOrderAndWrap_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("deckName");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("heard");
        QStringList colorCards, colorNames;
        for (const char* name : {"imgRed", "imgGreen", "imgBlue", "imgYellow", "imgBrown", "imgOrange", "imgBlack",
                                 "imgGrey", "imgWhite", "imgPurple", "imgPink", "imgRed"})
            colorCards << name;
        for (int i = 0; i < 12; ++i)
            colorNames << QString::fromLatin1(engine::kColorNames[i % 11].data());
        QTest::newRow("colors") << "cmdColors"
                                << "colors" << colorCards << colorNames;
        QTest::newRow("shapes") << "cmdShapes"
                                << "shapes" << QStringList{"imgSquare",    "imgCircle", "imgTriangle",
                                                           "imgRectangle", "imgOval",   "imgSquare"}
                                << QStringList{"square", "circle", "triangle", "rectangle", "oval", "square"};
        QStringList letters, letterWords;
        for (char ch = 'A'; ch <= 'Z'; ++ch) {
            letters << QString(QChar(ch));
            letterWords << (QStringLiteral("AEIOUY").contains(QChar(ch)) ? ", " + QString(QChar(ch)).toLower()
                                                                         : QString(QChar(ch)));
        }
        letters << "A";
        letterWords << ", a";
        QTest::newRow("letters") << "cmdLetters"
                                 << "letters" << letters << letterWords;
        QStringList numbers, numberWords;
        for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1}) {
            numbers << QString::number(n);
            numberWords << " " + QString::number(n);
        }
        QTest::newRow("numbers") << "cmdNumbers"
                                 << "numbers" << numbers << numberWords;
    }
    void decksRunInOrderAndWrap()
    {
        QFETCH(QString, button);
        QFETCH(QString, deckName);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, heard);
        StartedForm2 f;
        f.log->clear();
        f.ClickOn(f.Find(qPrintable(button)));
        QCOMPARE(f.Spoken(), QStringList{deckName});
        QCOMPARE(f.C().lblNumberLetter->Caption(), QString());
        f.log->clear();
        QStringList seen;
        for (int i = 0; i < shown.size(); ++i) {
            f.Spacebar();
            seen << Shown(f);
            QVERIFY(VisibleCards(f.C()).size() <= 1);
            f.Spacebar();
        }
        QCOMPARE(seen, shown);
        QCOMPARE(f.Spoken(), heard);
    }

    void deckButtonMarksTheDeckAndMovesTheFocusToItsKeyCatcher_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("catcher");
        QTest::addColumn<engine::Deck>("deck");
        QTest::newRow("colors") << "cmdColors"
                                << "picColorsCheck"
                                << "cmdColorsx" << engine::Deck::Colors;
        QTest::newRow("shapes") << "cmdShapes"
                                << "picShapesCheck"
                                << "cmdShapesx" << engine::Deck::Shapes;
        QTest::newRow("letters") << "cmdLetters"
                                 << "picLettersCheck"
                                 << "cmdLettersx" << engine::Deck::Letters;
        QTest::newRow("numbers") << "cmdNumbers"
                                 << "picNumbersCheck"
                                 << "cmdNumbersx" << engine::Deck::Numbers;
    }
    void deckButtonMarksTheDeckAndMovesTheFocusToItsKeyCatcher()
    {
        QFETCH(QString, button);
        QFETCH(QString, check);
        QFETCH(QString, catcher);
        QFETCH(engine::Deck, deck);
        StartedForm2 f;
        // Start from a half-shown color card so the button has something to clear.
        f.ClickOn(f.C().cmdColors);
        f.Spacebar();
        f.ClickOn(f.Find(qPrintable(button)));
        QCOMPARE(VisibleChecks(f.C()), QList<QWidget*>{f.Find(qPrintable(check))});
        QCOMPARE(QApplication::focusWidget(), f.Find(qPrintable(catcher)));
        QVERIFY(VisibleCards(f.C()).isEmpty());
        QCOMPARE(f.C().lblNumberLetter->Caption(), QString());
        QCOMPARE(f.State().cycle.pressState, engine::Press::Reveal);
        QCOMPARE(f.State().cycle.category, deck);
    }

    void deckChangeBetweenRevealAndAnswerDropsTheCardUnspoken()
    {
        StartedForm2 f;
        f.ClickOn(f.C().cmdShapes);
        f.Spacebar();
        QCOMPARE(Shown(f), QStringLiteral("imgSquare"));
        f.log->clear();
        f.ClickOn(f.C().cmdLetters);
        QCOMPARE(f.Spoken(), QStringList{"letters"});
        QVERIFY(VisibleCards(f.C()).isEmpty());
        f.Spacebar();
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("A"));
        QCOMPARE(f.Spoken(), QStringList{"letters"});
        QCOMPARE(f.State().card.shapeName, std::string("square"));
    }

    void cardClickPressesTheDeckWhereverTheFocusIs_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("heard");
        QTest::addColumn<bool>("focusComesBack");
        QTest::newRow("colors") << "cmdColors"
                                << "imgRed"
                                << "red" << true;
        QTest::newRow("shapes") << "cmdShapes"
                                << "imgSquare"
                                << "square" << true;
        QTest::newRow("letters") << "cmdLetters"
                                 << "A"
                                 << ", a" << false;
        QTest::newRow("numbers") << "cmdNumbers"
                                 << "1"
                                 << " 1" << false;
    }
    void cardClickPressesTheDeckWhereverTheFocusIs()
    {
        QFETCH(QString, button);
        QFETCH(QString, shown);
        QFETCH(QString, heard);
        QFETCH(bool, focusComesBack);
        StartedForm2 f;
        f.ClickOn(f.Find(qPrintable(button)));
        QWidget* catcher = QApplication::focusWidget();
        f.ClickOn(f.C().Text1);
        QCOMPARE(QApplication::focusWidget(), f.C().Text1);
        f.log->clear();
        f.ClickOn(f.C().lblPress, QPoint(140, 200));
        QCOMPARE(Shown(f), shown);
        QVERIFY(f.Spoken().isEmpty());
        QCOMPARE(QApplication::focusWidget(), focusComesBack ? catcher : f.C().Text1);
        f.ClickOn(f.C().lblPress, QPoint(5, 390));
        QCOMPARE(f.Spoken(), QStringList{heard});
        // With the focus in the name box, the spacebar types there instead.
        if (!focusComesBack) {
            f.Spacebar();
            QCOMPARE(f.C().Text1->Text(), QStringLiteral(" "));
        }
    }

    void heldSpacebarIsOnePressOnItsRelease()
    {
        StartedForm2 f;
        f.log->clear();
        SendKey(QApplication::focusWidget(), QEvent::KeyPress, Qt::Key_Space, false);
        for (int i = 0; i < 20; ++i) {
            SendKey(QApplication::focusWidget(), QEvent::KeyRelease, Qt::Key_Space, true);
            SendKey(QApplication::focusWidget(), QEvent::KeyPress, Qt::Key_Space, true);
        }
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("1 2 3"));
        SendKey(QApplication::focusWidget(), QEvent::KeyRelease, Qt::Key_Space, false);
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("1"));
        QCOMPARE(f.State().cycle.pressState, engine::Press::Answer);
    }

    void otherKeysDoNothing()
    {
        StartedForm2 f;
        f.log->clear();
        for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_A), int(Qt::Key_1), int(Qt::Key_Escape),
                        int(Qt::Key_F1), int(Qt::Key_Down)})
            QTest::keyClick(f.form->windowHandle(), Qt::Key(key));
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("1 2 3"));
        QCOMPARE(f.State().cycle.pressState, engine::Press::Reveal);
        QVERIFY(f.Spoken().isEmpty());
        QCOMPARE(QApplication::focusWidget(), f.C().cmdNumbersx);
    }

    void backgroundClickGivesTheSpacebarBackToTheDeck()
    {
        StartedForm2 f;
        f.ClickOn(f.C().cmdLetters);
        f.ClickOn(f.C().Text1);
        f.ClickAt(QPoint(10, 10));
        QCOMPARE(QApplication::focusWidget(), f.C().cmdLettersx);
        QCOMPARE(VisibleChecks(f.C()), QList<QWidget*>{f.C().picLettersCheck});
        f.Spacebar();
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("A"));
    }

    void colorCardShowsOnlyItsPictureAndRecordsItsName()
    {
        StartedForm2 f;
        f.ClickOn(f.C().cmdColors);
        for (int i = 0; i < 8; ++i)
            f.Spacebar();  // red, green, blue, yellow answered
        f.Spacebar();
        QCOMPARE(VisibleCards(f.C()), QList<QWidget*>{f.C().imgBrown});
        QCOMPARE(f.State().card.colorName, std::string("brown"));
        f.ClickOn(f.C().cmdNumbers);
        QCOMPARE(f.State().card.colorName, std::string("brown"));
        QVERIFY(VisibleCards(f.C()).isEmpty());
    }

    void numberAboveALoweredHighestNumberIsNeverShown()
    {
        StartedForm2 f;
        for (int i = 0; i < 14; ++i)
            f.Spacebar();  // 1 to 7 shown and answered
        QCOMPARE(f.State().decks.currentNumber, 8);
        f.C().comboSetMaxNum->SetListIndex(4);  // "5"
        f.Spacebar();
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("1"));
    }

    // A number on show when the highest number is lowered is still the one
    // answered, and the deck goes on from 1.
    void answerNamesTheCardOnShowAfterTheHighestNumberChanges()
    {
        StartedForm2 f;
        for (int i = 0; i < 15; ++i)
            f.Spacebar();  // 8 on show
        f.C().comboSetMaxNum->SetListIndex(4);
        f.log->clear();
        f.Spacebar();
        QCOMPARE(f.Spoken(), QStringList{" 8"});
        f.Spacebar();
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("1"));
    }

    void deckChosenDuringTheStartupPauseLeavesTwoMarksUntilTheNextMark()
    {
        auto [factory, log] = RecordingVoice::Factory();
        QPointer<app::Form2> form = new app::Form2(factory);
        QTimer::singleShot(30, form, [form] { QTest::mouseClick(form->Controls().cmdColors, Qt::LeftButton); });
        form->Show();
        const ui::Form2Controls& c = form->Controls();
        QCOMPARE(form->State().cycle.category, engine::Deck::Colors);
        QCOMPARE(VisibleChecks(c), (QList<QWidget*>{c.picNumbersCheck, c.picColorsCheck}));
        QTest::mouseClick(c.cmdShapes, Qt::LeftButton);
        QCOMPARE(VisibleChecks(c), QList<QWidget*>{c.picShapesCheck});
        QVERIFY(std::find(log->begin(), log->end(), "colors") != log->end());
        form->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(PlayTest)
#include "play_test.moc"
