#pragma once

#include <memory>
#include <string>

#include "speech/voice.h"

namespace engine {

enum class Deck { Colors, Shapes, Letters, Numbers };

// The step of the two-press cycle: the next press reveals a card, or answers
// the card on show.
enum class Press { Reveal, Answer };

enum class LetterCase { Upper, Lower };

// The highest number card. It starts as the whole number 10; once a parent
// picks an item it keeps that item's text as well, for the spoken
// confirmation, while every sum and comparison uses its value.
struct MaxNumber {
    int value = 10;
    std::string text = "10";

    void SetItem(const std::string& item);
};

// Each group below has the one writer named at it; every other part only
// reads it. Counters use 0 for "never assigned": every card is 1 or more, so
// an unassigned counter or last random card never equals a card, as the
// empty value must not. Texts use "" for the same. Every other field holds
// its start value from the start.

// Written by the reveal cycle (RevealCycle); a deck button starts it again.
struct CycleState {
    Deck category = Deck::Numbers;
    Press pressState = Press::Reveal;
};

// Written by the decks (Decks): where each deck stands, its last random
// card, and the letter card made from it.
struct DeckState {
    int colorIndex = 0;
    int shapeIndex = 0;
    int letterIndex = 0;
    int currentNumber = 1;

    int lastColorIndex = 0;
    int lastShapeIndex = 0;
    int lastLetterIndex = 0;
    int lastNumber = 0;

    std::string letterText;
};

// Written by the card display (CardDisplay): the picture card last shown and
// where the pictures were placed.
struct CardState {
    std::string colorName;
    std::string shapeName;
    float imageLeft = 0;
    float imageTop = 0;
};

// Written by the settings panel (panel::Settings). A one-shot flag swallows
// the one click that start-up raises by selecting its control's start item.
struct SettingsState {
    bool randomOrder = false;
    LetterCase letterCase = LetterCase::Upper;
    bool sound = true;  // the speech gate's switch
    MaxNumber maxNumber;
    std::string childName;

    bool skipMaxNumClick = true;
    bool skipOrderClick = true;
    bool skipCaseClick = true;
    bool skipSoundClick = true;
};

// Written by the auto-advance (panel::AutoAdvance).
struct TimerState {
    std::string timerSeconds;  // the item last picked: "off" or "1" to "6"
    bool skipTimerClick = true;
};

// Everything the program remembers while it runs.
struct PlayState {
    CycleState cycle;
    DeckState decks;
    CardState card;
    SettingsState settings;
    TimerState timer;

    // Made by the main window at start-up; nothing else holds the voice.
    std::unique_ptr<speech::Voice> voice;
};

}  // namespace engine
