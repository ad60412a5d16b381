#include "app/form2.h"

#include "speech/phrases.h"
#include "ui/application.h"
#include "ui/try.h"

namespace app {

namespace {

constexpr int kSpacebar = 32;

using engine::Deck;
using ui::Try;

}  // namespace

Form2::Form2(VoiceFactory makeVoice, int startupPasses)
    : ui::Form(QStringLiteral("Form2")),
      c_(ui::BuildForm2(*this)),
      view_(c_),
      gate_(state_.settings.sound, state_.voice, state_.decks.letterText),
      decks_(state_, state_.decks, random_),
      mark_(state_.cycle.category, {{{Deck::Numbers, c_.picNumbersCheck, c_.cmdNumbersx},
                                     {Deck::Letters, c_.picLettersCheck, c_.cmdLettersx},
                                     {Deck::Shapes, c_.picShapesCheck, c_.cmdShapesx},
                                     {Deck::Colors, c_.picColorsCheck, c_.cmdColorsx}}}),
      display_(state_, state_.card, view_, [this] { mark_.ShowCategoryCheck(); }),
      cycle_(state_, state_.cycle, decks_, display_, gate_, view_),
      deckButtons_(mark_, gate_, cycle_, decks_, display_, view_),
      settings_(state_.settings, mark_, gate_, random_,
                {c_.ListOrder, c_.ListUpper, c_.ListSound, c_.comboSetMaxNum, c_.Text1}),
      autoAdvance_(state_.timer, mark_, gate_, cycle_, c_.comboSetTimer, c_.Timer1),
      makeVoice_(std::move(makeVoice)),
      startupPasses_(startupPasses)
{
    ConnectHandlers();
}

void Form2::ConnectHandlers()
{
    connect(this, &ui::Form::Load, this, &Form2::Form_Load);
    connect(this, &ui::Form::Click, this, &Form2::Form_Click);
    connect(c_.cmd1, &ui::CommandButton::Click, this, &Form2::cmd1_Click);
    connect(c_.cmdColors, &ui::CommandButton::Click, this, &Form2::cmdColors_Click);
    connect(c_.cmdShapes, &ui::CommandButton::Click, this, &Form2::cmdShapes_Click);
    connect(c_.cmdLetters, &ui::CommandButton::Click, this, &Form2::cmdLetters_Click);
    connect(c_.cmdNumbers, &ui::CommandButton::Click, this, &Form2::cmdNumbers_Click);
    connect(c_.cmdColorsx, &ui::CommandButton::KeyUp, this, &Form2::cmdColorsx_KeyUp);
    connect(c_.cmdShapesx, &ui::CommandButton::KeyUp, this, &Form2::cmdShapesx_KeyUp);
    connect(c_.cmdLettersx, &ui::CommandButton::KeyUp, this, &Form2::cmdLettersx_KeyUp);
    connect(c_.cmdNumbersx, &ui::CommandButton::KeyUp, this, &Form2::cmdNumbersx_KeyUp);
    connect(c_.lblPress, &ui::Label::Click, this, &Form2::lblPress_Click);
    connect(c_.lblBrix2, &ui::Label::Click, this, &Form2::lblBrix2_Click);
    connect(c_.ListOrder, &ui::ListBox::Click, this, &Form2::ListOrder_Click);
    connect(c_.ListUpper, &ui::ListBox::Click, this, &Form2::ListUpper_Click);
    connect(c_.ListSound, &ui::ListBox::Click, this, &Form2::ListSound_Click);
    connect(c_.comboSetMaxNum, &ui::ComboBox::Click, this, &Form2::comboSetMaxNum_Click);
    connect(c_.comboSetTimer, &ui::ComboBox::Click, this, &Form2::comboSetTimer_Click);
    connect(c_.Text1, &ui::TextBox::Change, this, &Form2::Text1_Change);
    connect(c_.Text1, &ui::TextBox::Click, this, &Form2::Text1_Click);
    connect(c_.cmdSetName, &ui::CommandButton::Click, this, &Form2::cmdSetName_Click);
    connect(c_.Timer1, &ui::TimerControl::Timer, this, &Form2::Timer1_Timer);
}

void Form2::Form_Load()
{
    Try([&] { SetTopmost(); });
    Try([&] { state_.voice = makeVoice_ ? makeVoice_() : nullptr; });
    // The rest of the play state was made with its start values: the next
    // press reveals, numbers from 1 up to 10, sound on, in order, upper case,
    // and the five one-shot flags set for the selections below.
    Try([&] { c_.lblNumberLetter->setVisible(true); });
    Try([&] { display_.CenterShapeImages(); });
    Try([&] { display_.CenterColorImages(); });
    Try([&] { gate_.Say(std::string(speech::phrases::kGreeting)); });
    Try([&] { c_.comboSetTimer->SetListIndex(0); });
    Try([&] { c_.comboSetMaxNum->SetListIndex(9); });
    Try([&] { c_.ListOrder->SetSelected(0); });
    Try([&] { c_.ListUpper->SetSelected(1); });
    Try([&] { c_.ListSound->SetSelected(0); });
    Try([&] { Show(); });
    // Events keep flowing through the pause; a Close in it ends the run, and
    // nothing after it may touch the unloaded window.
    for (int pass = 1; pass <= startupPasses_; ++pass) {
        Try([] { ui::DoEvents(); });
        if (!IsLoaded())
            return;
    }
    Try([&] { c_.picNumbersCheck->setVisible(true); });
    Try([&] { Show(); });
}

void Form2::Form_Click() { mark_.ShowCategoryCheck(); }

void Form2::cmd1_Click()
{
    Unload();
    if (backdrop_)
        backdrop_->Unload();
}

void Form2::cmdColors_Click() { deckButtons_.Choose(Deck::Colors); }
void Form2::cmdShapes_Click() { deckButtons_.Choose(Deck::Shapes); }
void Form2::cmdLetters_Click() { deckButtons_.Choose(Deck::Letters); }
void Form2::cmdNumbers_Click() { deckButtons_.Choose(Deck::Numbers); }

// Each key-catcher presses its own deck, whatever deck is in play.
void Form2::PressOnSpacebar(Deck deck, int keyCode)
{
    if (keyCode == kSpacebar)
        cycle_.Press(deck);
}

void Form2::cmdColorsx_KeyUp(int keyCode, int) { PressOnSpacebar(Deck::Colors, keyCode); }
void Form2::cmdShapesx_KeyUp(int keyCode, int) { PressOnSpacebar(Deck::Shapes, keyCode); }
void Form2::cmdLettersx_KeyUp(int keyCode, int) { PressOnSpacebar(Deck::Letters, keyCode); }
void Form2::cmdNumbersx_KeyUp(int keyCode, int) { PressOnSpacebar(Deck::Numbers, keyCode); }

void Form2::lblPress_Click() { cycle_.PressCategory(); }
// Connected on purpose, and empty: a click on the web address does nothing,
// and as the label keeps the click it is no click on the window either.
void Form2::lblBrix2_Click() {}

void Form2::ListOrder_Click() { settings_.OrderPicked(); }
void Form2::ListUpper_Click() { settings_.CasePicked(); }
void Form2::ListSound_Click() { settings_.SoundPicked(); }
void Form2::comboSetMaxNum_Click() { settings_.MaxNumberPicked(); }
void Form2::comboSetTimer_Click() { autoAdvance_.PeriodPicked(); }
void Form2::Text1_Change() { settings_.NameChanged(); }
void Form2::Text1_Click() { settings_.NameClicked(); }
void Form2::cmdSetName_Click() { settings_.SetName(); }
void Form2::Timer1_Timer() { autoAdvance_.Tick(); }

}  // namespace app
