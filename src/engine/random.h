#pragma once

#include <cstdint>
#include <functional>

namespace engine {

// The draw's random generator. Re-seeding from the clock mixes in a count of
// the re-seeds, so draws repeated within one tick of a standing clock still
// differ and the no-repeat loop never waits for the clock to move.
class Random {
public:
    using Clock = std::function<std::uint64_t()>;

    Random();
    explicit Random(Clock clock);

    void Randomize();
    // The next value r, 0 <= r < 1, in single precision.
    float Rnd();

private:
    std::uint64_t Next();

    Clock clock_;
    std::uint64_t state_ = 0;
    std::uint64_t reseeds_ = 0;
};

}  // namespace engine
