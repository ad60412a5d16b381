#pragma once

#include <QApplication>

namespace ui {

// The program's application object. A failure that no handler takes ends at
// notify(): it is dropped there, so a stray exception never ends the run.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Runs every pending event of both windows, then returns.
void DoEvents();

}  // namespace ui
