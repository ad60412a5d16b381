#pragma once

#include <QPointer>
#include <QTest>
#include <memory>

#include "app/form2.h"
#include "support/recording_voice.h"

// The main window, started as the program starts it but with a short
// start-up pause, a recording voice and nothing spoken yet in its log.
struct StartedForm2 {
    explicit StartedForm2(int startupPasses = 200);
    ~StartedForm2();

    template <class W = QWidget>
    W* Find(const char* name) const
    {
        return form->findChild<W*>(QString::fromLatin1(name));
    }
    const engine::PlayState& State() const { return form->State(); }
    const ui::Form2Controls& C() const { return form->Controls(); }

    // Releases the spacebar (a press, then a release) on whatever has the focus.
    void Spacebar() const;
    // A left click through the window at a point of the main window, so that
    // the toolkit's own hit testing picks the control.
    void ClickAt(QPoint pointInForm) const;
    void ClickOn(QWidget* control, QPoint at = QPoint(-1, -1)) const;
    QStringList Spoken() const;

    std::shared_ptr<RecordingVoice::Log> log;
    QPointer<app::Form2> form;
};
