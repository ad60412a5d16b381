// Caller cost of Speak, latency to the first queued sample, and how fast an
// old phrase leaves SDL's queue. Runs on whatever SDL_AUDIODRIVER selects
// (dummy or disk without a sound card, pulseaudio with a server).
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "speech/espeak_voice.h"

namespace {

using Clock = std::chrono::steady_clock;
using speech::EspeakVoice;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Wraps the real SDL output and notes when things happen to it. The voice
// calls it under its own lock, so the timestamps are exact.
class TimingOut final : public speech::AudioOut {
public:
    explicit TimingOut(std::unique_ptr<speech::SdlAudioOut> inner) : inner_(std::move(inner)) {}
    void Queue(const std::int16_t* samples, std::size_t count) override
    {
        const auto now = Clock::now();
        inner_->Queue(samples, count);
        std::lock_guard lock(mutex_);
        if (!first_queue_)
            first_queue_ = now;
        queued_in_take_ += count;
    }
    void Clear() override
    {
        inner_->Clear();
        const auto now = Clock::now();
        const std::size_t left = inner_->QueuedSamples();
        std::lock_guard lock(mutex_);
        cleared_at_ = now;
        left_after_clear_ = left;
        first_queue_.reset();
        queued_in_take_ = 0;
    }
    std::size_t QueuedSamples() const override { return inner_->QueuedSamples(); }
    void Rest() override
    {
        inner_->Rest();
        std::lock_guard lock(mutex_);
        ++rests_;
        first_queue_.reset();  // a Speak to a resting device has no Clear to start the take
    }
    bool Wake() override
    {
        const auto t0 = Clock::now();
        const bool woken = inner_->Wake();
        std::lock_guard lock(mutex_);
        last_wake_ = Clock::now() - t0;
        return woken;
    }
    int Rests() const
    {
        std::lock_guard lock(mutex_);
        return rests_;
    }
    Clock::duration LastWake() const
    {
        std::lock_guard lock(mutex_);
        return last_wake_;
    }

    std::optional<Clock::time_point> FirstQueue() const
    {
        std::lock_guard lock(mutex_);
        return first_queue_;
    }
    Clock::time_point ClearedAt() const
    {
        std::lock_guard lock(mutex_);
        return cleared_at_;
    }
    std::size_t LeftAfterClear() const
    {
        std::lock_guard lock(mutex_);
        return left_after_clear_;
    }
    std::size_t QueuedInTake() const
    {
        std::lock_guard lock(mutex_);
        return queued_in_take_;
    }
    int PeriodSamples() const { return inner_->PeriodSamples(); }

private:
    std::unique_ptr<speech::SdlAudioOut> inner_;
    mutable std::mutex mutex_;
    std::optional<Clock::time_point> first_queue_;
    int rests_ = 0;
    Clock::duration last_wake_{};
    Clock::time_point cleared_at_;
    std::size_t left_after_clear_ = 0;
    std::size_t queued_in_take_ = 0;
};

struct Stats {
    double median, p99, max;
};

Stats Summarise(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[std::min(v.size() - 1, v.size() * 99 / 100)], v.back()};
}

void Print(const char* what, const std::vector<double>& ms, const char* goal)
{
    const Stats s = Summarise(ms);
    std::printf("%-52s median %8.4f ms  p99 %8.4f ms  max %8.4f ms  (n=%zu; goal %s)\n", what, s.median, s.p99, s.max,
                ms.size(), goal);
}

template <typename Pred>
bool WaitFor(Pred pred, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (!pred()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return true;
}

const char* const kLong =
    "quibbet, toddlers, colors, shapes, letters, numbers, red green blue yellow brown orange black grey "
    "white purple pink, square circle triangle rectangle oval";

}  // namespace

int main()
{
    // Cold start, as the program does it: open the device, make the voice, greet.
    const auto t0 = Clock::now();
    auto device = speech::SdlAudioOut::Open();
    if (!device) {
        std::printf("no audio device (SDL: %s)\n", SDL_GetError());
        return 1;
    }
    std::printf("SDL audio driver: %s, 22050 Hz mono S16, period %d samples (%.1f ms)\n", SDL_GetCurrentAudioDriver(),
                device->PeriodSamples(), device->PeriodSamples() * 1000.0 / 22050);
    auto timing = std::make_unique<TimingOut>(std::move(device));
    TimingOut* out = timing.get();
    EspeakVoice voice(std::move(timing));
    const auto made = Clock::now();
    voice.Speak("quibbet, toddlers");
    WaitFor([&] { return out->FirstQueue().has_value(); }, std::chrono::seconds(10));
    std::printf("%-52s %.2f ms\n", "MakeVoice, cold (device open + worker started)", Ms(made - t0));
    std::printf("%-52s %.2f ms (espeak-ng loads on the worker meanwhile)\n",
                "first greeting sample after the voice is made", Ms(*out->FirstQueue() - made));
    voice.WaitUntilSynthesised(std::chrono::seconds(10));
    // Warm creation: a second device and voice while the first one lives.
    std::vector<double> open_ms, make_ms;
    for (int i = 0; i < 5; ++i) {
        const auto t0 = Clock::now();
        auto device = speech::SdlAudioOut::Open();
        const auto t1 = Clock::now();
        if (!device)
            break;
        EspeakVoice other(std::move(device));
        const auto t2 = Clock::now();
        open_ms.push_back(Ms(t1 - t0));
        make_ms.push_back(Ms(t2 - t0));
    }
    if (!open_ms.empty()) {
        Print("MakeVoice, warm: open SDL audio device", open_ms, "-");
        Print("MakeVoice, warm: open device + start voice", make_ms, "< 30 ms");
    }

    // First sample handed to SDL after Speak, idle and busy.
    std::vector<double> first_idle, first_busy;
    for (int i = 0; i < 50; ++i) {
        WaitFor([&] { return out->QueuedSamples() == 0; }, std::chrono::seconds(10));
        const auto t0 = Clock::now();
        voice.Speak(i % 2 ? "timer now set to 4 seconds" : "hello, Anna");
        WaitFor([&] { return out->FirstQueue().has_value(); }, std::chrono::seconds(10));
        first_idle.push_back(Ms(*out->FirstQueue() - t0));
    }
    for (int i = 0; i < 50; ++i) {
        voice.Speak(kLong);
        WaitFor([&] { return out->QueuedInTake() > 22050 / 2; }, std::chrono::seconds(10));
        const auto t0 = Clock::now();
        voice.Speak(i % 2 ? "timer now set to 4 seconds" : "hello, Anna");
        WaitFor([&] { return out->FirstQueue().has_value(); }, std::chrono::seconds(10));
        first_busy.push_back(Ms(*out->FirstQueue() - t0));
    }
    Print("Speak -> first sample queued (voice idle)", first_idle, "< 20 ms");
    Print("Speak -> first sample queued (voice busy)", first_busy, "< 20 ms");

    // Caller cost while the worker is busy: held back by a full queue, or
    // restarting synthesis after the previous call.
    voice.Speak(kLong);
    WaitFor([&] { return out->QueuedSamples() >= EspeakVoice::kMaxSamplesAhead; }, std::chrono::seconds(10));
    std::vector<double> speak_ms;
    for (int i = 0; i < 1000; ++i) {
        const auto t0 = Clock::now();
        voice.Speak(i % 2 ? kLong : "random order");
        speak_ms.push_back(Ms(Clock::now() - t0));
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    Print("Speak on the calling thread (voice busy)", speak_ms, "median < 0.1 ms, max < 1 ms");

    // Cut-off: from a new Speak to the old phrase's last sample leaving SDL's queue.
    std::vector<double> cut_ms;
    std::size_t left_over = 0;
    for (int i = 0; i < 30; ++i) {
        voice.Speak(kLong);
        WaitFor([&] { return out->QueuedSamples() >= EspeakVoice::kMaxSamplesAhead / 2; }, std::chrono::seconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const std::size_t queued_before = out->QueuedSamples();
        const auto t0 = Clock::now();
        voice.Speak("sound off");
        cut_ms.push_back(Ms(out->ClearedAt() - t0));
        left_over = std::max(left_over, out->LeftAfterClear());
        if (queued_before == 0)
            std::printf("warning: nothing was queued before the cut\n");
    }
    Print("Speak -> old phrase gone from SDL's queue", cut_ms, "< 50 ms");
    std::printf("%-52s %zu samples; then at most one period (%.1f ms) still sounds from the device buffer\n",
                "old samples left in the queue after the cut (max)", left_over, out->PeriodSamples() * 1000.0 / 22050);

    // After a pause the device has been let go: Speak opens it again first.
    std::vector<double> wake_ms, first_rested;
    {
        auto device = speech::SdlAudioOut::Open();
        if (!device)
            return 1;
        auto timing = std::make_unique<TimingOut>(std::move(device));
        TimingOut* rested = timing.get();
        EspeakVoice::Options options;
        options.rest_after = std::chrono::milliseconds(50);
        EspeakVoice resting(std::move(timing), options);
        for (int i = 0; i < 20; ++i) {
            const int rests = rested->Rests();
            resting.Speak(i % 2 ? "red" : "hello, Anna");
            resting.WaitUntilSynthesised(std::chrono::seconds(10));
            WaitFor([&] { return rested->Rests() > rests; }, std::chrono::seconds(10));
            const auto t0 = Clock::now();
            resting.Speak("blue");
            WaitFor([&] { return rested->FirstQueue().has_value(); }, std::chrono::seconds(10));
            first_rested.push_back(Ms(*rested->FirstQueue() - t0));
            wake_ms.push_back(Ms(rested->LastWake()));
            resting.WaitUntilSynthesised(std::chrono::seconds(10));
        }
    }
    Print("resting device opened again", wake_ms, "-");
    Print("Speak -> first sample queued (device resting)", first_rested, "< 20 ms");
    return 0;
}
