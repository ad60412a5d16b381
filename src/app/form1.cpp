#include "app/form1.h"

#include "ui/form2_layout.h"
#include "ui/try.h"

namespace app {

Form1::Form1(ui::Form* mainWindow) : ui::Form(QStringLiteral("Form1")), mainWindow_(mainWindow)
{
    ui::BuildForm1(*this);
    connect(this, &ui::Form::Load, this, &Form1::Form_Load);
    connect(this, &ui::Form::MouseUp, this, &Form1::Form_MouseUp);
    connect(this, &ui::Form::Activate, this, &Form1::Form_Activate);
}

void Form1::Form_Load()
{
    ui::Try([&] { Show(); });
    ui::Try([&] {
        if (mainWindow_)
            mainWindow_->Show();
    });
}

// The backdrop made active (Alt+Tab, a click) would otherwise cover the main
// window; the child is taken straight back to it.
void Form1::Form_Activate()
{
    if (mainWindow_ && mainWindow_->isVisible())
        mainWindow_->Show();
}

void Form1::Form_MouseUp()
{
    if (mainWindow_)
        mainWindow_->Show();
}

}  // namespace app
