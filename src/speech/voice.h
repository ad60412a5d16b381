#pragma once

#include <memory>
#include <string_view>

namespace speech {

// The program's one use of a text-to-speech engine: speak this text now, in
// the background, dropping whatever is still being spoken or waiting.
// Speak must return at once and must never throw.
class Voice {
public:
    virtual ~Voice() = default;
    virtual void Speak(std::string_view text) = 0;
};

// The real voice (espeak-ng synthesis played through SDL's audio queue), or
// nullptr when no audio device opens. Without espeak-ng's voice data the
// voice is made but stays silent: that is only known once it has loaded on
// its worker, and waiting for it here would hold up the start.
std::unique_ptr<Voice> MakeVoice();

}  // namespace speech
