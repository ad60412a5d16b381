#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "speech/voice.h"

namespace speech {

// 16-bit mono samples at EspeakVoice::kSampleRate. The voice calls Queue,
// Clear and QueuedSamples under its own lock, so an implementation needs no
// locking for the voice's sake (SDL's audio thread is another matter, which
// SDL handles). Rest and Wake come from the voice's worker alone, outside that
// lock, and never while any of the other three can be called.
class AudioOut {
public:
    virtual ~AudioOut() = default;
    virtual void Queue(const std::int16_t* samples, std::size_t count) = 0;
    virtual void Clear() = 0;
    virtual std::size_t QueuedSamples() const = 0;
    // Nothing is queued and nothing has been for a while: let the device go,
    // so that an idle program costs no CPU. Wake gets it back before the next
    // Queue; false when it cannot, and that phrase goes unheard.
    virtual void Rest() {}
    virtual bool Wake() { return true; }
};

// SDL's audio queue on the default output device.
class SdlAudioOut final : public AudioOut {
public:
    // nullptr when SDL's audio cannot start or no output device opens.
    static std::unique_ptr<SdlAudioOut> Open();
    ~SdlAudioOut() override;
    SdlAudioOut(const SdlAudioOut&) = delete;
    SdlAudioOut& operator=(const SdlAudioOut&) = delete;

    void Queue(const std::int16_t* samples, std::size_t count) override;
    void Clear() override;
    std::size_t QueuedSamples() const override;
    // Closes the device; SDL's audio stays initialised so Wake is quick.
    void Rest() override;
    bool Wake() override;
    // Samples SDL hands the driver per period: what can still sound after a Clear.
    int PeriodSamples() const { return period_samples_; }

private:
    SdlAudioOut(std::uint32_t device, int period_samples) : device_(device), period_samples_(period_samples) {}
    static std::uint32_t OpenDevice(int* period_samples);
    static void CloseDevice(std::uint32_t device);
    std::uint32_t device_;  // 0 while resting
    int period_samples_;
};

// The text exactly as espeak-ng will get it: valid UTF-8 only, every control
// character (C0, DEL, C1) turned into a space so none can act as an embedded
// command, cut at a character boundary to at most kMaxTextBytes.
std::string PlainSpeechText(std::string_view text);

class EspeakVoice final : public Voice {
public:
    static constexpr int kSampleRate = 22050;
    // About half a minute of speech; far beyond any phrase or name a toddler hears.
    static constexpr std::size_t kMaxTextBytes = 500;
    // The worker stops synthesising while this much is waiting to be played.
    static constexpr std::size_t kMaxSamplesAhead = kSampleRate;

    struct Options {
        // The directory holding espeak-ng-data; empty for the installed data.
        // (espeak-ng falls back to the installed data when the directory has
        // no espeak-ng-data.) espeak-ng loads once per process, so only the
        // first voice that loads it successfully decides.
        std::string data_path;
        int words_per_minute = 140;
        // How long the output stays open with nothing to play. SDL keeps
        // feeding an open device silence, which costs about 1 % of a core.
        std::chrono::milliseconds rest_after{2000};
    };

    // Returns at once; espeak-ng loads on the worker, and texts spoken before
    // it is ready are kept (the newest one).
    explicit EspeakVoice(std::unique_ptr<AudioOut> out);
    EspeakVoice(std::unique_ptr<AudioOut> out, Options options);
    ~EspeakVoice() override;
    EspeakVoice(const EspeakVoice&) = delete;
    EspeakVoice& operator=(const EspeakVoice&) = delete;

    void Speak(std::string_view text) noexcept override;

    // For tests and benchmarks: true once espeak-ng is loaded (or failed to
    // load) and every text handed to Speak has been queued or dropped.
    // Playback may still be going on.
    bool WaitUntilSynthesised(std::chrono::milliseconds timeout);
    // espeak-ng could not load or synthesise; the voice is silent for good.
    bool Failed() const;

private:
    void Run();
    void WaitForText(std::unique_lock<std::mutex>& lock);
    std::unique_lock<std::mutex> LockEngine(std::uint64_t generation);
    bool Load();
    void Synthesise(const std::string& text, std::uint64_t generation);
    int OnSamples(std::int16_t* samples, int count);
    static int Deliver(short* samples, int count);

    const Options options_;
    std::unique_ptr<AudioOut> out_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;     // the worker: new text, stop, or time to recheck the queue
    std::condition_variable settled_;  // WaitUntilSynthesised
    std::string pending_;
    bool has_pending_ = false;
    bool busy_ = true;  // loading or synthesising
    bool stop_ = false;
    bool failed_ = false;
    std::uint64_t generation_ = 0;  // bumped by every Speak; old samples carry an old one

    bool out_awake_ = true;  // false while the output rests or is being woken

    std::uint64_t synth_generation_ = 0;  // worker only

    std::thread worker_;
};

}  // namespace speech
