#pragma once

#include <QPointer>

#include "ui/form.h"

namespace app {

// The backdrop ("Form1"): black over the whole screen behind the main window,
// so a child at the keyboard stays inside; the start-up window.
class Form1 : public ui::Form {
    Q_OBJECT
public:
    explicit Form1(ui::Form* mainWindow);

private:
    void Form_Load();
    void Form_MouseUp();
    void Form_Activate();

    QPointer<ui::Form> mainWindow_;
};

}  // namespace app
