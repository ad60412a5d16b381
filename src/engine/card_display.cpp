#include "engine/card_display.h"

#include <cmath>
#include <span>
#include <stdexcept>

#include "engine/decks.h"

namespace engine {

void CardDisplay::Center(Deck deck)
{
    const TwipsRect frame = view_.Frame();
    const TwipsRect reference = view_.Picture(deck);
    const double left = frame.width / 2.0 + frame.left - reference.width / 2.0;
    if (!std::isfinite(left))
        throw std::runtime_error("card position");
    card_.imageLeft = static_cast<float>(left);
    const double top = frame.height / 2.0 + frame.top - reference.height / 2.0;
    if (!std::isfinite(top))
        throw std::runtime_error("card position");
    card_.imageTop = static_cast<float>(top);
    view_.PlacePictures(deck, card_.imageLeft, card_.imageTop);
}

void CardDisplay::HideShapesPanel()
{
    view_.HideShapesBanner();
    view_.HidePictures(Deck::Shapes);
}

void CardDisplay::Show(Deck deck)
{
    const bool colors = deck == Deck::Colors;
    HideShapeImages();
    // No color picture can be on show in the shapes deck.
    if (colors)
        HideColorImages();
    using Names = std::span<const std::string_view>;
    const Names names = colors ? Names(kColorNames) : Names(kShapeNames);
    const int index = colors ? s_.decks.colorIndex : s_.decks.shapeIndex;
    if (index >= 1 && index <= static_cast<int>(names.size())) {
        view_.ShowPicture(deck, index);
        (colors ? card_.colorName : card_.shapeName) = names[index - 1];
    }
    showCategoryCheck_();
}

}  // namespace engine
