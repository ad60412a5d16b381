#pragma once

#include "engine/card_display.h"
#include "engine/play_state.h"
#include "panel/deck_mark.h"
#include "speech/gate.h"
#include "ui/controls.h"

namespace panel {

enum class Deck { Colors, Shapes, Letters, Numbers };

// Choosing a deck names it, marks it, clears the card and starts the deck
// again from its first card.
class DeckButtons {
public:
    DeckButtons(engine::PlayState& state, DeckMark& mark, const speech::SpeechGate& gate, engine::CardDisplay& display,
                ui::Label* lblNumberLetter)
        : s_(state), mark_(mark), gate_(gate), display_(display), lblNumberLetter_(lblNumberLetter)
    {}

    void Choose(Deck deck);

private:
    engine::PlayState& s_;
    DeckMark& mark_;
    const speech::SpeechGate& gate_;
    engine::CardDisplay& display_;
    ui::Label* lblNumberLetter_;
};

}  // namespace panel
