#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "speech/voice.h"

// A voice that keeps every text handed to it, for tests.
class RecordingVoice : public speech::Voice {
public:
    using Log = std::vector<std::string>;

    explicit RecordingVoice(std::shared_ptr<Log> log) : log_(std::move(log)) {}
    void Speak(std::string_view text) override { log_->emplace_back(text); }

    // A factory for the main window, and the log it will fill.
    static std::pair<std::function<std::unique_ptr<speech::Voice>()>, std::shared_ptr<Log>> Factory();

private:
    std::shared_ptr<Log> log_;
};
