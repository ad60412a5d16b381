#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "speech/audio_out.h"

namespace speech::testing {

// What a voice handed to its audio output, one take per Clear (the voice
// clears on every Speak), and when. With no inner output it plays instantly.
// The voice calls it under its own lock, so the times are exact.
class TapOut final : public AudioOut {
public:
    using Clock = std::chrono::steady_clock;

    explicit TapOut(std::unique_ptr<AudioOut> inner = nullptr, bool keepSamples = true)
        : inner_(std::move(inner)), keepSamples_(keepSamples)
    {}

    void Queue(const std::int16_t* samples, std::size_t count) override
    {
        const auto now = Clock::now();
        std::lock_guard lock(mutex_);
        if (!firstQueue_)
            firstQueue_ = now;
        if (keepSamples_)
            takes_.back().insert(takes_.back().end(), samples, samples + count);
        queuedInTake_ += count;
        total_ += count;
        if (inner_) {
            inner_->Queue(samples, count);
            maxQueued_ = std::max(maxQueued_, inner_->QueuedSamples());
        }
    }
    void Clear() override
    {
        std::lock_guard lock(mutex_);
        const std::size_t queued = inner_ ? inner_->QueuedSamples() : 0;
        playedAtClear_.push_back(queuedInTake_ - std::min(queued, queuedInTake_));
        if (inner_)
            inner_->Clear();
        clearedAt_ = Clock::now();
        leftAfterClear_ = inner_ ? inner_->QueuedSamples() : 0;
        takes_.emplace_back();
        firstQueue_.reset();
        queuedInTake_ = 0;
    }
    std::size_t QueuedSamples() const override
    {
        std::lock_guard lock(mutex_);
        return inner_ ? inner_->QueuedSamples() : 0;
    }

    void Rest() override
    {
        std::lock_guard lock(mutex_);
        ++rests_;
        if (inner_)
            inner_->Rest();
        firstQueue_.reset();  // a Speak to a resting device has no Clear to start the take
    }
    bool Wake() override
    {
        std::lock_guard lock(mutex_);
        ++wakes_;
        const auto start = Clock::now();
        const bool woken = inner_ ? inner_->Wake() : true;
        lastWake_ = Clock::now() - start;
        return woken;
    }
    Clock::duration LastWake() const
    {
        std::lock_guard lock(mutex_);
        return lastWake_;
    }
    // When the first sample since the last Clear (or Rest) was queued.
    std::optional<Clock::time_point> FirstQueue() const
    {
        std::lock_guard lock(mutex_);
        return firstQueue_;
    }
    Clock::time_point ClearedAt() const
    {
        std::lock_guard lock(mutex_);
        return clearedAt_;
    }
    // Old samples still in the inner queue right after the last Clear.
    std::size_t LeftAfterClear() const
    {
        std::lock_guard lock(mutex_);
        return leftAfterClear_;
    }
    std::size_t QueuedInTake() const
    {
        std::lock_guard lock(mutex_);
        return queuedInTake_;
    }
    int Rests() const
    {
        std::lock_guard lock(mutex_);
        return rests_;
    }
    int Wakes() const
    {
        std::lock_guard lock(mutex_);
        return wakes_;
    }

    std::vector<std::int16_t> Take(std::size_t index) const
    {
        std::lock_guard lock(mutex_);
        return index < takes_.size() ? takes_[index] : std::vector<std::int16_t>{};
    }
    std::vector<std::int16_t> LastTake() const
    {
        std::lock_guard lock(mutex_);
        return takes_.back();
    }
    std::size_t TakeCount() const
    {
        std::lock_guard lock(mutex_);
        return takes_.size();
    }
    // Samples of the current take the device has already taken from the queue.
    std::size_t PlayedOfLastTake() const
    {
        std::lock_guard lock(mutex_);
        const std::size_t queued = inner_ ? inner_->QueuedSamples() : 0;
        return queuedInTake_ - std::min(queued, queuedInTake_);
    }
    // For each Clear, how much of the take it ended had left the queue.
    std::vector<std::size_t> PlayedAtClear() const
    {
        std::lock_guard lock(mutex_);
        return playedAtClear_;
    }
    std::size_t Total() const
    {
        std::lock_guard lock(mutex_);
        return total_;
    }
    std::size_t MaxQueued() const
    {
        std::lock_guard lock(mutex_);
        return maxQueued_;
    }

private:
    mutable std::mutex mutex_;
    std::unique_ptr<AudioOut> inner_;
    const bool keepSamples_;
    std::vector<std::vector<std::int16_t>> takes_{1};
    std::vector<std::size_t> playedAtClear_;
    std::size_t queuedInTake_ = 0;
    std::size_t total_ = 0;
    std::size_t maxQueued_ = 0;
    int rests_ = 0;
    int wakes_ = 0;
    Clock::duration lastWake_{};
    std::optional<Clock::time_point> firstQueue_;
    Clock::time_point clearedAt_;
    std::size_t leftAfterClear_ = 0;
};

inline int Peak(std::span<const std::int16_t> samples)
{
    int peak = 0;
    for (std::int16_t s : samples)
        peak = std::max(peak, std::abs(int{s}));
    return peak;
}

inline double Rms(std::span<const std::int16_t> samples)
{
    if (samples.empty())
        return 0;
    double sum = 0;
    for (std::int16_t s : samples)
        sum += static_cast<double>(s) * s;
    return std::sqrt(sum / samples.size());
}

inline std::optional<std::size_t> FirstNonZero(std::span<const std::int16_t> samples)
{
    const auto it = std::find_if(samples.begin(), samples.end(), [](std::int16_t s) { return s != 0; });
    if (it == samples.end())
        return std::nullopt;
    return static_cast<std::size_t>(it - samples.begin());
}

inline std::optional<std::size_t> LastNonZero(std::span<const std::int16_t> samples)
{
    for (std::size_t i = samples.size(); i-- > 0;)
        if (samples[i] != 0)
            return i;
    return std::nullopt;
}

// Where sample 0 of `take` lies in `recording`, found by the take's first
// sound (the leading silence of a take is indistinguishable from the
// device's own).
inline std::optional<std::size_t> FindTake(std::span<const std::int16_t> recording, std::span<const std::int16_t> take,
                                           std::size_t from = 0)
{
    const auto lead = FirstNonZero(take);
    if (!lead)
        return std::nullopt;
    const std::size_t probe = std::min<std::size_t>(256, take.size() - *lead);
    const auto needle = take.subspan(*lead, probe);
    const auto hit = std::search(recording.begin() + std::min(from + *lead, recording.size()), recording.end(),
                                 needle.begin(), needle.end());
    if (hit == recording.end())
        return std::nullopt;
    return static_cast<std::size_t>(hit - recording.begin()) - *lead;
}

}  // namespace speech::testing
