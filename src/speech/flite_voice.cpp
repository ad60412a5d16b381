#include "speech/flite_voice.h"

#include <dlfcn.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <map>

#include <flite/flite.h>

#include "speech/phrases.h"

namespace speech {

// flite's callbacks are plain C functions; they reach the voice that is
// synthesising on this thread.
struct FliteCallbacks {
    static thread_local FliteVoice* synthesising;

    static int Deliver(const cst_wave* wave, int start, int size, int /*last*/, cst_audio_streaming_info*)
    {
        FliteVoice* voice = synthesising;
        if (voice == nullptr || wave == nullptr)
            return CST_AUDIO_STREAM_STOP;
        return voice->OnSamples(wave->samples + start, size, wave->sample_rate) ? CST_AUDIO_STREAM_CONT
                                                                                : CST_AUDIO_STREAM_STOP;
    }
};

thread_local FliteVoice* FliteCallbacks::synthesising = nullptr;

namespace {

constexpr auto kRecheck = std::chrono::milliseconds(10);

// flite keeps its voices and its error handler in globals, so it is used by
// one voice at a time under this lock. The libraries are opened at run time,
// so that a machine without them still runs the program, silently; once
// opened they stay, and each speaker is registered once and kept.
struct Engine {
    std::mutex inUse;
    bool apiLoaded = false;
    int (*init)() = nullptr;
    cst_wave* (*textToWave)(const char*, cst_voice*) = nullptr;
    void (*deleteWave)(cst_wave*) = nullptr;
    cst_audio_streaming_info* (*newStreamingInfo)() = nullptr;
    cst_val* (*streamingInfoVal)(const cst_audio_streaming_info*) = nullptr;
    void (*featSet)(cst_features*, const char*, const cst_val*) = nullptr;
    jmp_buf** errorJump = nullptr;
    std::map<std::string, cst_voice*, std::less<>> speakers;  // nullptr: missing or broken
};

Engine& TheEngine()
{
    static Engine engine;
    return engine;
}

template <typename F>
bool Find(void* library, const char* name, F* function)
{
    *function = reinterpret_cast<F>(dlsym(library, name));
    return *function != nullptr;
}

bool LoadApi(Engine& engine, void* library)
{
    if (engine.apiLoaded)
        return true;
    engine.apiLoaded = Find(library, "flite_init", &engine.init)
                       && Find(library, "flite_text_to_wave", &engine.textToWave)
                       && Find(library, "delete_wave", &engine.deleteWave)
                       && Find(library, "new_audio_streaming_info", &engine.newStreamingInfo)
                       && Find(library, "audio_streaming_info_val", &engine.streamingInfoVal)
                       && Find(library, "feat_set", &engine.featSet) && Find(library, "cst_errjmp", &engine.errorJump);
    if (engine.apiLoaded)
        engine.init();
    return engine.apiLoaded;
}

cst_voice* RegisterSpeaker(Engine& engine, const std::string& speaker)
{
    const std::string file = "libflite_" + speaker + ".so.1";
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return nullptr;
    cst_voice* (*registerVoice)(const char*) = nullptr;
    if (!LoadApi(engine, library) || !Find(library, ("register_" + speaker).c_str(), &registerVoice))
        return nullptr;  // the library stays open: a voice library cannot be unloaded safely
    cst_voice* voice = registerVoice(nullptr);
    if (voice == nullptr)
        return nullptr;
    cst_audio_streaming_info* streaming = engine.newStreamingInfo();
    streaming->asc = &FliteCallbacks::Deliver;
    engine.featSet(voice->features, "streaming_info", engine.streamingInfoVal(streaming));
    return voice;
}

cst_voice* LoadSpeaker(const std::string& speaker)
{
    Engine& engine = TheEngine();
    auto known = engine.speakers.find(speaker);
    if (known == engine.speakers.end())
        known = engine.speakers.emplace(speaker, RegisterSpeaker(engine, speaker)).first;
    return known->second;
}

// flite's fatal errors exit the process unless an error handler is set; with
// it they come back here and that utterance is dropped. Nothing with a
// destructor may live in this frame.
bool SynthesisePiece(const Engine& engine, cst_voice* voice, const char* text)
{
    jmp_buf handler;
    jmp_buf* const outer = *engine.errorJump;
    *engine.errorJump = &handler;
    if (setjmp(handler) != 0) {
        *engine.errorJump = outer;
        return false;
    }
    cst_wave* wave = engine.textToWave(text, voice);
    *engine.errorJump = outer;
    if (wave != nullptr)
        engine.deleteWave(wave);
    return true;
}

bool IsControl(char32_t c) { return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F); }

bool IsWordChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

bool HasWord(std::string_view text) { return std::any_of(text.begin(), text.end(), IsWordChar); }

// Latin-1's letters U+00C0 to U+00FF by their base letters; "" for the two signs among them.
constexpr std::string_view kLatinLetters[64] = {
    "A", "A", "A", "A", "A", "A", "AE", "C", "E",  "E",  "E", "E", "I", "I", "I", "I", "D",  "N", "O",  "O", "O", "O",
    "O", "",  "O", "U", "U", "U", "U",  "Y", "TH", "ss", "a", "a", "a", "a", "a", "a", "ae", "c", "e",  "e", "e", "e",
    "i", "i", "i", "i", "d", "n", "o",  "o", "o",  "o",  "o", "",  "o", "u", "u", "u", "u",  "y", "th", "y",
};

}  // namespace

std::string PlainSpeechText(std::string_view text)
{
    std::string out;
    out.reserve(std::min(text.size(), FliteVoice::kMaxTextBytes));
    // Garbage that yields no output must not cost time in proportion to its size.
    const std::size_t scanLimit = std::min(text.size(), 4 * FliteVoice::kMaxTextBytes);
    std::size_t i = 0;
    while (i < scanLimit) {
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
        if (out.size() + (control ? 1 : length) > FliteVoice::kMaxTextBytes)
            break;
        if (control)
            out.push_back(' ');  // keeps the words on either side apart
        else
            out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

std::string AsciiSpeechText(std::string_view plain)
{
    std::string out;
    out.reserve(plain.size());
    for (std::size_t i = 0; i < plain.size();) {
        const auto lead = static_cast<unsigned char>(plain[i]);
        if (lead < 0x80) {
            out.push_back(plain[i]);
            ++i;
            continue;
        }
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (lead == 0xC3 && i + 1 < plain.size()) {
            const std::string_view letter = kLatinLetters[static_cast<unsigned char>(plain[i + 1]) - 0x80];
            out.append(letter.empty() ? std::string_view(" ") : letter);
        } else {
            out.push_back(' ');
        }
        i += length;
    }
    return out;
}

std::vector<std::string> SpeechPieces(std::string_view ascii)
{
    const auto first = ascii.find_first_not_of(' ');
    const auto last = ascii.find_last_not_of(' ');
    if (first != std::string_view::npos && first == last) {
        const char c = ascii[first];
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
            return {std::string(phrases::SpokenLetter(c))};
    }
    std::vector<std::string> pieces;
    std::string piece;
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        const char c = ascii[i];
        piece.push_back(c);
        const bool clauseEnd = (c == ',' || c == '.' || c == ';' || c == ':' || c == '!' || c == '?')
                               && i + 1 < ascii.size() && ascii[i + 1] == ' ';
        if (clauseEnd && HasWord(piece) && HasWord(ascii.substr(i + 1))) {
            pieces.push_back(std::move(piece));
            piece.clear();
        } else if (piece.size() >= FliteVoice::kMaxPieceChars) {
            const auto blank = piece.rfind(' ');
            if (blank == std::string::npos || blank == 0) {
                pieces.push_back(std::move(piece));
                piece.clear();
            } else {
                pieces.push_back(piece.substr(0, blank));
                piece.erase(0, blank);
            }
        }
    }
    if (!piece.empty())
        pieces.push_back(std::move(piece));
    return pieces;
}

FliteVoice::FliteVoice(std::unique_ptr<AudioOut> out) : FliteVoice(std::move(out), Options{}) {}

FliteVoice::FliteVoice(std::unique_ptr<AudioOut> out, Options options)
    : options_(std::move(options)), out_(std::move(out))
{
    worker_ = std::thread(&FliteVoice::Run, this);
}

FliteVoice::~FliteVoice()
{
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void FliteVoice::Speak(std::string_view text) noexcept
{
    try {
        std::string plain = PlainSpeechText(text);
        {
            std::lock_guard lock(mutex_);
            pending_.swap(plain);
            hasPending_ = true;
            ++generation_;
            // Under the same lock as every Queue: once this returns, no sample
            // of an older text can reach the device. A resting output holds none.
            if (outAwake_)
                out_->Clear();
        }
        wake_.notify_one();
    } catch (...) {
        // Out of memory: this text goes unspoken, the program goes on.
    }
}

bool FliteVoice::WaitUntilSynthesised(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return settled_.wait_for(lock, timeout, [&] { return !busy_ && !hasPending_; });
}

bool FliteVoice::Failed() const
{
    std::lock_guard lock(mutex_);
    return failed_;
}

std::unique_lock<std::mutex> FliteVoice::LockEngine(std::uint64_t generation)
{
    std::unique_lock engine(TheEngine().inUse, std::try_to_lock);
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

void FliteVoice::Run()
{
    bool loaded = false;
    if (auto engine = LockEngine(0); engine.owns_lock())
        loaded = LoadSpeaker(options_.speaker) != nullptr;
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
        hasPending_ = false;
        busy_ = true;
        const std::uint64_t generation = generation_;
        const bool speak = !failed_ && !text.empty();
        if (speak && !outAwake_) {
            lock.unlock();
            const bool woken = out_->Wake();
            lock.lock();
            outAwake_ = woken;
        }
        lock.unlock();
        if (speak)
            Synthesise(text, generation);
        text = {};
        lock.lock();
    }
}

void FliteVoice::WaitForText(std::unique_lock<std::mutex>& lock)
{
    const auto ready = [&] { return stop_ || hasPending_; };
    using Clock = std::chrono::steady_clock;
    auto quietSince = Clock::now();
    while (outAwake_ && !ready()) {
        // A quarter of a second late to rest costs nothing; checking often would.
        if (wake_.wait_for(lock, std::chrono::milliseconds(250), ready))
            return;
        if (out_->QueuedSamples() != 0) {
            quietSince = Clock::now();
            continue;
        }
        if (Clock::now() - quietSince < options_.restAfter)
            continue;
        // Speak leaves a resting output alone, so closing it, which can take
        // a while, need not hold up the caller.
        outAwake_ = false;
        lock.unlock();
        out_->Rest();
        lock.lock();
    }
    wake_.wait(lock, ready);
}

void FliteVoice::Synthesise(const std::string& text, std::uint64_t generation)
{
    const std::vector<std::string> pieces = SpeechPieces(AsciiSpeechText(text));
    auto engine = LockEngine(generation);
    if (!engine.owns_lock())
        return;
    cst_voice* voice = LoadSpeaker(options_.speaker);
    if (voice == nullptr)
        return;
    synthGeneration_ = generation;
    phraseSamples_ = 0;
    FliteCallbacks::synthesising = this;
    for (const std::string& piece : pieces) {
        {
            std::lock_guard lock(mutex_);
            if (stop_ || generation_ != generation || !outAwake_ || phraseSamples_ >= kMaxPhraseSamples)
                break;
        }
        if (!SynthesisePiece(TheEngine(), voice, piece.c_str()))
            break;
    }
    FliteCallbacks::synthesising = nullptr;
}

bool FliteVoice::OnSamples(const std::int16_t* samples, int count, int sampleRate)
{
    std::unique_lock lock(mutex_);
    const auto abandoned = [&] { return stop_ || generation_ != synthGeneration_; };
    if (abandoned() || sampleRate != kSampleRate)
        return false;
    if (!outAwake_)
        return false;  // the output could not be woken: nobody would hear the rest
    if (count > 0) {
        const std::size_t room = kMaxPhraseSamples - std::min(phraseSamples_, kMaxPhraseSamples);
        const std::size_t take = std::min(static_cast<std::size_t>(count), room);
        out_->Queue(samples, take);
        phraseSamples_ += take;
        if (phraseSamples_ >= kMaxPhraseSamples)
            return false;
    }
    // Back-pressure: synthesis runs far ahead of playback, and a long text
    // would otherwise pile up in SDL's queue.
    while (out_->QueuedSamples() > kMaxSamplesAhead) {
        wake_.wait_for(lock, kRecheck);
        if (abandoned())
            return false;
    }
    return true;
}

namespace {

std::string SpeakerFromEnvironment()
{
    const char* chosen = std::getenv("QUIBBET_VOICE");
    if (chosen == nullptr || *chosen == '\0')
        return std::string(FliteVoice::kSpeakers[0]);
    for (std::string_view speaker : FliteVoice::kSpeakers)
        if (speaker == chosen)
            return std::string(speaker);
    std::fprintf(stderr,
                 "quibbet: QUIBBET_VOICE=%s is not one of cmu_us_rms, cmu_us_slt, cmu_us_awb; using cmu_us_rms\n",
                 chosen);
    return std::string(FliteVoice::kSpeakers[0]);
}

}  // namespace

std::unique_ptr<Voice> MakeVoice()
{
    try {
        FliteVoice::Options options;
        options.speaker = SpeakerFromEnvironment();
        auto out = SdlAudioOut::Open(FliteVoice::kSampleRate);
        if (!out)
            return nullptr;
        return std::make_unique<FliteVoice>(std::move(out), std::move(options));
    } catch (...) {
        return nullptr;  // no thread could be started
    }
}

}  // namespace speech
