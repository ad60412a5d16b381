#pragma once

#include <array>
#include <functional>

#include "engine/play_state.h"
#include "ui/controls.h"

namespace engine {

// The pictures on the card frame.
struct CardPictures {
    std::array<ui::Image*, 11> colors;  // deck order, red to pink
    std::array<ui::Image*, 5> shapes;   // deck order, square to oval
    ui::Image* shapesBanner;
    ui::Shape* frame;
};

// Places, hides and shows the card pictures. Showing a picture card ends by
// putting the deck mark and the keyboard focus right, through the hook.
class CardDisplay {
public:
    CardDisplay(PlayState& state, const CardPictures& pictures, std::function<void()> showCategoryCheck)
        : s_(state), p_(pictures), showCategoryCheck_(std::move(showCategoryCheck))
    {}

    void CenterShapeImages();
    void CenterColorImages();
    void HideColorImages();
    void HideShapeImages();
    void HideShapesPanel();
    void ShowColor();
    void ShowShape();

private:
    template <std::size_t N>
    void Center(const std::array<ui::Image*, N>& images);

    PlayState& s_;
    CardPictures p_;
    std::function<void()> showCategoryCheck_;
};

}  // namespace engine
