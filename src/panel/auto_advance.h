#pragma once

#include "engine/play_state.h"
#include "engine/reveal_cycle.h"
#include "panel/deck_mark.h"
#include "speech/gate.h"
#include "ui/controls.h"
#include "ui/timer.h"

namespace panel {

// Presses the deck in play once per period, or not at all.
class AutoAdvance {
public:
    AutoAdvance(engine::TimerState& timer, DeckMark& mark, const speech::SpeechGate& gate, engine::RevealCycle& cycle,
                ui::ComboBox* comboSetTimer, ui::TimerControl* Timer1)
        : s_(timer), mark_(mark), gate_(gate), cycle_(cycle), combo_(comboSetTimer), timer_(Timer1)
    {}

    void PeriodPicked();
    // One tick: a press of the deck in play. A failing press ends the tick;
    // the next tick comes on time.
    void Tick() noexcept;

private:
    engine::TimerState& s_;
    DeckMark& mark_;
    const speech::SpeechGate& gate_;
    engine::RevealCycle& cycle_;
    ui::ComboBox* combo_;
    ui::TimerControl* timer_;
};

}  // namespace panel
