#pragma once

#include <array>

#include "engine/play_state.h"
#include "ui/controls.h"

namespace panel {

// The check mark beside the chosen deck and the keyboard focus on that
// deck's key-catcher, which is the only way the spacebar reaches a deck.
class DeckMark {
public:
    struct Deck {
        engine::Deck deck;
        ui::PictureBox* check;
        ui::CommandButton* keyCatcher;
    };

    // Decks in the order they are matched: numbers, letters, shapes, colors.
    DeckMark(const engine::Deck& category, const std::array<Deck, 4>& decks) : category_(category), decks_(decks) {}

    void ShowCategoryCheck();
    void HideCategoryChecks();

private:
    const engine::Deck& category_;
    std::array<Deck, 4> decks_;
};

}  // namespace panel
