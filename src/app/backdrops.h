#pragma once

#include <QObject>
#include <QPointer>
#include <map>

#include "ui/form.h"

class QScreen;

namespace app {

// Black backdrops over every screen besides the one the start-up backdrop
// covers, made and dropped as screens are plugged in and out, so that a click
// anywhere lands on the program. Like the start-up backdrop, a click on one
// of them or one of them made active hands the activation back to the main
// window. They show and hide with the start-up backdrop and go with it.
class Backdrops : public QObject {
    Q_OBJECT
public:
    Backdrops(ui::Form* form1, ui::Form* mainWindow);
    ~Backdrops() override;

    // The screens covered besides the start-up backdrop's own.
    int Count() const { return static_cast<int>(covers_.size()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Sync();
    void Cover(QScreen* screen);
    void HandBack();

    QPointer<ui::Form> form1_;
    QPointer<ui::Form> mainWindow_;
    std::map<QScreen*, QPointer<ui::Form>> covers_;
};

}  // namespace app
