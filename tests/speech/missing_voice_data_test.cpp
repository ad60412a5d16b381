#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <unistd.h>

#include "audio_taps.h"
#include "speech/espeak_voice.h"

using speech::EspeakVoice;
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

class MissingVoiceDataTest : public QObject {
    Q_OBJECT

private slots:
    void silentWithoutVoiceDataAndFineOnceItIsThere()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("espeak-ng-data"));  // present but empty: no fallback
        CapturedStderr captured(dir.filePath("stderr.txt"));
        {
            auto tap = std::make_unique<TapOut>();
            TapOut* out = tap.get();
            EspeakVoice voice(std::move(tap), EspeakVoice::Options{.data_path = dir.path().toStdString()});
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

        // The failure does not stick to the process: espeak-ng loads for the next voice.
        auto tap = std::make_unique<TapOut>();
        TapOut* out = tap.get();
        EspeakVoice voice(std::move(tap));
        voice.Speak("sound on");
        QVERIFY(voice.WaitUntilSynthesised(kDeadline));
        QVERIFY(!voice.Failed());
        QVERIFY(speech::testing::Peak(out->LastTake()) > 4000);
    }
};

QTEST_GUILESS_MAIN(MissingVoiceDataTest)
#include "missing_voice_data_test.moc"
