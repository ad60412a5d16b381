#include "app/form2_fixture.h"

#include "ui/application.h"

StartedForm2::StartedForm2(int startupPasses)
{
    auto [factory, spoken] = RecordingVoice::Factory();
    log = spoken;
    form = new app::Form2(factory, startupPasses);
    form->Show();
    if (!QTest::qWaitForWindowActive(form))
        qWarning("main window did not activate");
    QTRY_VERIFY(form->focusWidget() != nullptr);
}

StartedForm2::~StartedForm2()
{
    if (form && form->IsLoaded())
        form->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void StartedForm2::Spacebar() const
{
    QTest::keyPress(form->windowHandle(), Qt::Key_Space);
    QTest::keyRelease(form->windowHandle(), Qt::Key_Space);
}

void StartedForm2::ClickAt(QPoint pointInForm) const
{
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, pointInForm);
}

void StartedForm2::ClickOn(QWidget* control, QPoint at) const
{
    if (at == QPoint(-1, -1))
        at = control->rect().center();
    ClickAt(control->mapTo(form.data(), at));
}

QStringList StartedForm2::Spoken() const
{
    QStringList texts;
    for (const std::string& text : *log)
        texts << QString::fromStdString(text);
    return texts;
}
