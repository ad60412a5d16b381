#include <QSignalSpy>
#include <QTest>

#include <set>

#include "app/form2_fixture.h"

namespace {

// A pick as a parent makes it: a click on a list row, or the combo's popup.
void Pick(const StartedForm2& f, QWidget* control, int index)
{
    if (auto* list = qobject_cast<ui::ListBox*>(control)) {
        const QPoint at = list->visualItemRect(list->item(index)).center();
        f.ClickOn(list->viewport(), at);
        return;
    }
    auto* combo = qobject_cast<ui::ComboBox*>(control);
    QVERIFY(combo);
    f.ClickOn(combo);
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    // A release this soon after the opening click is taken as part of it, so
    // the item is picked in the open list with the keyboard.
    QTest::keyClick(view, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
}

// The setting a control stores, in the words of its items.
std::string Stored(const engine::PlayState& s, const QString& name)
{
    if (name == "ListOrder")
        return s.settings.randomOrder ? "yes" : "no";
    if (name == "ListUpper")
        return s.settings.letterCase == engine::LetterCase::Lower ? "lower" : "upper";
    if (name == "ListSound")
        return s.settings.sound ? "on" : "off";
    if (name == "comboSetMaxNum")
        return s.settings.maxNumber.text;
    return s.timer.timerSeconds;
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void everyPickIsStoredConfirmedAndGivesTheFocusBack_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("heard");
        QTest::newRow("in order (the start item again)") << "ListOrder" << 0 << "no"
                                                         << "in order";
        QTest::newRow("random") << "ListOrder" << 1 << "yes"
                                << "random order";
        QTest::newRow("lower case") << "ListUpper" << 0 << "lower"
                                    << "lower case";
        QTest::newRow("upper case (the start item again)") << "ListUpper" << 1 << "upper"
                                                           << "upper case";
        QTest::newRow("sound on (the start item again)") << "ListSound" << 0 << "on"
                                                         << "sound on";
        QTest::newRow("sound off") << "ListSound" << 1 << "off"
                                   << "sound off";
        QTest::newRow("max 1") << "comboSetMaxNum" << 0 << "1"
                               << "max number now set to 1";
        QTest::newRow("max 7") << "comboSetMaxNum" << 6 << "7"
                               << "max number now set to 7";
        QTest::newRow("max 10 (the start item again)") << "comboSetMaxNum" << 9 << "10"
                                                       << "max number now set to 10";
        QTest::newRow("max 20") << "comboSetMaxNum" << 19 << "20"
                                << "max number now set to 20";
        QTest::newRow("timer off (the start item again)") << "comboSetTimer" << 0 << "off"
                                                          << "timer now off";
        QTest::newRow("timer 1") << "comboSetTimer" << 1 << "1"
                                 << "timer now set to 1 second";
        QTest::newRow("timer 2") << "comboSetTimer" << 2 << "2"
                                 << "timer now set to 2 seconds";
        QTest::newRow("timer 6") << "comboSetTimer" << 6 << "6"
                                 << "timer now set to 6 seconds";
    }
    void everyPickIsStoredConfirmedAndGivesTheFocusBack()
    {
        QFETCH(QString, control);
        QFETCH(int, index);
        QFETCH(QString, stored);
        QFETCH(QString, heard);
        StartedForm2 f;
        f.ClickOn(f.C().cmdShapes);
        f.log->clear();
        Pick(f, f.Find(qPrintable(control)), index);
        QCOMPARE(QString::fromStdString(Stored(f.State(), control)), stored);
        QCOMPARE(f.Spoken(), QStringList{heard});
        QCOMPARE(QApplication::focusWidget(), f.C().cmdShapesx);
        QVERIFY(f.C().picShapesCheck->isVisible());
        QVERIFY(!f.C().picNumbersCheck->isVisible());
    }

    void keyboardPicksOnAFocusedListAreHandledOnce()
    {
        StartedForm2 f;
        Pick(f, f.C().ListOrder, 0);
        f.C().ListOrder->setFocus();
        f.log->clear();
        QTest::keyClick(f.C().ListOrder, Qt::Key_Down);
        QCOMPARE(f.Spoken(), QStringList{"random order"});
        QVERIFY(f.State().settings.randomOrder);
    }

    void soundOffIsHeardOnceThenNothingUntilOn()
    {
        StartedForm2 f;
        f.log->clear();
        Pick(f, f.C().ListSound, 1);
        QCOMPARE(f.Spoken(), QStringList{"sound off"});
        QVERIFY(!f.State().settings.sound);
        f.ClickOn(f.C().cmdColors);
        f.Spacebar();
        f.Spacebar();
        Pick(f, f.C().ListOrder, 1);
        Pick(f, f.C().comboSetMaxNum, 4);
        f.ClickOn(f.C().cmdSetName);
        QCOMPARE(f.Spoken(), QStringList{"sound off"});
        Pick(f, f.C().ListSound, 0);
        QCOMPARE(f.Spoken(), (QStringList{"sound off", "sound on"}));
        f.ClickOn(f.C().cmdLetters);
        QCOMPARE(f.Spoken().last(), QStringLiteral("letters"));
    }

    // The sound list stores what its item's text means: exactly "on" opens
    // the speech gate, any other text shuts it after "sound off".
    void soundItemTextDecidesTheGate_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("heard");
        QTest::newRow("on") << "on" << true << "sound on";
        QTest::newRow("off") << "off" << false << "sound off";
        QTest::newRow("On") << "On" << false << "sound off";
        QTest::newRow("on ") << "on " << false << "sound off";
        QTest::newRow("empty") << "" << false << "sound off";
    }
    void soundItemTextDecidesTheGate()
    {
        QFETCH(QString, item);
        QFETCH(bool, on);
        QFETCH(QString, heard);
        StartedForm2 f;
        f.C().ListSound->item(1)->setText(item);
        f.log->clear();
        Pick(f, f.C().ListSound, 1);
        QCOMPARE(f.State().settings.sound, on);
        QCOMPARE(f.Spoken(), QStringList{heard});
        f.ClickOn(f.C().cmdSetName);
        QCOMPARE(f.Spoken().size(), on ? 2 : 1);
    }

    void lowerCaseLeavesTheLetterOnShow()
    {
        StartedForm2 f;
        f.ClickOn(f.C().cmdLetters);
        f.Spacebar();
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("A"));
        Pick(f, f.C().ListUpper, 0);
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("A"));
        f.log->clear();
        f.Spacebar();
        QCOMPARE(f.Spoken(), QStringList{", a"});
        f.Spacebar();
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("b"));
    }

    void randomDrawsStayWithinTheHighestNumber()
    {
        StartedForm2 f;
        Pick(f, f.C().comboSetMaxNum, 6);
        Pick(f, f.C().ListOrder, 1);
        std::set<int> seen;
        QString previous;
        for (int i = 0; i < 300; ++i) {
            f.Spacebar();
            const QString shown = f.C().lblNumberLetter->Caption();
            QVERIFY(shown != previous);
            previous = shown;
            seen.insert(shown.toInt());
            f.Spacebar();
        }
        QCOMPARE(seen, (std::set<int>{1, 2, 3, 4, 5, 6, 7}));
    }

    void highestNumberOneAtRandomGivesOneAtOnce()
    {
        StartedForm2 f;
        Pick(f, f.C().comboSetMaxNum, 0);
        Pick(f, f.C().ListOrder, 1);
        for (int i = 0; i < 4; ++i) {
            f.Spacebar();
            QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("1"));
            f.Spacebar();
        }
    }

    void nameBoxSetsTheNameAndSetNameGreets()
    {
        StartedForm2 f;
        f.log->clear();
        f.ClickOn(f.C().cmdSetName);
        QCOMPARE(f.Spoken(), QStringList{"hello, "});
        QCOMPARE(QApplication::focusWidget(), f.C().cmdNumbersx);

        f.ClickOn(f.C().Text1);
        QCOMPARE(f.C().Text1->Text(), QString());
        QCOMPARE(QApplication::focusWidget(), f.C().Text1);
        QTest::keyClicks(f.C().Text1, QStringLiteral("Anna"));
        QKeyEvent umlaut(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("ë"));
        QApplication::sendEvent(f.C().Text1, &umlaut);
        QCOMPARE(f.State().settings.childName, std::string("Annaë"));
        f.ClickOn(f.C().cmdSetName);
        QCOMPARE(f.Spoken().last(), QStringLiteral("hello, Annaë"));

        // A click into the box erases the name typed before.
        f.ClickOn(f.C().Text1);
        QVERIFY(f.State().settings.childName.empty());
        f.ClickOn(f.C().cmdSetName);
        QCOMPARE(f.Spoken().last(), QStringLiteral("hello, "));
    }

    void timerTicksPressTheDeckInPlay()
    {
        StartedForm2 f;
        Pick(f, f.C().comboSetTimer, 1);
        QCOMPARE(f.C().Timer1->Interval(), 1000);
        QVERIFY(f.C().Timer1->IsTicking());
        f.log->clear();
        emit f.C().Timer1->Timer();
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("1"));
        QVERIFY(f.Spoken().isEmpty());
        emit f.C().Timer1->Timer();
        QCOMPARE(f.Spoken(), QStringList{" 1"});
        // A press between ticks takes the next step of the same cycle.
        f.Spacebar();
        QCOMPARE(f.C().lblNumberLetter->Caption(), QStringLiteral("2"));
        emit f.C().Timer1->Timer();
        QCOMPARE(f.Spoken().last(), QStringLiteral(" 2"));

        // After a deck change the next tick reveals the new deck's first card.
        f.ClickOn(f.C().cmdColors);
        emit f.C().Timer1->Timer();
        QVERIFY(f.C().imgRed->isVisible());

        Pick(f, f.C().comboSetTimer, 4);
        QCOMPARE(f.C().Timer1->Interval(), 4000);
        QVERIFY(f.C().Timer1->IsTicking());
        // Off between a reveal and its answer leaves the card revealed.
        Pick(f, f.C().comboSetTimer, 0);
        QVERIFY(!f.C().Timer1->IsTicking());
        QCOMPARE(f.C().Timer1->Interval(), 0);
        QVERIFY(!f.C().Timer1->Enabled());
        QVERIFY(f.C().imgRed->isVisible());
        f.log->clear();
        f.Spacebar();
        QCOMPARE(f.Spoken(), QStringList{"red"});
    }

    void timerTicksOnTheRealClock()
    {
        StartedForm2 f;
        Pick(f, f.C().comboSetTimer, 1);
        f.log->clear();
        QSignalSpy ticks(f.C().Timer1, &ui::TimerControl::Timer);
        QTRY_COMPARE_WITH_TIMEOUT(f.C().lblNumberLetter->Caption(), QStringLiteral("1"), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(f.Spoken(), QStringList{" 1"}, 3000);
        QCOMPARE(ticks.count(), 2);
    }

    void startupSelectionsAreSwallowedOnceOnly()
    {
        StartedForm2 f;
        QCOMPARE(f.Spoken(), QStringList{"quibbet, toddlers"});
        f.log->clear();
        f.C().ListSound->SetSelected(0);
        QCOMPARE(f.Spoken(), QStringList{"sound on"});
    }
};

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"
