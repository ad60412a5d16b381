#pragma once

#include <memory>
#include <string>

#include "speech/voice.h"

namespace engine {

// The highest number card. It starts as the whole number 10; once a parent
// picks an item it keeps that item's text as well, for the spoken
// confirmation, while every sum and comparison uses its value.
struct MaxNumber {
    int value = 0;
    std::string text;

    void SetNumber(int number);
    void SetItem(const std::string& item);
};

// Everything the program remembers while it runs. Counters use 0 for
// "never assigned": every card is 1 or more, so an unassigned counter or last
// random card never equals a card, as the empty value must not. Texts use ""
// for the same.
struct PlayState {
    std::string category;    // "numbers", "letters", "shapes", "colors"
    std::string pressState;  // "y": next press reveals; "n": next press answers

    int colorIndex = 0;
    int shapeIndex = 0;
    int letterIndex = 0;
    int currentNumber = 0;

    int lastColorIndex = 0;
    int lastShapeIndex = 0;
    int lastLetterIndex = 0;
    int lastNumber = 0;

    std::string colorName;
    std::string shapeName;
    std::string letterText;

    std::string randomOrder;  // "no" or "yes"
    std::string letterCase;   // "upper" or "lower"
    std::string sound;        // "on" or "off"
    MaxNumber maxNumber;
    std::string timerSeconds;  // "off" or "1" to "6"
    std::string childName;

    std::string skipTimerClick;
    std::string skipMaxNumClick;
    std::string skipOrderClick;
    std::string skipCaseClick;
    std::string skipSoundClick;

    float imageLeft = 0;
    float imageTop = 0;

    std::unique_ptr<speech::Voice> voice;
};

}  // namespace engine
