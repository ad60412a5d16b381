#pragma once

#include "engine/play_state.h"
#include "engine/random.h"
#include "panel/deck_mark.h"
#include "speech/gate.h"
#include "ui/controls.h"

namespace panel {

// True, and the flag emptied, when this is the one click that start-up
// raises by selecting the control's start item.
bool SwallowOnce(bool& flag);

struct SettingsControls {
    ui::ListBox* ListOrder;
    ui::ListBox* ListUpper;
    ui::ListBox* ListSound;
    ui::ComboBox* comboSetMaxNum;
    ui::TextBox* Text1;
};

// The settings of the panel: each pick stored, confirmed aloud, and the
// keyboard focus given back to the deck.
class Settings {
public:
    Settings(engine::SettingsState& settings, DeckMark& mark, const speech::SpeechGate& gate, engine::Random& random,
             const SettingsControls& controls)
        : s_(settings), mark_(mark), gate_(gate), random_(random), c_(controls)
    {}

    void OrderPicked();
    void CasePicked();
    void SoundPicked();
    void MaxNumberPicked();
    void NameChanged();
    void NameClicked();
    void SetName();

private:
    engine::SettingsState& s_;
    DeckMark& mark_;
    const speech::SpeechGate& gate_;
    engine::Random& random_;
    SettingsControls c_;
};

}  // namespace panel
