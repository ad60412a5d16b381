#pragma once

#include "engine/card_display.h"
#include "engine/decks.h"
#include "engine/play_state.h"
#include "speech/gate.h"
#include "ui/controls.h"

namespace engine {

// The two-press cycle: a press on "y" reveals the next card silently, a
// press on "n" speaks the card on show and steps the deck on.
class RevealCycle {
public:
    RevealCycle(PlayState& state, Decks& decks, CardDisplay& display, const speech::SpeechGate& gate,
                ui::Label* lblNumberLetter, ui::Label* lblBottom)
        : s_(state),
          decks_(decks),
          display_(display),
          gate_(gate),
          lblNumberLetter_(lblNumberLetter),
          lblBottom_(lblBottom)
    {}

    void PressColors();
    void PressShapes();
    void PressLetters();
    void PressNumbers();
    // The press of the deck in play, for a click on the card and a timer tick.
    void PressCategory();

private:
    template <class Reveal, class Answer>
    void Press(Reveal reveal, Answer answer);

    void RevealColor();
    void RevealShape();
    void RevealLetter();
    void RevealNumber();
    void AnswerColor();
    void AnswerShape();
    void AnswerLetter();
    void AnswerNumber();

    PlayState& s_;
    Decks& decks_;
    CardDisplay& display_;
    const speech::SpeechGate& gate_;
    ui::Label* lblNumberLetter_;
    ui::Label* lblBottom_;
};

}  // namespace engine
