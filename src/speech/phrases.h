#pragma once

#include <string>
#include <string_view>

// Every text the program speaks that is more than a fixed word.
namespace speech::phrases {

inline constexpr std::string_view kGreeting = "quibbet, toddlers";

// A number card: one blank, then its digits (" 7").
std::string Number(int number);
// A letter card: vowels and y as ", a" whatever the case on show, every
// other letter exactly as shown.
std::string Letter(std::string_view letterText);
// How the voice says a letter handed to it alone, 'A' to 'Z' or 'a' to 'z':
// the vowels and y in the form above, every other letter as the voice says it
// right (some spelt out, "zee"). Empty for anything that is not a letter.
std::string_view SpokenLetter(char letter);
std::string Hello(std::string_view childName);
std::string MaxNumber(std::string_view item);
// "timer now off", "timer now set to 1 second", "timer now set to 4 seconds".
std::string Timer(std::string_view item);

}  // namespace speech::phrases
