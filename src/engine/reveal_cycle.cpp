#include "engine/reveal_cycle.h"

#include "speech/phrases.h"

namespace engine {

template <class Reveal, class Answer>
void RevealCycle::Press(Reveal reveal, Answer answer)
{
    // The state moves on only once the step has run, so a press that fails
    // part-way is tried again whole by the next one.
    if (s_.pressState == "y") {
        (this->*reveal)();
        s_.pressState = "n";
    } else if (s_.pressState == "n") {
        (this->*answer)();
        s_.pressState = "y";
    }
}

void RevealCycle::PressColors() { Press(&RevealCycle::RevealColor, &RevealCycle::AnswerColor); }

void RevealCycle::PressShapes() { Press(&RevealCycle::RevealShape, &RevealCycle::AnswerShape); }

void RevealCycle::PressLetters() { Press(&RevealCycle::RevealLetter, &RevealCycle::AnswerLetter); }

void RevealCycle::PressNumbers() { Press(&RevealCycle::RevealNumber, &RevealCycle::AnswerNumber); }

void RevealCycle::PressCategory()
{
    if (s_.category == "numbers")
        PressNumbers();
    else if (s_.category == "letters")
        PressLetters();
    else if (s_.category == "shapes")
        PressShapes();
    else if (s_.category == "colors")
        PressColors();
}

void RevealCycle::RevealColor()
{
    if (s_.randomOrder == "yes")
        decks_.PickRandomColor();
    display_.ShowColor();
}

void RevealCycle::RevealShape()
{
    if (s_.randomOrder == "yes")
        decks_.PickRandomShape();
    display_.ShowShape();
}

void RevealCycle::RevealLetter()
{
    if (s_.randomOrder == "yes") {
        decks_.PickRandomLetter();
    } else {
        decks_.LetterFromIndex();
        decks_.CaseStep();
    }
    lblNumberLetter_->SetCaption(QString::fromStdString(s_.letterText));
}

void RevealCycle::RevealNumber()
{
    if (s_.randomOrder == "yes")
        decks_.PickRandomNumber();
    else
        decks_.KeepNumberInRange();
    lblNumberLetter_->SetCaption(QString::number(s_.currentNumber));
}

void RevealCycle::AnswerColor()
{
    display_.ShowColor();
    gate_.Say(s_.colorName);
    decks_.StepColor();
}

void RevealCycle::AnswerShape()
{
    display_.ShowShape();
    gate_.Say(s_.shapeName);
    decks_.StepShape();
}

void RevealCycle::AnswerLetter()
{
    gate_.SayLetter();
    decks_.StepLetter();
}

void RevealCycle::AnswerNumber()
{
    lblBottom_->setVisible(true);
    gate_.Say(speech::phrases::Number(s_.currentNumber));
    decks_.StepNumber();
}

}  // namespace engine
