#include <QTest>

#include "speech/gate.h"
#include "speech/phrases.h"
#include "support/recording_voice.h"

using speech::SpeechGate;
namespace phrases = speech::phrases;

class SpeechGateTest : public QObject {
    Q_OBJECT

    struct Fixture {
        std::shared_ptr<RecordingVoice::Log> log = std::make_shared<RecordingVoice::Log>();
        bool sound = true;
        std::string letterText;
        std::unique_ptr<speech::Voice> voice = std::make_unique<RecordingVoice>(log);
        SpeechGate gate{sound, voice, letterText};
    };

private slots:
    // Which item texts turn sound on is the sound list's rule (settings test).
    void onlySoundOnOpensTheGate_data()
    {
        QTest::addColumn<bool>("sound");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }
    void onlySoundOnOpensTheGate()
    {
        QFETCH(bool, sound);
        Fixture f;
        f.sound = sound;
        f.gate.Say("colors");
        f.letterText = "b";
        f.gate.SayLetter();
        QCOMPARE(f.log->size(), sound ? size_t(2) : size_t(0));
    }

    void withoutAVoiceSayIsSilentAndReturns()
    {
        Fixture f;
        f.voice.reset();
        f.gate.Say("colors");
        f.letterText = "A";
        f.gate.SayLetter();
        QVERIFY(f.log->empty());
    }

    void aFailingVoiceNeverReachesTheCaller()
    {
        struct Throwing : speech::Voice {
            void Speak(std::string_view) override { throw std::runtime_error("device gone"); }
        };
        Fixture f;
        f.voice = std::make_unique<Throwing>();
        f.gate.Say("colors");
        f.letterText = "b";
        f.gate.SayLetter();
    }

    void lettersTakeTheirSpokenForm_data()
    {
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("spoken");
        for (const char* v : {"a", "e", "i", "o", "u", "y"}) {
            const QString lower = QString::fromLatin1(v);
            QTest::newRow(v) << lower << ", " + lower;
            QTest::newRow(qPrintable(lower.toUpper())) << lower.toUpper() << ", " + lower;
        }
        QTest::newRow("B") << "B"
                           << "B";
        QTest::newRow("b") << "b"
                           << "b";
        QTest::newRow("z") << "z"
                           << "z";
        QTest::newRow("W") << "W"
                           << "W";
    }
    void lettersTakeTheirSpokenForm()
    {
        QFETCH(QString, letter);
        QFETCH(QString, spoken);
        Fixture f;
        f.letterText = letter.toStdString();
        f.gate.SayLetter();
        QCOMPARE(*f.log, (RecordingVoice::Log{spoken.toStdString()}));
    }

    // Every letter card has a spoken form, the vowels' and y's the one the
    // letter deck hands over; nothing else is a letter.
    void everyLetterHasASpokenForm()
    {
        for (char upper = 'A'; upper <= 'Z'; ++upper) {
            const char lower = static_cast<char>(upper - 'A' + 'a');
            const std::string_view form = phrases::SpokenLetter(upper);
            QVERIFY2(!form.empty(), &upper);
            QCOMPARE(phrases::SpokenLetter(lower), form);
            if (std::string_view("aeiouy").find(lower) != std::string_view::npos)
                QCOMPARE(std::string(form), phrases::Letter(std::string(1, upper)));
        }
        for (char other : {'@', '[', '`', '{', '0', ' ', '\0'})
            QVERIFY(phrases::SpokenLetter(other).empty());
    }

    void phrasesAreFormedExactly_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QString>("expected");
        QTest::newRow("number 7") << QString::fromStdString(phrases::Number(7)) << " 7";
        QTest::newRow("number 20") << QString::fromStdString(phrases::Number(20)) << " 20";
        QTest::newRow("hello, no name") << QString::fromStdString(phrases::Hello("")) << "hello, ";
        QTest::newRow("hello, Anna") << QString::fromStdString(phrases::Hello("Anna")) << "hello, Anna";
        QTest::newRow("max 12") << QString::fromStdString(phrases::MaxNumber("12")) << "max number now set to 12";
        QTest::newRow("timer off") << QString::fromStdString(phrases::Timer("off")) << "timer now off";
        QTest::newRow("timer 1") << QString::fromStdString(phrases::Timer("1")) << "timer now set to 1 second";
        QTest::newRow("timer 4") << QString::fromStdString(phrases::Timer("4")) << "timer now set to 4 seconds";
        QTest::newRow("greeting") << QString::fromUtf8(phrases::kGreeting.data(), int(phrases::kGreeting.size()))
                                  << "quibbet, toddlers";
    }
    void phrasesAreFormedExactly()
    {
        QFETCH(QString, phrase);
        QFETCH(QString, expected);
        QCOMPARE(phrase, expected);
    }
};

QTEST_APPLESS_MAIN(SpeechGateTest)
#include "speech_gate_test.moc"
