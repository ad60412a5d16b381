#include "engine/card_display.h"

#include <cmath>
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

void CardDisplay::ShowColor()
{
    HideShapeImages();
    HideColorImages();
    const int index = s_.decks.colorIndex;
    if (index >= 1 && index <= static_cast<int>(kColorNames.size())) {
        view_.ShowPicture(Deck::Colors, index);
        card_.colorName = kColorNames[index - 1];
    }
    showCategoryCheck_();
}

void CardDisplay::ShowShape()
{
    HideShapeImages();
    const int index = s_.decks.shapeIndex;
    if (index >= 1 && index <= static_cast<int>(kShapeNames.size())) {
        view_.ShowPicture(Deck::Shapes, index);
        card_.shapeName = kShapeNames[index - 1];
    }
    showCategoryCheck_();
}

}  // namespace engine
