#include "panel/deck_buttons.h"

namespace panel {

void DeckButtons::Choose(Deck deck)
{
    struct Row {
        const char* category;
        int engine::PlayState::*counter;
        bool colorsFirst;
    };
    static constexpr Row kRows[] = {
        {"colors", &engine::PlayState::colorIndex, true},
        {"shapes", &engine::PlayState::shapeIndex, false},
        {"letters", &engine::PlayState::letterIndex, false},
        {"numbers", &engine::PlayState::currentNumber, false},
    };
    const Row& row = kRows[static_cast<int>(deck)];

    s_.category = row.category;
    mark_.ShowCategoryCheck();
    gate_.Say(row.category);
    if (row.colorsFirst) {
        display_.HideColorImages();
        display_.HideShapesPanel();
    } else {
        display_.HideShapesPanel();
        display_.HideColorImages();
    }
    lblNumberLetter_->SetCaption(QString());
    s_.*row.counter = 1;
    s_.pressState = "y";
}

}  // namespace panel
