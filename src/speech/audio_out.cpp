#include "speech/audio_out.h"

#include <new>

#include <SDL.h>

namespace speech {
namespace {

// About 30 ms at the voice's rate: what can still sound after a cut.
constexpr int kSdlPeriodSamples = 512;

}  // namespace

std::uint32_t SdlAudioOut::OpenDevice(int sampleRate, int* periodSamples)
{
    SDL_AudioSpec want{};
    want.freq = sampleRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = kSdlPeriodSamples;
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to whatever the device really wants.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device != 0) {
        *periodSamples = have.samples;
        SDL_PauseAudioDevice(device, 0);
    }
    return device;
}

void SdlAudioOut::CloseDevice(std::uint32_t device)
{
    // Nothing left to play and the device stopped first: closing a playing
    // PulseAudio stream otherwise waits for it to drain.
    SDL_ClearQueuedAudio(device);
    SDL_PauseAudioDevice(device, 1);
    SDL_CloseAudioDevice(device);
}

std::unique_ptr<SdlAudioOut> SdlAudioOut::Open(int sampleRate)
{
    // SDL would otherwise turn SIGINT and SIGTERM into SDL_QUIT events that
    // nobody reads, and the program could no longer be stopped by them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Quibbet");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;
    int period = 0;
    const std::uint32_t device = OpenDevice(sampleRate, &period);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    auto* out = new (std::nothrow) SdlAudioOut(device, sampleRate, period);
    if (out == nullptr) {
        CloseDevice(device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    return std::unique_ptr<SdlAudioOut>(out);
}

SdlAudioOut::~SdlAudioOut()
{
    if (device_ != 0)
        CloseDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioOut::Rest()
{
    if (device_ == 0)
        return;
    CloseDevice(device_);
    device_ = 0;
}

bool SdlAudioOut::Wake()
{
    if (device_ == 0)
        device_ = OpenDevice(sampleRate_, &periodSamples_);
    return device_ != 0;
}

void SdlAudioOut::Queue(const std::int16_t* samples, std::size_t count)
{
    if (device_ != 0)
        SDL_QueueAudio(device_, samples, static_cast<Uint32>(count * sizeof(std::int16_t)));
}

void SdlAudioOut::Clear()
{
    if (device_ != 0)
        SDL_ClearQueuedAudio(device_);
}

std::size_t SdlAudioOut::QueuedSamples() const
{
    return device_ != 0 ? SDL_GetQueuedAudioSize(device_) / sizeof(std::int16_t) : 0;
}

}  // namespace speech
