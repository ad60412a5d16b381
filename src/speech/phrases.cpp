#include "speech/phrases.h"

#include <array>

namespace speech::phrases {
namespace {

// Tried on the default speaker with an offline recogniser (make bench): the
// bare letters are heard no worse than any other form of them that was tried
// (spelt out, "bee", "dee", "zee"; after a comma; with a full stop or "!"),
// so only the vowels and y take a form of their own.
constexpr std::array<std::string_view, 26> kSpokenLetters = {
    ", a", "b",   "c", "d", ", e", "f", "g", "h",   ", i", "j", "k", "l",   "m",
    "n",   ", o", "p", "q", "r",   "s", "t", ", u", "v",   "w", "x", ", y", "z",
};

bool IsVowelOrY(char lower) { return std::string_view("aeiouy").find(lower) != std::string_view::npos; }

}  // namespace

std::string_view SpokenLetter(char letter)
{
    if (letter >= 'A' && letter <= 'Z')
        letter = static_cast<char>(letter - 'A' + 'a');
    if (letter < 'a' || letter > 'z')
        return {};
    return kSpokenLetters[letter - 'a'];
}

std::string Number(int number) { return " " + std::to_string(number); }

std::string Letter(std::string_view letterText)
{
    std::string lower(letterText);
    for (char& ch : lower)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    if (lower.size() == 1 && IsVowelOrY(lower[0]))
        return std::string(SpokenLetter(lower[0]));
    return std::string(letterText);
}

std::string Hello(std::string_view childName) { return "hello, " + std::string(childName); }

std::string MaxNumber(std::string_view item) { return "max number now set to " + std::string(item); }

std::string Timer(std::string_view item)
{
    if (item == "off")
        return "timer now off";
    return "timer now set to " + std::string(item) + (item == "1" ? " second" : " seconds");
}

}  // namespace speech::phrases
