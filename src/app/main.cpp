#include "app/backdrops.h"
#include "app/form1.h"
#include "app/form2.h"
#include "ui/application.h"
#include "ui/version.h"
#include "ui/window_system.h"

#include <cstdio>
#include <string_view>

int main(int argc, char** argv)
{
    // The one flag, answered before Qt looks for a display.
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--version") {
            std::printf("quibbet %s\n", ui::kVersion);
            return 0;
        }

    // Every other argument is ignored: Qt sees the program name alone.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    ui::ChoosePlatform();
    ui::Application application(qtArgc, qtArgv);

    auto* form2 = new app::Form2(speech::MakeVoice);
    auto* form1 = new app::Form1(form2);
    form2->SetBackdrop(form1);
    new app::Backdrops(form1, form2);  // the other screens; goes with form1
    form1->Show();

    int status = 0;
    if (ui::Form::LoadedCount() > 0)
        status = application.exec();
    // Unloaded windows are deleted late; let them go before the application.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}
