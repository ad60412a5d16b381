#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "speech/audio_out.h"
#include "speech/voice.h"

namespace speech {

// The text made safe for any engine: valid UTF-8 only, every control
// character (C0, DEL, C1) turned into a space so none can act as an embedded
// command, cut at a character boundary to at most FliteVoice::kMaxTextBytes.
std::string PlainSpeechText(std::string_view text);

// Plain text as flite gets it: flite reads bytes, so accented Latin letters
// become their base letters ("Zoë" is "Zoe") and every other character
// beyond ASCII a space.
std::string AsciiSpeechText(std::string_view plain);

// Flite makes a whole utterance before the first of its samples comes out,
// and cannot be stopped in that time: the text is spoken as short utterances,
// broken after a comma or a full stop between words and at a blank before
// kMaxPieceChars. A single letter is the table's spoken form of it.
std::vector<std::string> SpeechPieces(std::string_view ascii);

class FliteVoice final : public Voice {
public:
    static constexpr int kSampleRate = 16000;
    // Far beyond any phrase or name a toddler hears.
    static constexpr std::size_t kMaxTextBytes = 500;
    static constexpr std::size_t kMaxPieceChars = 60;
    // The worker stops synthesising while this much is waiting to be played.
    static constexpr std::size_t kMaxSamplesAhead = kSampleRate;
    // However the text reads out (500 digits are two minutes), a phrase stops here.
    static constexpr std::size_t kMaxPhraseSamples = 30 * kSampleRate;
    // flite's recorded speakers that the program offers; the first is the default.
    static constexpr std::array<std::string_view, 3> kSpeakers = {"cmu_us_rms", "cmu_us_slt", "cmu_us_awb"};

    struct Options {
        // A flite voice library, libflite_<speaker>.so.1, loaded on the worker.
        // A speaker whose library is missing or broken leaves the voice silent.
        std::string speaker{kSpeakers[0]};
        // How long the output stays open with nothing to play. SDL keeps
        // feeding an open device silence, which costs about 1 % of a core.
        std::chrono::milliseconds restAfter{2000};
    };

    // Returns at once; flite loads on the worker, and texts spoken before it
    // is ready are kept (the newest one).
    explicit FliteVoice(std::unique_ptr<AudioOut> out);
    FliteVoice(std::unique_ptr<AudioOut> out, Options options);
    ~FliteVoice() override;
    FliteVoice(const FliteVoice&) = delete;
    FliteVoice& operator=(const FliteVoice&) = delete;

    void Speak(std::string_view text) noexcept override;

    const std::string& Speaker() const { return options_.speaker; }
    // For tests and benchmarks: true once flite is loaded (or failed to load)
    // and every text handed to Speak has been queued or dropped. Playback may
    // still be going on.
    bool WaitUntilSynthesised(std::chrono::milliseconds timeout);
    // The speaker could not be loaded; the voice is silent for good.
    bool Failed() const;

private:
    friend struct FliteCallbacks;
    // Each block of a phrase's samples, from flite on the worker; false stops the phrase.
    bool OnSamples(const std::int16_t* samples, int count, int sampleRate);
    void Run();
    void WaitForText(std::unique_lock<std::mutex>& lock);
    std::unique_lock<std::mutex> LockEngine(std::uint64_t generation);
    void Synthesise(const std::string& text, std::uint64_t generation);

    const Options options_;
    std::unique_ptr<AudioOut> out_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;     // the worker: new text, stop, or time to recheck the queue
    std::condition_variable settled_;  // WaitUntilSynthesised
    std::string pending_;
    bool hasPending_ = false;
    bool busy_ = true;  // loading or synthesising
    bool stop_ = false;
    bool failed_ = false;
    std::uint64_t generation_ = 0;  // bumped by every Speak; old samples carry an old one

    bool outAwake_ = true;  // false while the output rests or is being woken

    std::uint64_t synthGeneration_ = 0;  // worker only
    std::size_t phraseSamples_ = 0;      // worker only

    std::thread worker_;
};

}  // namespace speech
