#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace speech {

// 16-bit mono samples at the voice's rate. The voice calls Queue, Clear and
// QueuedSamples under its own lock, so an implementation needs no locking for
// the voice's sake (SDL's audio thread is another matter, which SDL handles).
// Rest and Wake come from the voice's worker alone, outside that lock, and
// never while any of the other three can be called.
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
    static std::unique_ptr<SdlAudioOut> Open(int sampleRate);
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
    int PeriodSamples() const { return periodSamples_; }
    int SampleRate() const { return sampleRate_; }

private:
    SdlAudioOut(std::uint32_t device, int sampleRate, int periodSamples)
        : device_(device), sampleRate_(sampleRate), periodSamples_(periodSamples)
    {}
    static std::uint32_t OpenDevice(int sampleRate, int* periodSamples);
    static void CloseDevice(std::uint32_t device);
    std::uint32_t device_;  // 0 while resting
    int sampleRate_;
    int periodSamples_;
};

}  // namespace speech
