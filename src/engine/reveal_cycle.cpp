#include "engine/reveal_cycle.h"

#include <string>

#include "speech/phrases.h"

namespace engine {

void RevealCycle::Press(Deck deck)
{
    // The state moves on only once the step has run, so a press that fails
    // part-way is tried again whole by the next one.
    if (cycle_.pressState == engine::Press::Reveal) {
        Reveal(deck);
        cycle_.pressState = engine::Press::Answer;
    } else {
        Answer(deck);
        cycle_.pressState = engine::Press::Reveal;
    }
}

void RevealCycle::Reveal(Deck deck)
{
    const bool random = s_.settings.randomOrder;
    switch (deck) {
    case Deck::Colors:
        if (random)
            decks_.PickRandomColor();
        display_.ShowColor();
        break;
    case Deck::Shapes:
        if (random)
            decks_.PickRandomShape();
        display_.ShowShape();
        break;
    case Deck::Letters:
        if (random) {
            decks_.PickRandomLetter();
        } else {
            decks_.LetterFromIndex();
            decks_.CaseStep();
        }
        view_.SetCaption(s_.decks.letterText);
        break;
    case Deck::Numbers:
        if (random)
            decks_.PickRandomNumber();
        else
            decks_.KeepNumberInRange();
        view_.SetCaption(std::to_string(s_.decks.currentNumber));
        break;
    }
}

void RevealCycle::Answer(Deck deck)
{
    switch (deck) {
    case Deck::Colors:
        display_.ShowColor();
        gate_.Say(s_.card.colorName);
        decks_.StepColor();
        break;
    case Deck::Shapes:
        display_.ShowShape();
        gate_.Say(s_.card.shapeName);
        decks_.StepShape();
        break;
    case Deck::Letters:
        gate_.SayLetter();
        decks_.StepLetter();
        break;
    case Deck::Numbers:
        view_.ShowHint();
        gate_.Say(speech::phrases::Number(s_.decks.currentNumber));
        decks_.StepNumber();
        break;
    }
}

}  // namespace engine
