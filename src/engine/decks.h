#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/play_state.h"
#include "engine/random.h"

namespace engine {

inline constexpr std::array<std::string_view, 11> kColorNames = {"red",   "green", "blue",  "yellow", "brown", "orange",
                                                                 "black", "grey",  "white", "purple", "pink"};
inline constexpr std::array<std::string_view, 5> kShapeNames = {"square", "circle", "triangle", "rectangle", "oval"};
inline constexpr int kColorWrap = 12;
inline constexpr int kShapeWrap = 6;
inline constexpr int kLetterWrap = 27;

// The in-order step: one on, and back to 1 at the wrap value.
int StepInOrder(int counter, int wrap);

// One draw from a deck of n cards into `counter`, never the card in `last`;
// re-seeds before every attempt. A deck of one card gives that card at once.
void DrawCard(Random& random, int n, int& counter, int& last);

// The card rules that need no widget: draws, letter forms and steps.
class Decks {
public:
    Decks(PlayState& state, Random& random) : s_(state), random_(random) {}

    void PickRandomColor();
    void PickRandomShape();
    void PickRandomLetter();
    void PickRandomNumber();

    void LetterFromIndex();
    void CaseStep();

    // A number above a lowered highest number is never shown: the deck
    // starts again at 1 instead.
    void KeepNumberInRange();

    void StepColor() { s_.colorIndex = StepInOrder(s_.colorIndex, kColorWrap); }
    void StepShape() { s_.shapeIndex = StepInOrder(s_.shapeIndex, kShapeWrap); }
    void StepLetter() { s_.letterIndex = StepInOrder(s_.letterIndex, kLetterWrap); }
    void StepNumber() { s_.currentNumber = StepInOrder(s_.currentNumber, s_.maxNumber.value + 1); }

private:
    PlayState& s_;
    Random& random_;
};

}  // namespace engine
