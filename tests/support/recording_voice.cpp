#include "support/recording_voice.h"

#include <functional>

std::pair<std::function<std::unique_ptr<speech::Voice>()>, std::shared_ptr<RecordingVoice::Log>>
RecordingVoice::Factory()
{
    auto log = std::make_shared<Log>();
    return {[log] { return std::unique_ptr<speech::Voice>(new RecordingVoice(log)); }, log};
}
