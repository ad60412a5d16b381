#include <QTest>

#include <set>

#include "engine/decks.h"

using engine::Decks;
using engine::DrawCard;
using engine::PlayState;
using engine::Random;

class DecksTest : public QObject {
    Q_OBJECT

private slots:
    void stepsInOrderAndWraps_data()
    {
        QTest::addColumn<int>("wrap");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("colors") << 12 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 1, 2};
        QTest::newRow("shapes") << 6 << QList<int>{1, 2, 3, 4, 5, 1, 2};
        QTest::newRow("numbers, highest 1") << 2 << QList<int>{1, 1, 1};
        QTest::newRow("numbers, highest 2") << 3 << QList<int>{1, 2, 1, 2};
    }
    void stepsInOrderAndWraps()
    {
        QFETCH(int, wrap);
        QFETCH(QList<int>, expected);
        int counter = 1;
        QList<int> seen;
        for (int i = 0; i < expected.size(); ++i) {
            seen << counter;
            counter = engine::StepInOrder(counter, wrap);
        }
        QCOMPARE(seen, expected);
    }

    void lettersRunAtoZInTheChosenCase_data()
    {
        QTest::addColumn<engine::LetterCase>("letterCase");
        QTest::addColumn<QString>("expected");
        QTest::newRow("upper") << engine::LetterCase::Upper << "ABCDEFGHIJKLMNOPQRSTUVWXYZA";
        QTest::newRow("lower") << engine::LetterCase::Lower << "abcdefghijklmnopqrstuvwxyza";
    }
    void lettersRunAtoZInTheChosenCase()
    {
        QFETCH(engine::LetterCase, letterCase);
        QFETCH(QString, expected);
        PlayState s;
        Random random;
        Decks decks(s, s.decks, random);
        s.settings.letterCase = letterCase;
        s.decks.letterIndex = 1;
        std::string seen;
        for (int i = 0; i < 27; ++i) {
            decks.LetterFromIndex();
            decks.CaseStep();
            seen += s.decks.letterText;
            decks.StepLetter();
        }
        QCOMPARE(QString::fromStdString(seen), expected);
    }

    // A chosen item "12" counts as the number 12: the deck goes up to 12 and
    // then back to 1, never to "12" joined with 1.
    void highestNumberFromItemTextWrapsAtItsValue()
    {
        PlayState s;
        Random random;
        Decks decks(s, s.decks, random);
        s.settings.maxNumber.SetItem("12");
        QCOMPARE(s.settings.maxNumber.value + 1, 13);
        QCOMPARE(s.settings.maxNumber.text, std::string("12"));
        s.decks.currentNumber = 1;
        QList<int> seen;
        for (int i = 0; i < 13; ++i) {
            seen << s.decks.currentNumber;
            decks.StepNumber();
        }
        QCOMPARE(seen, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1}));
    }

    void lowerHighestNumberNeverShowsANumberAboveIt()
    {
        PlayState s;
        Random random;
        Decks decks(s, s.decks, random);
        QCOMPARE(s.settings.maxNumber.value, 10);
        s.decks.currentNumber = 8;
        s.settings.maxNumber.SetItem("5");
        decks.KeepNumberInRange();
        QCOMPARE(s.decks.currentNumber, 1);
        s.decks.currentNumber = 5;
        decks.KeepNumberInRange();
        QCOMPARE(s.decks.currentNumber, 5);
    }

    void randomDrawNeverRepeatsAndCoversTheDeck_data()
    {
        QTest::addColumn<int>("cards");
        QTest::newRow("colors") << 11;
        QTest::newRow("shapes") << 5;
        QTest::newRow("letters") << 26;
        QTest::newRow("numbers 20") << 20;
        QTest::newRow("numbers 2") << 2;
    }
    void randomDrawNeverRepeatsAndCoversTheDeck()
    {
        QFETCH(int, cards);
        Random random;
        int counter = 0;
        int last = 0;
        int previous = 0;
        std::set<int> seen;
        for (int i = 0; i < 5000; ++i) {
            DrawCard(random, cards, counter, last);
            QVERIFY(counter >= 1 && counter <= cards);
            QCOMPARE(last, counter);
            QVERIFY(counter != previous);
            previous = counter;
            seen.insert(counter);
        }
        QCOMPARE(int(seen.size()), cards);
    }

    void highestNumberTwoAlternates()
    {
        PlayState s;
        Random random;
        Decks decks(s, s.decks, random);
        s.settings.maxNumber.SetItem("2");
        decks.PickRandomNumber();
        for (int i = 0; i < 100; ++i) {
            const int before = s.decks.currentNumber;
            decks.PickRandomNumber();
            QCOMPARE(s.decks.currentNumber, 3 - before);
        }
    }

    // With the last card empty the first draw takes whatever comes, 1 included.
    void firstDrawCanBeAnyCard()
    {
        std::set<int> firsts;
        for (int seed = 0; seed < 2000; ++seed) {
            Random random([seed] { return std::uint64_t(seed); });
            int counter = 0;
            int last = 0;
            DrawCard(random, 5, counter, last);
            firsts.insert(counter);
        }
        QCOMPARE(firsts, (std::set<int>{1, 2, 3, 4, 5}));
    }

    // Re-seeding from a clock that does not move must still give a new card
    // at once, or the no-repeat loop would wait for the clock.
    void standingClockDoesNotHoldTheDraw()
    {
        int clockReads = 0;
        Random random([&clockReads] {
            ++clockReads;
            return std::uint64_t(42);
        });
        int counter = 0;
        int last = 0;
        std::set<int> seen;
        for (int i = 0; i < 1000; ++i) {
            const int before = clockReads;
            const int previous = last;
            DrawCard(random, 11, counter, last);
            QVERIFY(counter != previous);
            QVERIFY2(clockReads - before < 50, "the draw kept re-seeding");
            seen.insert(counter);
        }
        QCOMPARE(int(seen.size()), 11);
    }

    void oneCardDeckGivesItAtOnce()
    {
        PlayState s;
        int reads = 0;
        Random random([&reads] {
            ++reads;
            return std::uint64_t(7);
        });
        Decks decks(s, s.decks, random);
        s.settings.maxNumber.SetItem("1");
        for (int i = 0; i < 3; ++i) {
            decks.PickRandomNumber();
            QCOMPARE(s.decks.currentNumber, 1);
            QCOMPARE(s.decks.lastNumber, 1);
        }
    }

    void randomLetterTakesTheCase()
    {
        PlayState s;
        Random random;
        Decks decks(s, s.decks, random);
        s.settings.letterCase = engine::LetterCase::Lower;
        for (int i = 0; i < 50; ++i) {
            decks.PickRandomLetter();
            QCOMPARE(s.decks.letterText.size(), size_t(1));
            QCOMPARE(s.decks.letterText[0], char('a' + s.decks.letterIndex - 1));
        }
        s.settings.letterCase = engine::LetterCase::Upper;
        decks.PickRandomLetter();
        QCOMPARE(s.decks.letterText[0], char('A' + s.decks.letterIndex - 1));
    }
};

QTEST_APPLESS_MAIN(DecksTest)
#include "decks_test.moc"
