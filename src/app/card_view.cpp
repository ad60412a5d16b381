#include "app/card_view.h"

#include <QString>

namespace app {

namespace {

engine::TwipsRect Rect(const QWidget* control)
{
    return {ui::Left(control), ui::Top(control), ui::Width(control), ui::Height(control)};
}

}  // namespace

ControlsCardView::ControlsCardView(const ui::Form2Controls& controls)
    : c_(controls), colors_(controls.ColorImages()), shapes_(controls.ShapeImages())
{}

std::span<ui::Image* const> ControlsCardView::Pictures(engine::Deck deck) const
{
    switch (deck) {
    case engine::Deck::Colors: return colors_;
    case engine::Deck::Shapes: return shapes_;
    default: return {};
    }
}

engine::TwipsRect ControlsCardView::Frame() const { return Rect(c_.shpFlash); }

// Only the deck's first picture is measured: they all have one size.
engine::TwipsRect ControlsCardView::Picture(engine::Deck deck) const { return Rect(Pictures(deck).front()); }

void ControlsCardView::PlacePictures(engine::Deck deck, float left, float top)
{
    for (ui::Image* image : Pictures(deck)) {
        ui::SetLeft(image, left);
        ui::SetTop(image, top);
    }
}

void ControlsCardView::HidePictures(engine::Deck deck)
{
    for (ui::Image* image : Pictures(deck))
        image->setVisible(false);
}

void ControlsCardView::HideShapesBanner() { c_.imgShapes->setVisible(false); }

void ControlsCardView::ShowPicture(engine::Deck deck, int card) { Pictures(deck)[card - 1]->setVisible(true); }

void ControlsCardView::SetCaption(std::string_view caption)
{
    c_.lblNumberLetter->SetCaption(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
}

void ControlsCardView::ShowHint() { c_.lblBottom->setVisible(true); }

}  // namespace app
