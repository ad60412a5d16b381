#include "speech/espeak_voice.h"

#include <algorithm>
#include <new>

#include <SDL.h>
#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

namespace speech {
namespace {

// espeak-ng keeps its state in globals, and 1.51 cannot be loaded twice in a
// process: after espeak_ng_Terminate and a new load, the next Terminate waits
// forever for its own fifo thread. So it is loaded at most once per process,
// never terminated, and used by one voice at a time under this lock.
struct Engine {
    std::mutex in_use;
    bool loaded = false;  // espeak_ng_Initialize succeeded: it must not run again
    bool usable = false;
    int words_per_minute = 0;
};

Engine& TheEngine()
{
    static Engine engine;
    return engine;
}

// Small, so the first samples of a phrase reach the queue within milliseconds.
constexpr int kEspeakBufferMs = 20;
constexpr int kSdlPeriodSamples = 512;
constexpr auto kRecheck = std::chrono::milliseconds(10);

// espeak's callback has no useful context of its own; in synchronous mode it
// runs on the thread that called espeak_ng_Synthesize.
thread_local EspeakVoice* t_synthesising = nullptr;

bool IsControl(char32_t c) { return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F); }

}  // namespace

std::string PlainSpeechText(std::string_view text)
{
    std::string out;
    out.reserve(std::min(text.size(), EspeakVoice::kMaxTextBytes));
    // Garbage that yields no output must not cost time in proportion to its size.
    const std::size_t scan_limit = std::min(text.size(), 4 * EspeakVoice::kMaxTextBytes);
    std::size_t i = 0;
    while (i < scan_limit) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        }
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (valid) {
            const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
            valid = !overlong && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
        }
        if (!valid) {
            ++i;  // resynchronise on the next byte
            continue;
        }
        const bool control = IsControl(code);
        if (out.size() + (control ? 1 : length) > EspeakVoice::kMaxTextBytes)
            break;
        if (control)
            out.push_back(' ');  // keeps the words on either side apart
        else
            out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

std::uint32_t SdlAudioOut::OpenDevice(int* period_samples)
{
    SDL_AudioSpec want{};
    want.freq = EspeakVoice::kSampleRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = kSdlPeriodSamples;
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to whatever the device really wants.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device != 0) {
        *period_samples = have.samples;
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

std::unique_ptr<SdlAudioOut> SdlAudioOut::Open()
{
    // SDL would otherwise turn SIGINT and SIGTERM into SDL_QUIT events that
    // nobody reads, and the program could no longer be stopped by them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Quibbet");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;
    int period = 0;
    const std::uint32_t device = OpenDevice(&period);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    auto* out = new (std::nothrow) SdlAudioOut(device, period);
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
        device_ = OpenDevice(&period_samples_);
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

EspeakVoice::EspeakVoice(std::unique_ptr<AudioOut> out) : EspeakVoice(std::move(out), Options{}) {}

EspeakVoice::EspeakVoice(std::unique_ptr<AudioOut> out, Options options)
    : options_(std::move(options)), out_(std::move(out))
{
    worker_ = std::thread(&EspeakVoice::Run, this);
}

EspeakVoice::~EspeakVoice()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void EspeakVoice::Speak(std::string_view text) noexcept
{
    try {
        std::string plain = PlainSpeechText(text);
        {
            std::lock_guard lock(mutex_);
            pending_.swap(plain);
            has_pending_ = true;
            ++generation_;
            // Under the same lock as every Queue: once this returns, no sample
            // of an older text can reach the device. A resting output holds none.
            if (out_awake_)
                out_->Clear();
        }
        wake_.notify_one();
    } catch (...) {
        // Out of memory: this text goes unspoken, the program goes on.
    }
}

bool EspeakVoice::WaitUntilSynthesised(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return settled_.wait_for(lock, timeout, [&] { return !busy_ && !has_pending_; });
}

bool EspeakVoice::Failed() const
{
    std::lock_guard lock(mutex_);
    return failed_;
}

std::unique_lock<std::mutex> EspeakVoice::LockEngine(std::uint64_t generation)
{
    std::unique_lock engine(TheEngine().in_use, std::try_to_lock);
    // Only a second voice alive at the same time waits here, perhaps for a long
    // phrase; give up as soon as this voice is stopping or has a newer text.
    while (!engine.owns_lock()) {
        {
            std::lock_guard lock(mutex_);
            if (stop_ || generation_ != generation)
                break;
        }
        std::this_thread::sleep_for(kRecheck);
        engine.try_lock();
    }
    return engine;
}

bool EspeakVoice::Load()
{
    Engine& engine = TheEngine();
    if (!engine.loaded) {
        espeak_ng_InitializePath(options_.data_path.empty() ? nullptr : options_.data_path.c_str());
        espeak_ng_ERROR_CONTEXT context = nullptr;
        // Not espeak_Initialize: that prints the failure to stderr (or exits).
        const espeak_ng_STATUS status = espeak_ng_Initialize(&context);
        if (context != nullptr)
            espeak_ng_ClearErrorContext(&context);
        if (status != ENS_OK)
            return false;
        engine.loaded = true;
        engine.usable = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, kEspeakBufferMs, nullptr) == ENS_OK
                        && espeak_ng_GetSampleRate() == kSampleRate && espeak_ng_SetVoiceByName("en-us") == ENS_OK
                        && espeak_ng_SetParameter(espeakVOLUME, 100, 0) == ENS_OK;
        espeak_SetSynthCallback([](short* samples, int count, espeak_EVENT*) { return Deliver(samples, count); });
    }
    if (!engine.usable)
        return false;
    if (engine.words_per_minute != options_.words_per_minute) {
        if (espeak_ng_SetParameter(espeakRATE, options_.words_per_minute, 0) != ENS_OK)
            return false;
        engine.words_per_minute = options_.words_per_minute;
    }
    return true;
}

void EspeakVoice::Run()
{
    bool loaded = false;
    if (auto engine = LockEngine(0); engine.owns_lock())
        loaded = Load();
    std::unique_lock lock(mutex_);
    failed_ = !loaded;
    for (;;) {
        busy_ = false;
        settled_.notify_all();
        WaitForText(lock);
        if (stop_)
            return;
        std::string text = std::move(pending_);
        pending_.clear();
        has_pending_ = false;
        busy_ = true;
        const std::uint64_t generation = generation_;
        const bool failed = failed_;
        const bool speak = !failed && !text.empty();
        if (speak && !out_awake_) {
            lock.unlock();
            const bool woken = out_->Wake();
            lock.lock();
            out_awake_ = woken;
        }
        lock.unlock();
        if (speak)
            Synthesise(text, generation);
        text = {};
        lock.lock();
    }
}

void EspeakVoice::WaitForText(std::unique_lock<std::mutex>& lock)
{
    const auto ready = [&] { return stop_ || has_pending_; };
    using Clock = std::chrono::steady_clock;
    auto quiet_since = Clock::now();
    while (out_awake_ && !ready()) {
        // A quarter of a second late to rest costs nothing; checking often would.
        if (wake_.wait_for(lock, std::chrono::milliseconds(250), ready))
            return;
        if (out_->QueuedSamples() != 0) {
            quiet_since = Clock::now();
            continue;
        }
        if (Clock::now() - quiet_since < options_.rest_after)
            continue;
        // Speak leaves a resting output alone, so closing it, which can take
        // a while, need not hold up the caller.
        out_awake_ = false;
        lock.unlock();
        out_->Rest();
        lock.lock();
    }
    wake_.wait(lock, ready);
}

void EspeakVoice::Synthesise(const std::string& text, std::uint64_t generation)
{
    auto engine = LockEngine(generation);
    // Load again: another voice of this process may have changed the rate.
    if (!engine.owns_lock() || !Load())
        return;
    synth_generation_ = generation;
    t_synthesising = this;
    // Plain text only: no espeakSSML, no espeakPHONEMES.
    espeak_ng_Synthesize(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
    t_synthesising = nullptr;
}

int EspeakVoice::Deliver(short* samples, int count)
{
    EspeakVoice* voice = t_synthesising;
    if (voice == nullptr)
        return 1;
    if (samples == nullptr)
        return 0;  // end of the phrase
    return voice->OnSamples(samples, count);
}

int EspeakVoice::OnSamples(std::int16_t* samples, int count)
{
    std::unique_lock lock(mutex_);
    const auto abandoned = [&] { return stop_ || generation_ != synth_generation_; };
    if (abandoned())
        return 1;
    if (!out_awake_)
        return 1;  // the output could not be woken: nobody would hear the rest
    if (count > 0)
        out_->Queue(samples, static_cast<std::size_t>(count));
    // Back-pressure: synthesis runs far ahead of playback, and a long text
    // would otherwise pile up in SDL's queue.
    while (out_->QueuedSamples() > kMaxSamplesAhead) {
        wake_.wait_for(lock, kRecheck);
        if (abandoned())
            return 1;
    }
    return 0;
}

std::unique_ptr<Voice> MakeVoice()
{
    try {
        auto out = SdlAudioOut::Open();
        if (!out)
            return nullptr;
        return std::make_unique<EspeakVoice>(std::move(out));
    } catch (...) {
        return nullptr;  // no thread could be started
    }
}

}  // namespace speech
