#pragma once

#include <functional>

#include "engine/card_view.h"
#include "engine/play_state.h"

namespace engine {

// Places, hides and shows the card pictures. Showing a picture card ends by
// putting the deck mark and the keyboard focus right, through the hook.
class CardDisplay {
public:
    CardDisplay(const PlayState& state, CardState& card, CardView& view, std::function<void()> showCategoryCheck)
        : s_(state), card_(card), view_(view), showCategoryCheck_(std::move(showCategoryCheck))
    {}

    void CenterShapeImages() { Center(Deck::Shapes); }
    void CenterColorImages() { Center(Deck::Colors); }
    void HideColorImages() { view_.HidePictures(Deck::Colors); }
    void HideShapeImages() { view_.HidePictures(Deck::Shapes); }
    void HideShapesPanel();
    void ShowColor() { Show(Deck::Colors); }
    void ShowShape() { Show(Deck::Shapes); }

private:
    void Center(Deck deck);
    // Shows the picture of the deck's counter and records its name.
    void Show(Deck deck);

    const PlayState& s_;
    CardState& card_;
    CardView& view_;
    std::function<void()> showCategoryCheck_;
};

}  // namespace engine
