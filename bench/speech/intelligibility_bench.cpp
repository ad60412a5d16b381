// How well the voice is understood: every phrase of the catalogue, the letter
// cards and the number cards are synthesised by the real voice and decoded by
// an offline recogniser (pocketsphinx, en-us model) against a grammar made of
// all of them. A phrase counts when the recogniser hears exactly its words.
//
//   intelligibility_bench [speaker] [text=words ...]
// With texts, only those are tried (to choose a letter's spoken form).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "audio_taps.h"
#include "speech/flite_voice.h"
#include "speech/phrases.h"

namespace {

namespace phrases = speech::phrases;
using speech::FliteVoice;

const char* const kModel = "/usr/share/pocketsphinx/model/en-us/en-us";
const char* const kDictionary = "/usr/share/pocketsphinx/model/en-us/cmudict-en-us.dict";

struct Item {
    std::string group;
    std::string text;   // handed to Speak
    std::string words;  // what a listener should hear
};

const char* const kNumberWords[] = {"",         "one",     "two",     "three",     "four",     "five",     "six",
                                    "seven",    "eight",   "nine",    "ten",       "eleven",   "twelve",   "thirteen",
                                    "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen", "twenty"};

// Letter names only: the article "a" (AH) must not count as the letter.
const std::map<std::string, std::string> kLetterNames = {
    {"a", "EY"},
    {"b", "B IY"},
    {"c", "S IY"},
    {"d", "D IY"},
    {"e", "IY"},
    {"f", "EH F"},
    {"g", "JH IY"},
    {"h", "EY CH"},
    {"i", "AY"},
    {"j", "JH EY"},
    {"k", "K EY"},
    {"l", "EH L"},
    {"m", "EH M"},
    {"n", "EH N"},
    {"o", "OW"},
    {"p", "P IY"},
    {"q", "K Y UW"},
    {"r", "AA R"},
    {"s", "EH S"},
    {"t", "T IY"},
    {"u", "Y UW"},
    {"v", "V IY"},
    {"w", "D AH B AH L Y UW"},
    {"x", "EH K S"},
    {"y", "W AY"},
    {"z", "Z IY"},
};

std::vector<Item> Catalogue()
{
    std::vector<Item> items;
    const auto word = [&](std::string text, std::string words) { items.push_back({"phrases", text, words}); };
    word(std::string(phrases::kGreeting), "quibbet toddlers");
    for (const char* w : {"colors",       "shapes",     "letters",    "numbers",  "red",       "green", "blue",
                          "yellow",       "brown",      "orange",     "black",    "grey",      "white", "purple",
                          "pink",         "square",     "circle",     "triangle", "rectangle", "oval",  "in order",
                          "random order", "lower case", "upper case", "sound on", "sound off"})
        word(w, w);
    word(phrases::Hello(""), "hello");
    word(phrases::Hello("Anna"), "hello anna");
    word(phrases::Timer("off"), "timer now off");
    for (int n = 1; n <= 6; ++n)
        word(phrases::Timer(std::to_string(n)),
             std::string("timer now set to ") + kNumberWords[n] + (n == 1 ? " second" : " seconds"));
    for (int n = 1; n <= 20; ++n)
        word(phrases::MaxNumber(std::to_string(n)), std::string("max number now set to ") + kNumberWords[n]);
    for (int n = 1; n <= 20; ++n)
        items.push_back({"numbers", phrases::Number(n), kNumberWords[n]});
    for (char c = 'A'; c <= 'Z'; ++c)
        items.push_back({"letters", phrases::Letter(std::string(1, c)), std::string(1, char(c - 'A' + 'a'))});
    return items;
}

void WriteWav(const std::string& path, const std::vector<std::int16_t>& samples)
{
    std::ofstream out(path, std::ios::binary);
    const auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    const auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    const std::uint32_t bytes = samples.size() * 2;
    out.write("RIFF", 4);
    u32(36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(FliteVoice::kSampleRate);
    u32(FliteVoice::kSampleRate * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(bytes);
    out.write(reinterpret_cast<const char*>(samples.data()), bytes);
}

// The recogniser's dictionary, cut down to the grammar's words.
bool WriteDictionary(const std::string& path, const std::set<std::string>& words)
{
    std::ifstream in(kDictionary);
    if (!in)
        return false;
    std::ofstream out(path);
    std::string line;
    while (std::getline(in, line)) {
        std::string head = line.substr(0, line.find(' '));
        const std::string base = head.substr(0, head.find('('));
        if (words.count(base) && !kLetterNames.count(base))
            out << line << '\n';
    }
    for (const auto& [letter, sounds] : kLetterNames)
        out << letter << ' ' << sounds << '\n';
    out << "quibbet K W IH B IH T\n";
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string speaker = argc > 1 ? argv[1] : std::string(FliteVoice::kSpeakers[0]);
    std::vector<Item> items;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto eq = arg.find('=');
        if (eq != std::string::npos)
            items.push_back({"tried", arg.substr(0, eq), arg.substr(eq + 1)});
    }
    const std::vector<Item> catalogue = Catalogue();
    if (items.empty())
        items = catalogue;

    char dirTemplate[] = "/tmp/quibbet-intelligibility-XXXXXX";
    if (mkdtemp(dirTemplate) == nullptr)
        return 1;
    const std::string dir = dirTemplate;

    auto tap = std::make_unique<speech::testing::TapOut>();
    auto* out = tap.get();
    FliteVoice voice(std::move(tap), FliteVoice::Options{.speaker = speaker});
    std::ofstream ctl(dir + "/ctl");
    for (std::size_t i = 0; i < items.size(); ++i) {
        voice.Speak(items[i].text);
        voice.WaitUntilSynthesised(std::chrono::seconds(30));
        const std::string id = "u" + std::to_string(i);
        WriteWav(dir + "/" + id + ".wav", out->LastTake());
        ctl << id << '\n';
    }
    ctl.close();
    if (voice.Failed()) {
        std::printf("speaker %s did not load\n", speaker.c_str());
        return 1;
    }

    // One grammar of every phrase the program can say (and the tried forms).
    std::set<std::string> words, alternatives;
    for (const std::vector<Item>* list : {&catalogue, const_cast<const std::vector<Item>*>(&items)})
        for (const Item& item : *list) {
            alternatives.insert(item.words);
            std::istringstream split(item.words);
            for (std::string w; split >> w;)
                words.insert(w);
        }
    {
        std::ofstream grammar(dir + "/phrases.gram");
        grammar << "#JSGF V1.0;\ngrammar phrases;\npublic <phrase> = ";
        bool first = true;
        for (const std::string& a : alternatives) {
            grammar << (first ? "" : " | ") << a;
            first = false;
        }
        grammar << ";\n";
    }
    if (!WriteDictionary(dir + "/dict", words)) {
        std::printf("no recogniser model: install pocketsphinx and pocketsphinx-en-us\n");
        return 1;
    }
    const std::string command = std::string("pocketsphinx_batch -hmm ") + kModel + " -dict " + dir + "/dict -jsgf "
                                + dir + "/phrases.gram -ctl " + dir + "/ctl -cepdir " + dir
                                + " -cepext .wav -adcin yes -adchdr 44 -samprate 16000 -hyp " + dir + "/hyp > " + dir
                                + "/log 2>&1";
    if (std::system(command.c_str()) != 0) {
        std::printf("pocketsphinx_batch failed; see %s/log\n", dir.c_str());
        return 1;
    }

    std::map<std::string, std::string> heard;
    std::ifstream hyp(dir + "/hyp");
    for (std::string line; std::getline(hyp, line);) {
        const auto open = line.rfind(" (");
        if (open == std::string::npos)
            continue;
        const std::string id = line.substr(open + 2, line.find(' ', open + 2) - open - 2);
        heard[id] = line.substr(0, open);
    }
    std::map<std::string, std::pair<int, int>> score;
    std::printf("speaker %s\n", speaker.c_str());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& got = heard["u" + std::to_string(i)];
        auto& [right, all] = score[items[i].group];
        ++all;
        if (got == items[i].words)
            ++right;
        else
            std::printf("  %-8s \"%s\" heard as \"%s\"\n", items[i].group.c_str(), items[i].text.c_str(), got.c_str());
    }
    for (const auto& [group, counts] : score)
        std::printf("%-8s %d of %d heard exactly\n", group.c_str(), counts.first, counts.second);
    std::string remove = "rm -rf " + dir;
    std::system(remove.c_str());
    return 0;
}
