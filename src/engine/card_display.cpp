#include "engine/card_display.h"

#include <cmath>
#include <stdexcept>

#include "engine/decks.h"

namespace engine {

template <std::size_t N>
void CardDisplay::Center(const std::array<ui::Image*, N>& images)
{
    const ui::Image* reference = images.front();
    const double left = ui::Width(p_.frame) / 2.0 + ui::Left(p_.frame) - ui::Width(reference) / 2.0;
    if (!std::isfinite(left))
        throw std::runtime_error("card position");
    s_.imageLeft = static_cast<float>(left);
    const double top = ui::Height(p_.frame) / 2.0 + ui::Top(p_.frame) - ui::Height(reference) / 2.0;
    if (!std::isfinite(top))
        throw std::runtime_error("card position");
    s_.imageTop = static_cast<float>(top);
    for (ui::Image* image : images) {
        ui::SetLeft(image, s_.imageLeft);
        ui::SetTop(image, s_.imageTop);
    }
}

void CardDisplay::CenterShapeImages() { Center(p_.shapes); }

void CardDisplay::CenterColorImages() { Center(p_.colors); }

void CardDisplay::HideColorImages()
{
    for (ui::Image* image : p_.colors)
        image->setVisible(false);
}

void CardDisplay::HideShapeImages()
{
    for (ui::Image* image : p_.shapes)
        image->setVisible(false);
}

void CardDisplay::HideShapesPanel()
{
    p_.shapesBanner->setVisible(false);
    for (ui::Image* image : p_.shapes)
        image->setVisible(false);
}

void CardDisplay::ShowColor()
{
    HideShapeImages();
    HideColorImages();
    if (s_.colorIndex >= 1 && s_.colorIndex <= static_cast<int>(p_.colors.size())) {
        p_.colors[s_.colorIndex - 1]->setVisible(true);
        s_.colorName = kColorNames[s_.colorIndex - 1];
    }
    showCategoryCheck_();
}

void CardDisplay::ShowShape()
{
    HideShapeImages();
    if (s_.shapeIndex >= 1 && s_.shapeIndex <= static_cast<int>(p_.shapes.size())) {
        p_.shapes[s_.shapeIndex - 1]->setVisible(true);
        s_.shapeName = kShapeNames[s_.shapeIndex - 1];
    }
    showCategoryCheck_();
}

}  // namespace engine
