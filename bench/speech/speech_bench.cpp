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

#include "audio_taps.h"
#include "speech/flite_voice.h"

namespace {

using Clock = std::chrono::steady_clock;
using speech::FliteVoice;
using TimingOut = speech::testing::TapOut;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

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
// The greeting of "Set Name" with a 30-character name.
const char* const kHelloLongName = "hello, Anna-Lena Maria Sophie Schmidt";

}  // namespace

int main()
{
    // Cold start, as the program does it: open the device, make the voice, greet.
    const auto start = Clock::now();
    auto device = speech::SdlAudioOut::Open(FliteVoice::kSampleRate);
    if (!device) {
        std::printf("no audio device (SDL: %s)\n", SDL_GetError());
        return 1;
    }
    const double periodMs = device->PeriodSamples() * 1000.0 / FliteVoice::kSampleRate;
    std::printf("SDL audio driver: %s, %d Hz mono S16, period %d samples (%.1f ms)\n", SDL_GetCurrentAudioDriver(),
                FliteVoice::kSampleRate, device->PeriodSamples(), periodMs);
    auto timing = std::make_unique<TimingOut>(std::move(device), false);
    TimingOut* out = timing.get();
    FliteVoice voice(std::move(timing));
    const auto made = Clock::now();
    voice.Speak("quibbet, toddlers");
    WaitFor([&] { return out->FirstQueue().has_value(); }, std::chrono::seconds(10));
    std::printf("%-52s %.2f ms\n", "MakeVoice, cold (device open + worker started)", Ms(made - start));
    std::printf("%-52s %.2f ms (flite's speaker loads on the worker meanwhile)\n",
                "first greeting sample after the voice is made", Ms(*out->FirstQueue() - made));
    voice.WaitUntilSynthesised(std::chrono::seconds(10));
    // Warm creation: a second device and voice while the first one lives.
    std::vector<double> openMs, makeMs;
    for (int i = 0; i < 5; ++i) {
        const auto t0 = Clock::now();
        auto other = speech::SdlAudioOut::Open(FliteVoice::kSampleRate);
        const auto t1 = Clock::now();
        if (!other)
            break;
        FliteVoice otherVoice(std::move(other));
        const auto t2 = Clock::now();
        openMs.push_back(Ms(t1 - t0));
        makeMs.push_back(Ms(t2 - t0));
    }
    if (!openMs.empty()) {
        Print("MakeVoice, warm: open SDL audio device", openMs, "-");
        Print("MakeVoice, warm: open device + start voice", makeMs, "< 30 ms");
    }

    // First sample handed to SDL after Speak, idle and busy.
    const auto firstSample = [&](const char* text, bool busy) {
        std::vector<double> ms;
        for (int i = 0; i < 50; ++i) {
            if (busy) {
                voice.Speak(kLong);
                WaitFor([&] { return out->QueuedInTake() > FliteVoice::kSampleRate / 2; }, std::chrono::seconds(10));
            } else {
                // The worker idle; the last phrase may still be playing.
                voice.WaitUntilSynthesised(std::chrono::seconds(10));
            }
            const auto t0 = Clock::now();
            voice.Speak(text);
            WaitFor([&] { return out->FirstQueue().has_value(); }, std::chrono::seconds(10));
            ms.push_back(Ms(*out->FirstQueue() - t0));
        }
        return ms;
    };
    Print("Speak -> first sample queued: \"sound on\"", firstSample("sound on", false), "median < 20 ms");
    Print("Speak -> first sample queued: \"hello, \" + 30 chars", firstSample(kHelloLongName, false), "median < 20 ms");
    Print("Speak -> first sample queued: \"timer now set to 4 seconds\"",
          firstSample("timer now set to 4 seconds", false), "median < 20 ms");
    Print("the same, \"sound on\", while a long text plays", firstSample("sound on", true), "median < 20 ms");
    Print("the same, \"hello, \" + 30 chars, while a long text plays", firstSample(kHelloLongName, true),
          "median < 20 ms");

    // Caller cost while the worker is busy: held back by a full queue, or
    // restarting synthesis after the previous call.
    voice.Speak(kLong);
    WaitFor([&] { return out->QueuedSamples() >= FliteVoice::kMaxSamplesAhead; }, std::chrono::seconds(10));
    std::vector<double> speakMs;
    for (int i = 0; i < 1000; ++i) {
        const auto t0 = Clock::now();
        voice.Speak(i % 2 ? kLong : "random order");
        speakMs.push_back(Ms(Clock::now() - t0));
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    Print("Speak on the calling thread (voice busy)", speakMs, "median < 0.1 ms, max < 1 ms");

    // Cut-off: from a new Speak to the old phrase's last sample leaving SDL's queue.
    std::vector<double> cutMs;
    std::size_t leftOver = 0;
    for (int i = 0; i < 30; ++i) {
        voice.Speak(kLong);
        WaitFor([&] { return out->QueuedSamples() >= FliteVoice::kMaxSamplesAhead / 2; }, std::chrono::seconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const std::size_t queuedBefore = out->QueuedSamples();
        const auto t0 = Clock::now();
        voice.Speak("sound off");
        cutMs.push_back(Ms(out->ClearedAt() - t0));
        leftOver = std::max(leftOver, out->LeftAfterClear());
        if (queuedBefore == 0)
            std::printf("warning: nothing was queued before the cut\n");
    }
    Print("Speak -> old phrase gone from SDL's queue", cutMs, "< 1 ms");
    std::printf("%-52s %zu samples; then at most one period (%.1f ms) still sounds from the device buffer\n",
                "old samples left in the queue after the cut (max)", leftOver, periodMs);

    // After a pause the device has been let go: Speak opens it again first.
    std::vector<double> wakeMs, firstRested;
    {
        auto restingDevice = speech::SdlAudioOut::Open(FliteVoice::kSampleRate);
        if (!restingDevice)
            return 1;
        auto restingTap = std::make_unique<TimingOut>(std::move(restingDevice), false);
        TimingOut* rested = restingTap.get();
        FliteVoice::Options options;
        options.restAfter = std::chrono::milliseconds(50);
        FliteVoice resting(std::move(restingTap), options);
        for (int i = 0; i < 20; ++i) {
            const int rests = rested->Rests();
            resting.Speak(i % 2 ? "red" : "hello, Anna");
            resting.WaitUntilSynthesised(std::chrono::seconds(10));
            WaitFor([&] { return rested->Rests() > rests; }, std::chrono::seconds(10));
            const auto t0 = Clock::now();
            resting.Speak("blue");
            WaitFor([&] { return rested->FirstQueue().has_value(); }, std::chrono::seconds(10));
            firstRested.push_back(Ms(*rested->FirstQueue() - t0));
            wakeMs.push_back(Ms(rested->LastWake()));
            resting.WaitUntilSynthesised(std::chrono::seconds(10));
        }
    }
    Print("resting device opened again", wakeMs, "-");
    Print("Speak -> first sample queued (device resting)", firstRested, "< 20 ms");
    return 0;
}
