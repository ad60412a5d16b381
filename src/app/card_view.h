#pragma once

#include <array>
#include <span>

#include "engine/card_view.h"
#include "ui/form2_layout.h"

namespace app {

// The card as the main window's controls show it: the pictures on the card
// frame `shpFlash`, the big label `lblNumberLetter` and the hint `lblBottom`.
class ControlsCardView : public engine::CardView {
public:
    explicit ControlsCardView(const ui::Form2Controls& controls);

    engine::TwipsRect Frame() const override;
    engine::TwipsRect Picture(engine::Deck deck) const override;
    void PlacePictures(engine::Deck deck, float left, float top) override;
    void HidePictures(engine::Deck deck) override;
    void HideShapesBanner() override;
    void ShowPicture(engine::Deck deck, int card) override;
    void SetCaption(std::string_view caption) override;
    void ShowHint() override;

private:
    // The pictures of the colors or the shapes, in deck order; none for the
    // other decks.
    std::span<ui::Image* const> Pictures(engine::Deck deck) const;

    const ui::Form2Controls& c_;
    std::array<ui::Image*, 11> colors_;
    std::array<ui::Image*, 5> shapes_;
};

}  // namespace app
