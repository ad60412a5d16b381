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

// The card rules: draws, letter forms and steps.
class Decks {
public:
    Decks(const PlayState& state, DeckState& decks, Random& random) : s_(state), d_(decks), random_(random) {}

    void PickRandomColor();
    void PickRandomShape();
    void PickRandomLetter();
    void PickRandomNumber();

    void LetterFromIndex();
    void CaseStep();

    // A number above a lowered highest number is never shown: the deck
    // starts again at 1 instead.
    void KeepNumberInRange();

    void StepColor() { d_.colorIndex = StepInOrder(d_.colorIndex, kColorWrap); }
    void StepShape() { d_.shapeIndex = StepInOrder(d_.shapeIndex, kShapeWrap); }
    void StepLetter() { d_.letterIndex = StepInOrder(d_.letterIndex, kLetterWrap); }
    void StepNumber() { d_.currentNumber = StepInOrder(d_.currentNumber, s_.settings.maxNumber.value + 1); }

    // The deck's counter back to its first card; the other decks keep theirs.
    void Restart(Deck deck);

private:
    const PlayState& s_;
    DeckState& d_;
    Random& random_;
};

}  // namespace engine
