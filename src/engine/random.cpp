#include "engine/random.h"

#include <chrono>

namespace engine {

namespace {

std::uint64_t SplitMix(std::uint64_t x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

std::uint64_t SystemClock()
{
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

}  // namespace

Random::Random() : Random(SystemClock) {}

Random::Random(Clock clock) : clock_(std::move(clock)) { Randomize(); }

void Random::Randomize()
{
    ++reseeds_;
    state_ = SplitMix(clock_() ^ SplitMix(reseeds_));
}

std::uint64_t Random::Next()
{
    state_ += 0x9e3779b97f4a7c15ULL;
    return SplitMix(state_);
}

float Random::Rnd()
{
    // 24 bits fill a float's mantissa exactly, so the result stays below 1.
    return static_cast<float>(Next() >> 40) * (1.0f / 16777216.0f);
}

}  // namespace engine
