#include "app/form1.h"

#include "ui/form2_layout.h"

namespace app {

Form1::Form1(ui::Form* mainWindow) : ui::Form(QStringLiteral("Form1")), mainWindow_(mainWindow)
{
    ui::BuildForm1(*this);
    connect(this, &ui::Form::Load, this, &Form1::Form_Load);
    connect(this, &ui::Form::MouseUp, this, &Form1::Form_MouseUp);
}

void Form1::Form_Load()
{
    try {
        Show();
    } catch (...) {
    }
    try {
        if (mainWindow_)
            mainWindow_->Show();
    } catch (...) {
    }
}

void Form1::Form_MouseUp()
{
    if (mainWindow_)
        mainWindow_->Show();
}

}  // namespace app
