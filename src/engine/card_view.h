#pragma once

#include <string_view>

#include "engine/play_state.h"

namespace engine {

// A rectangle in twips, relative to the container of the card controls.
struct TwipsRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// What the card frame can do, as the play rules see it: a caption, a
// picture by card, or nothing. The main window implements it over its
// controls. The picture decks are the colors and the shapes.
class CardView {
public:
    virtual ~CardView() = default;

    // The card frame, and the size every picture of a deck shares.
    virtual TwipsRect Frame() const = 0;
    virtual TwipsRect Picture(Deck deck) const = 0;
    // Puts every picture of the deck at one place.
    virtual void PlacePictures(Deck deck, float left, float top) = 0;

    virtual void HidePictures(Deck deck) = 0;
    // The banner picture of the shapes, which is never shown.
    virtual void HideShapesBanner() = 0;
    // Card 1 up to the deck's size.
    virtual void ShowPicture(Deck deck, int card) = 0;

    // The big label that carries a letter or number card.
    virtual void SetCaption(std::string_view caption) = 0;
    // The hint under the card, shown from the first number answered on.
    virtual void ShowHint() = 0;
};

}  // namespace engine
