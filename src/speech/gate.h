#pragma once

#include <memory>
#include <string>

#include "speech/voice.h"

namespace speech {

// The one way out to the voice. Say hands a text over only while sound is
// on, returns at once, and swallows every failure of the voice.
class SpeechGate {
public:
    SpeechGate(const bool& sound, const std::unique_ptr<Voice>& voice, const std::string& letterText)
        : sound_(sound), voice_(voice), letterText_(letterText)
    {}

    void Say(std::string text) const noexcept;
    // Speaks the letter card on show, vowels and y in their fixed form.
    void SayLetter() const noexcept;

private:
    const bool& sound_;
    const std::unique_ptr<Voice>& voice_;
    const std::string& letterText_;
};

}  // namespace speech
