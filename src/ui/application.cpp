#include "ui/application.h"

#include "ui/fonts.h"

namespace ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    // Windows end only by being unloaded; closing the last one must not quit
    // behind the program's back.
    setQuitOnLastWindowClosed(false);
    LoadFonts();
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        return false;
    }
}

void DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

}  // namespace ui
