#include "ui/form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "ui/window_system.h"

namespace ui {

namespace {
int gLoaded = 0;
}

Form::Form(const QString& caption) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
{
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

Form::~Form()
{
    if (IsLoaded())
        --gLoaded;
}

void Form::StayAbove(Form* backdrop)
{
    backdrop_ = backdrop;
    // A dialog-type window held by the backdrop floats above it also under
    // tiling window managers, and stacks with it under the others.
    if (backdrop)
        setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
}

void Form::GuardStacking()
{
    if (!backdrop_ || !backdrop_->windowHandle())
        return;
    create();
    windowHandle()->setTransientParent(backdrop_->windowHandle());
    guard_ = std::make_unique<StackingGuard>(this, backdrop_);
}

int Form::LoadedCount() { return gLoaded; }

void Form::Show()
{
    if (unloaded_)
        return;
    if (!loaded_) {
        loaded_ = true;
        ++gLoaded;
        emit Load();
        if (unloaded_)  // the load handler itself ended the run
            return;
        // A load handler that showed its own window has brought it forward
        // already; doing it again would take the activation back from a
        // window that the handler showed after it.
        if (shownOnce_)
            return;
    }
    if (!shownOnce_) {
        shownOnce_ = true;
        GuardStacking();
        if (maximised_) {
            if (QScreen* screen = QGuiApplication::primaryScreen())
                setGeometry(screen->geometry());
            showFullScreen();
        } else {
            if (QScreen* screen = QGuiApplication::primaryScreen()) {
                QRect frame(QPoint(), size());
                frame.moveCenter(screen->geometry().center());
                move(frame.topLeft());
            }
            show();
        }
        if (QWindow* window = windowHandle())
            window->installEventFilter(this);
    } else if (!isVisible()) {
        maximised_ ? showFullScreen() : show();
    }
    raise();
    activateWindow();
}

void Form::Unload()
{
    if (unloaded_)
        return;
    const bool wasLoaded = loaded_;
    unloaded_ = true;
    closing_ = true;
    guard_.reset();  // lets the keyboard go before the window does
    hide();
    deleteLater();
    if (wasLoaded && --gLoaded == 0)
        QCoreApplication::quit();
}

void Form::SetTopmost() { setWindowFlag(Qt::WindowStaysOnTopHint, true); }

bool Form::OnOwnSurface(QPointF position) const
{
    return rect().contains(position.toPoint()) && childAt(position.toPoint()) == nullptr;
}

void Form::mousePressEvent(QMouseEvent* event)
{
    pressOnSurface_ = OnOwnSurface(event->position());
    event->accept();
}

void Form::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const bool click = pressOnSurface_ && event->button() == Qt::LeftButton && OnOwnSurface(event->position());
    pressOnSurface_ = false;
    emit MouseUp(event->button(), event->modifiers(), event->position());
    if (click)
        emit Click();
}

void Form::closeEvent(QCloseEvent* event)
{
    // A close request from the window system (Alt+F4, the window manager's
    // delete message) would leave a child at a black screen with no way out:
    // only the program's own Close ends a window.
    if (closing_)
        event->accept();
    else
        event->ignore();
}

}  // namespace ui

namespace ui {

void Form::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        if (guard_)
            guard_->FrontActivated();
        emit Activate();
    } else if (event->type() == QEvent::WindowStateChange && isMinimized() && !unloaded_) {
        // A window manager's "show desktop" or minimise key would leave the
        // child at an empty screen: the window comes straight back.
        QTimer::singleShot(0, this, [this] {
            if (unloaded_)
                return;
            setWindowState((windowState() & ~Qt::WindowMinimized)
                           | (maximised_ ? Qt::WindowFullScreen : Qt::WindowNoState));
            ComeBack();
        });
    }
}

bool Form::eventFilter(QObject* watched, QEvent* event)
{
    // Some window managers' "show desktop" takes the window off the screen
    // without minimising it; all the program sees is that it is no longer
    // exposed. Activation waits for the window to be mapped again, so the
    // mode has to be ended first.
    if (event->type() == QEvent::Expose && watched == windowHandle() && !windowHandle()->isExposed() && isVisible()
        && !unloaded_) {
        QTimer::singleShot(0, this, [this] {
            if (!unloaded_ && isVisible() && windowHandle() && !windowHandle()->isExposed()) {
                EndShowDesktop();
                ComeBack();
            }
        });
    }
    return QWidget::eventFilter(watched, event);
}

void Form::ComeBack()
{
    show();
    raise();
    activateWindow();
}

}  // namespace ui
