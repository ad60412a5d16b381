#pragma once

#include "engine/card_display.h"
#include "engine/card_view.h"
#include "engine/decks.h"
#include "engine/play_state.h"
#include "speech/gate.h"

namespace engine {

// The two-press cycle: a press on Reveal shows the next card silently, a
// press on Answer speaks the card on show and steps the deck on.
class RevealCycle {
public:
    RevealCycle(const PlayState& state, CycleState& cycle, Decks& decks, CardDisplay& display,
                const speech::SpeechGate& gate, CardView& view)
        : s_(state), cycle_(cycle), decks_(decks), display_(display), gate_(gate), view_(view)
    {}

    // One press of a deck, whatever deck is in play.
    void Press(Deck deck);
    // The press of the deck in play, for a click on the card and a timer tick.
    void PressCategory() { Press(cycle_.category); }

    // A deck button's two steps here: the deck in play at its start, and the
    // cycle back to a reveal at its end.
    void SetCategory(Deck deck) { cycle_.category = deck; }
    void Restart() { cycle_.pressState = engine::Press::Reveal; }

private:
    void Reveal(Deck deck);
    void Answer(Deck deck);

    const PlayState& s_;
    CycleState& cycle_;
    Decks& decks_;
    CardDisplay& display_;
    const speech::SpeechGate& gate_;
    CardView& view_;
};

}  // namespace engine
