#pragma once

#include <QPointer>
#include <functional>
#include <memory>

#include "app/card_view.h"
#include "engine/card_display.h"
#include "engine/decks.h"
#include "engine/play_state.h"
#include "engine/random.h"
#include "engine/reveal_cycle.h"
#include "panel/auto_advance.h"
#include "panel/deck_buttons.h"
#include "panel/deck_mark.h"
#include "panel/settings.h"
#include "speech/gate.h"
#include "ui/form.h"
#include "ui/form2_layout.h"

namespace app {

// The main window ("Form2"), which the child plays in: it owns the controls
// and the play state and joins every event to its handler.
class Form2 : public ui::Form {
    Q_OBJECT
public:
    using VoiceFactory = std::function<std::unique_ptr<speech::Voice>()>;
    // The start-up pause: passes of the event pump before the deck mark shows,
    // every event handled in them; a pass with nothing to do costs under a
    // microsecond, so about a second in all.
    static constexpr int kStartupPasses = 1'200'000;

    explicit Form2(VoiceFactory makeVoice, int startupPasses = kStartupPasses);

    // The window that Close unloads after this one, and that this one stays above.
    void SetBackdrop(ui::Form* backdrop)
    {
        backdrop_ = backdrop;
        StayAbove(backdrop);
    }

    const engine::PlayState& State() const { return state_; }
    const ui::Form2Controls& Controls() const { return c_; }

private:
    void Form_Load();
    void Form_Click();
    void cmd1_Click();

    void cmdColors_Click();
    void cmdShapes_Click();
    void cmdLetters_Click();
    void cmdNumbers_Click();

    void cmdColorsx_KeyUp(int keyCode, int shift);
    void cmdShapesx_KeyUp(int keyCode, int shift);
    void cmdLettersx_KeyUp(int keyCode, int shift);
    void cmdNumbersx_KeyUp(int keyCode, int shift);
    void PressOnSpacebar(engine::Deck deck, int keyCode);
    void lblPress_Click();
    void lblBrix2_Click();

    void ListOrder_Click();
    void ListUpper_Click();
    void ListSound_Click();
    void comboSetMaxNum_Click();
    void comboSetTimer_Click();
    void Text1_Change();
    void Text1_Click();
    void cmdSetName_Click();
    void Timer1_Timer();

    void ConnectHandlers();

    ui::Form2Controls c_;
    ControlsCardView view_;
    engine::PlayState state_;
    engine::Random random_;
    speech::SpeechGate gate_;
    engine::Decks decks_;
    panel::DeckMark mark_;
    engine::CardDisplay display_;
    engine::RevealCycle cycle_;
    panel::DeckButtons deckButtons_;
    panel::Settings settings_;
    panel::AutoAdvance autoAdvance_;

    VoiceFactory makeVoice_;
    int startupPasses_;
    QPointer<ui::Form> backdrop_;
};

}  // namespace app
