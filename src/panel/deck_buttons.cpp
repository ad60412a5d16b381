#include "panel/deck_buttons.h"

namespace panel {

void DeckButtons::Choose(engine::Deck deck)
{
    // What is heard, in the order of engine::Deck.
    static constexpr const char* kNames[] = {"colors", "shapes", "letters", "numbers"};

    cycle_.SetCategory(deck);
    mark_.ShowCategoryCheck();
    gate_.Say(kNames[static_cast<int>(deck)]);
    // The colors clear their own pictures first, every other deck the shapes.
    if (deck == engine::Deck::Colors) {
        display_.HideColorImages();
        display_.HideShapesPanel();
    } else {
        display_.HideShapesPanel();
        display_.HideColorImages();
    }
    view_.SetCaption("");
    decks_.Restart(deck);
    cycle_.Restart();
}

}  // namespace panel
