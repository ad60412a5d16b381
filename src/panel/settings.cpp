#include "panel/settings.h"

#include "speech/phrases.h"

namespace panel {

bool SwallowOnce(bool& flag)
{
    if (!flag)
        return false;
    flag = false;
    return true;
}

void Settings::OrderPicked()
{
    if (SwallowOnce(s_.skipOrderClick))
        return;
    mark_.ShowCategoryCheck();
    if (c_.ListOrder->ListIndex() == 0) {
        gate_.Say("in order");
        s_.randomOrder = false;
    } else {
        gate_.Say("random order");
        s_.randomOrder = true;
        random_.Randomize();
    }
}

void Settings::CasePicked()
{
    if (SwallowOnce(s_.skipCaseClick))
        return;
    mark_.ShowCategoryCheck();
    if (c_.ListUpper->ListIndex() == 0) {
        gate_.Say("lower case");
        s_.letterCase = engine::LetterCase::Lower;
    } else {
        gate_.Say("upper case");
        s_.letterCase = engine::LetterCase::Upper;
    }
}

void Settings::SoundPicked()
{
    // The item's text decides: "on" exactly, or off.
    s_.sound = c_.ListSound->List(c_.ListSound->ListIndex()) == QLatin1String("on");
    if (SwallowOnce(s_.skipSoundClick))
        return;
    if (s_.sound) {
        gate_.Say("sound on");
    } else {
        // Opened for this one phrase: it is handed over at once, so shutting
        // the gate right after does not cut it.
        s_.sound = true;
        gate_.Say("sound off");
        s_.sound = false;
    }
    mark_.ShowCategoryCheck();
}

void Settings::MaxNumberPicked()
{
    if (SwallowOnce(s_.skipMaxNumClick))
        return;
    s_.maxNumber.SetItem(c_.comboSetMaxNum->List(c_.comboSetMaxNum->ListIndex()).toStdString());
    gate_.Say(speech::phrases::MaxNumber(s_.maxNumber.text));
    mark_.ShowCategoryCheck();
}

void Settings::NameChanged() { s_.childName = c_.Text1->Text().toStdString(); }

void Settings::NameClicked() { c_.Text1->SetText(QString()); }

void Settings::SetName()
{
    mark_.ShowCategoryCheck();
    gate_.Say(speech::phrases::Hello(s_.childName));
}

}  // namespace panel
