#pragma once

#include <string_view>

#include "speech/voice.h"

// A voice that takes every text and keeps none, where what is said does not
// matter and a log would only grow.
class SilentVoice : public speech::Voice {
public:
    void Speak(std::string_view) override {}
};
