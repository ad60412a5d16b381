#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>

namespace ui {

class StackingGuard;

// A top-level window with the life of a form: loaded on its first Show,
// ended only by Unload. The program ends when no form is left loaded.
class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(const QString& caption);
    ~Form() override;

    // The first Show raises Load before it returns, then shows the window;
    // a Show of a shown form brings it forward and activates it.
    void Show();
    // Hides and destroys the form (deferred, so a handler of one of its own
    // controls may call it).
    void Unload();
    bool IsLoaded() const { return loaded_ && !unloaded_; }

    void SetMaximised(bool maximised) { maximised_ = maximised; }
    // Keeps the window above every window that is not itself kept above.
    void SetTopmost();
    // Keeps the window above the backdrop whatever the window manager does,
    // holding the keyboard while it is active; set before the first Show.
    void StayAbove(Form* backdrop);

    static int LoadedCount();

signals:
    void Load();
    void Click();
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF position);
    // The window has become the active window.
    void Activate();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool OnOwnSurface(QPointF position) const;
    void ComeBack();
    void GuardStacking();

    bool loaded_ = false;
    bool unloaded_ = false;
    bool shownOnce_ = false;
    bool maximised_ = false;
    bool pressOnSurface_ = false;
    bool closing_ = false;
    QPointer<Form> backdrop_;
    std::unique_ptr<StackingGuard> guard_;
};

}  // namespace ui
