#include "engine/decks.h"

#include <charconv>
#include <cmath>

namespace engine {

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

void Decks::PickRandomColor() { DrawCard(random_, 11, d_.colorIndex, d_.lastColorIndex); }

void Decks::PickRandomShape() { DrawCard(random_, 5, d_.shapeIndex, d_.lastShapeIndex); }

void Decks::PickRandomLetter()
{
    DrawCard(random_, 26, d_.letterIndex, d_.lastLetterIndex);
    LetterFromIndex();
    CaseStep();
}

void Decks::PickRandomNumber() { DrawCard(random_, s_.settings.maxNumber.value, d_.currentNumber, d_.lastNumber); }

void Decks::LetterFromIndex()
{
    if (d_.letterIndex >= 1 && d_.letterIndex <= 26)
        d_.letterText = std::string(1, static_cast<char>('a' + d_.letterIndex - 1));
}

void Decks::CaseStep()
{
    if (s_.settings.letterCase == LetterCase::Lower) {
        for (char& ch : d_.letterText)
            if (ch >= 'A' && ch <= 'Z')
                ch = static_cast<char>(ch - 'A' + 'a');
    }
    if (s_.settings.letterCase == LetterCase::Upper) {
        for (char& ch : d_.letterText)
            if (ch >= 'a' && ch <= 'z')
                ch = static_cast<char>(ch - 'a' + 'A');
    }
}

void Decks::KeepNumberInRange()
{
    if (d_.currentNumber > s_.settings.maxNumber.value)
        d_.currentNumber = 1;
}

void Decks::Restart(Deck deck)
{
    switch (deck) {
    case Deck::Colors: d_.colorIndex = 1; break;
    case Deck::Shapes: d_.shapeIndex = 1; break;
    case Deck::Letters: d_.letterIndex = 1; break;
    case Deck::Numbers: d_.currentNumber = 1; break;
    }
}

}  // namespace engine
