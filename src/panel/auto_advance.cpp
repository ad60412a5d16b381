#include "panel/auto_advance.h"

#include <charconv>

#include "panel/settings.h"
#include "speech/phrases.h"
#include "ui/try.h"

namespace panel {

void AutoAdvance::PeriodPicked()
{
    if (SwallowOnce(s_.skipTimerClick))
        return;
    s_.timerSeconds = combo_->List(combo_->ListIndex()).toStdString();
    gate_.Say(speech::phrases::Timer(s_.timerSeconds));
    if (s_.timerSeconds == "off") {
        timer_->SetEnabled(false);
        timer_->SetInterval(0);
    } else {
        int seconds = 0;
        std::from_chars(s_.timerSeconds.data(), s_.timerSeconds.data() + s_.timerSeconds.size(), seconds);
        timer_->SetEnabled(true);
        timer_->SetInterval(seconds * 1000);
    }
    mark_.ShowCategoryCheck();
}

void AutoAdvance::Tick() noexcept
{
    ui::Try([&] { cycle_.PressCategory(); });
}

}  // namespace panel
