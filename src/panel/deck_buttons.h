#pragma once

#include "engine/card_display.h"
#include "engine/card_view.h"
#include "engine/decks.h"
#include "engine/play_state.h"
#include "engine/reveal_cycle.h"
#include "panel/deck_mark.h"
#include "speech/gate.h"

namespace panel {

// Choosing a deck names it, marks it, clears the card and starts the deck
// again from its first card.
class DeckButtons {
public:
    DeckButtons(DeckMark& mark, const speech::SpeechGate& gate, engine::RevealCycle& cycle, engine::Decks& decks,
                engine::CardDisplay& display, engine::CardView& view)
        : mark_(mark), gate_(gate), cycle_(cycle), decks_(decks), display_(display), view_(view)
    {}

    void Choose(engine::Deck deck);

private:
    DeckMark& mark_;
    const speech::SpeechGate& gate_;
    engine::RevealCycle& cycle_;
    engine::Decks& decks_;
    engine::CardDisplay& display_;
    engine::CardView& view_;
};

}  // namespace panel
