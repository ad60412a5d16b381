#include "speech/gate.h"

#include "speech/phrases.h"

namespace speech {

void SpeechGate::Say(std::string text) const noexcept
{
    try {
        if (!sound_)
            return;
        if (voice_)
            voice_->Speak(text);
    } catch (...) {}
}

void SpeechGate::SayLetter() const noexcept
{
    try {
        Say(phrases::Letter(letterText_));
    } catch (...) {}
}

}  // namespace speech
