#include "panel/deck_mark.h"

namespace panel {

void DeckMark::HideCategoryChecks()
{
    for (const Deck& deck : decks_)
        deck.check->setVisible(false);
}

void DeckMark::ShowCategoryCheck()
{
    HideCategoryChecks();
    for (const Deck& deck : decks_) {
        if (category_ == deck.deck) {
            deck.check->setVisible(true);
            deck.keyCatcher->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

}  // namespace panel
