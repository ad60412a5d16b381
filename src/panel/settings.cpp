#include "panel/settings.h"

#include "speech/phrases.h"

namespace panel {

bool SwallowOnce(std::string& flag)
{
    if (flag != "1")
        return false;
    flag.clear();
    return true;
}

void Settings::OrderPicked()
{
    if (SwallowOnce(s_.skipOrderClick))
        return;
    mark_.ShowCategoryCheck();
    if (c_.ListOrder->ListIndex() == 0) {
        gate_.Say("in order");
        s_.randomOrder = "no";
    } else {
        gate_.Say("random order");
        s_.randomOrder = "yes";
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
        s_.letterCase = "lower";
    } else {
        gate_.Say("upper case");
        s_.letterCase = "upper";
    }
}

void Settings::SoundPicked()
{
    s_.sound = c_.ListSound->List(c_.ListSound->ListIndex()).toStdString();
    if (SwallowOnce(s_.skipSoundClick))
        return;
    if (s_.sound == "on") {
        gate_.Say("sound on");
    } else {
        // Opened for this one phrase: it is handed over at once, so shutting
        // the gate right after does not cut it.
        s_.sound = "on";
        gate_.Say("sound off");
        s_.sound = "off";
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
