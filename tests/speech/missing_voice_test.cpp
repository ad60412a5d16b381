#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <unistd.h>

#include "audio_taps.h"
#include "speech/flite_voice.h"

using speech::FliteVoice;
using speech::testing::TapOut;

namespace {

constexpr auto kDeadline = std::chrono::seconds(20);

// Everything written to the process's stderr while it lives.
class CapturedStderr {
public:
    explicit CapturedStderr(const QString& path) : path_(path)
    {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        FILE* file = std::fopen(path.toLocal8Bit().constData(), "w");
        dup2(fileno(file), STDERR_FILENO);
        std::fclose(file);
    }
    ~CapturedStderr() { Restore(); }
    QByteArray Restore()
    {
        if (saved_ >= 0) {
            std::fflush(stderr);
            dup2(saved_, STDERR_FILENO);
            close(saved_);
            saved_ = -1;
        }
        QFile file(path_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QString path_;
    int saved_ = -1;
};

}  // namespace

class MissingVoiceTest : public QObject {
    Q_OBJECT

private slots:
    // A speaker whose library is not on the machine: every Speak returns at
    // once, nothing sounds, nothing is printed, and the next voice is not spoiled.
    void silentWithoutTheSpeakerAndFineWithTheNext()
    {
        QTemporaryDir dir;
        CapturedStderr captured(dir.filePath("stderr.txt"));
        {
            auto tap = std::make_unique<TapOut>();
            TapOut* out = tap.get();
            FliteVoice voice(std::move(tap), FliteVoice::Options{.speaker = "cmu_us_nosuch"});
            QElapsedTimer clock;
            clock.start();
            voice.Speak("quibbet, toddlers");
            QVERIFY(clock.nsecsElapsed() < 20'000'000);
            QVERIFY(voice.WaitUntilSynthesised(kDeadline));
            QVERIFY(voice.Failed());
            clock.start();
            voice.Speak("hello, Anna");
            QVERIFY(clock.nsecsElapsed() < 20'000'000);
            QVERIFY(voice.WaitUntilSynthesised(kDeadline));
            QCOMPARE(out->Total(), std::size_t{0});
        }
        QCOMPARE(captured.Restore(), QByteArray());

        auto tap = std::make_unique<TapOut>();
        TapOut* out = tap.get();
        FliteVoice voice(std::move(tap));
        voice.Speak("sound on");
        QVERIFY(voice.WaitUntilSynthesised(kDeadline));
        QVERIFY(!voice.Failed());
        QVERIFY(speech::testing::Peak(out->LastTake()) > 4000);
    }

    void speakerFromTheEnvironment_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("speaker");
        QTest::addColumn<int>("stderrLines");
        QTest::newRow("unset") << QByteArray() << "cmu_us_rms" << 0;
        QTest::newRow("empty") << QByteArray("") << "cmu_us_rms" << 0;
        QTest::newRow("slt") << QByteArray("cmu_us_slt") << "cmu_us_slt" << 0;
        QTest::newRow("awb") << QByteArray("cmu_us_awb") << "cmu_us_awb" << 0;
        QTest::newRow("rms") << QByteArray("cmu_us_rms") << "cmu_us_rms" << 0;
        QTest::newRow("unknown") << QByteArray("kal") << "cmu_us_rms" << 1;
        QTest::newRow("a library path") << QByteArray("../../tmp/evil") << "cmu_us_rms" << 1;
        QTest::newRow("case matters") << QByteArray("CMU_US_SLT") << "cmu_us_rms" << 1;
    }
    void speakerFromTheEnvironment()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, speaker);
        QFETCH(int, stderrLines);
        if (value.isNull())
            qunsetenv("QUIBBET_VOICE");
        else
            qputenv("QUIBBET_VOICE", value);
        QTemporaryDir dir;
        std::unique_ptr<speech::Voice> made;
        QByteArray printed;
        {
            CapturedStderr captured(dir.filePath("stderr.txt"));
            made = speech::MakeVoice();  // SDL's dummy driver
            printed = captured.Restore();
        }
        qunsetenv("QUIBBET_VOICE");
        auto* voice = dynamic_cast<FliteVoice*>(made.get());
        QVERIFY(voice);
        QCOMPARE(QString::fromStdString(voice->Speaker()), speaker);
        QCOMPARE(int(printed.count('\n')), stderrLines);
        if (stderrLines > 0)
            QVERIFY2(printed.contains("QUIBBET_VOICE"), printed.constData());
        voice->Speak("sound on");
        QVERIFY(voice->WaitUntilSynthesised(kDeadline));
        QVERIFY(!voice->Failed());
    }
};

QTEST_GUILESS_MAIN(MissingVoiceTest)
#include "missing_voice_test.moc"
