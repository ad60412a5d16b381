#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdint>

namespace ui {

// Asks the window manager to leave "show desktop" mode, in which it takes
// every window off the screen without minimising any. Does nothing where the
// window system has no such mode to leave (or is not X11).
void EndShowDesktop();

// Inside a Wayland session that also offers X11 (XWayland), the program runs
// on X11: Wayland lets no window keep itself above the others or hold the
// keyboard. A platform the user chose (QT_QPA_PLATFORM) is left as it is.
// Call before the application object is made.
void ChoosePlatform();

// Window-manager keys (Alt+Tab, Super, Alt+Space, Alt+F4) do nothing outside
// the program while it holds the keyboard; with owner events, keys still go
// to whichever of the program's own windows has the focus.
class KeyboardHold {
public:
    ~KeyboardHold() { Release(); }
    // False when the server refused (another client holds the keyboard) or
    // this is not X11: the program then carries on without the hold.
    bool Take(std::uint32_t window);
    void Release();
    bool Held() const { return held_; }

private:
    bool held_ = false;
};

// Repairs are allowed in short bursts; beyond that each further one waits
// longer, so a window manager that undoes every repair at once cannot keep
// the program busy.
class RepairBudget {
public:
    static constexpr int kBurst = 16;
    static constexpr int kWindowMs = 1000;
    static constexpr int kLongestWindowMs = 4000;

    // 0 when a repair may run now, otherwise how long to wait for the next.
    int WaitMs(std::int64_t nowMs) const;
    void Spend(std::int64_t nowMs);
    int Spent() const { return total_; }

private:
    int WindowMs() const;

    std::int64_t windowStart_ = -kLongestWindowMs;
    int inWindow_ = 0;
    int exhausted_ = 0;  // windows in a row that ran out
    int total_ = 0;
};

// Keeps a front window above its full-screen backdrop whatever the window
// manager does. It watches both windows' X events, with no timer of its own
// while all is well, and puts things back within a pass of the event loop:
// the front window loses keep-above or gains below, hidden, shaded, sticky,
// maximised or full-screen; it is covered (by the backdrop or anything but
// the program's own pop-ups) or unmapped; the backdrop is pressed, takes the
// focus, shows itself over the front window or leaves full-screen. It also
// holds the keyboard whenever the front window is active.
class StackingGuard : public QObject, public QAbstractNativeEventFilter {
public:
    // Both windows must exist (winId) and the front one not yet be mapped, so
    // that its first visibility report is seen.
    StackingGuard(QWidget* front, QWidget* backdrop);
    ~StackingGuard() override;

    // The front window has become the active window.
    void FrontActivated();
    int Repairs() const { return budget_.Spent(); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void Want(bool raise);
    void Check();
    bool StateWrong(std::uint32_t window, bool front);
    void Repair();
    void TakeKeyboard();

    QPointer<QWidget> front_;
    QPointer<QWidget> backdrop_;
    std::uint32_t frontId_ = 0;
    std::uint32_t backdropId_ = 0;
    bool frontMapped_ = false;
    bool raiseWanted_ = false;
    bool sawAbove_ = false;
    bool sawFullscreen_ = false;
    QTimer check_;
    RepairBudget budget_;
    KeyboardHold keyboard_;
};

}  // namespace ui
