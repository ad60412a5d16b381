#include "engine/decks.h"

#include <charconv>
#include <cmath>

namespace engine {

void MaxNumber::SetNumber(int number)
{
    value = number;
    text = std::to_string(number);
}

void MaxNumber::SetItem(const std::string& item)
{
    int parsed = 0;
    std::from_chars(item.data(), item.data() + item.size(), parsed);
    value = parsed;
    text = item;
}

int StepInOrder(int counter, int wrap)
{
    ++counter;
    return counter == wrap ? 1 : counter;
}

void DrawCard(Random& random, int n, int& counter, int& last)
{
    if (n <= 1) {
        counter = 1;
        last = 1;
        return;
    }
    do {
        random.Randomize();
        const double r = random.Rnd();
        counter = static_cast<int>(std::floor(r * n + 1.0));
    } while (counter == last);
    last = counter;
}

void Decks::PickRandomColor() { DrawCard(random_, 11, s_.colorIndex, s_.lastColorIndex); }

void Decks::PickRandomShape() { DrawCard(random_, 5, s_.shapeIndex, s_.lastShapeIndex); }

void Decks::PickRandomLetter()
{
    DrawCard(random_, 26, s_.letterIndex, s_.lastLetterIndex);
    LetterFromIndex();
    CaseStep();
}

void Decks::PickRandomNumber() { DrawCard(random_, s_.maxNumber.value, s_.currentNumber, s_.lastNumber); }

void Decks::LetterFromIndex()
{
    if (s_.letterIndex >= 1 && s_.letterIndex <= 26)
        s_.letterText = std::string(1, static_cast<char>('a' + s_.letterIndex - 1));
}

void Decks::CaseStep()
{
    if (s_.letterCase == "lower") {
        for (char& ch : s_.letterText)
            if (ch >= 'A' && ch <= 'Z')
                ch = static_cast<char>(ch - 'A' + 'a');
    }
    if (s_.letterCase == "upper") {
        for (char& ch : s_.letterText)
            if (ch >= 'a' && ch <= 'z')
                ch = static_cast<char>(ch - 'a' + 'A');
    }
}

void Decks::KeepNumberInRange()
{
    if (s_.currentNumber > s_.maxNumber.value)
        s_.currentNumber = 1;
}

}  // namespace engine
