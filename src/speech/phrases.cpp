#include "speech/phrases.h"

namespace speech::phrases {

std::string Number(int number) { return " " + std::to_string(number); }

std::string Letter(std::string_view letterText)
{
    std::string lower(letterText);
    for (char& ch : lower)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    for (std::string_view vowel : {"a", "e", "i", "o", "u", "y"})
        if (lower == vowel)
            return ", " + lower;
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
