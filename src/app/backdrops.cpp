#include "app/backdrops.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace app {

Backdrops::Backdrops(ui::Form* form1, ui::Form* mainWindow) : QObject(form1), form1_(form1), mainWindow_(mainWindow)
{
    form1->installEventFilter(this);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, &Backdrops::Sync);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this](QScreen* gone) {
        if (auto it = covers_.find(gone); it != covers_.end()) {
            if (it->second)
                it->second->deleteLater();
            covers_.erase(it);
        }
        Sync();
    });
}

Backdrops::~Backdrops()
{
    for (auto& [screen, cover] : covers_)
        delete cover.data();
}

bool Backdrops::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == form1_) {
        if (event->type() == QEvent::Show) {
            Sync();
        } else if (event->type() == QEvent::Hide) {
            for (auto& [screen, cover] : covers_)
                if (cover)
                    cover->hide();
        }
    }
    return QObject::eventFilter(watched, event);
}

void Backdrops::Sync()
{
    if (!form1_ || !form1_->isVisible())
        return;
    QScreen* own = form1_->screen();
    for (auto it = covers_.begin(); it != covers_.end();) {
        if (it->first == own || !it->second) {
            if (it->second)
                it->second->deleteLater();
            it = covers_.erase(it);
        } else {
            ++it;
        }
    }
    bool added = false;
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != own && !covers_.count(screen)) {
            Cover(screen);
            added = true;
        }
    }
    // A new window may take the activation; the child stays with the main window.
    if (added)
        HandBack();
}

void Backdrops::Cover(QScreen* screen)
{
    auto* cover = new ui::Form(QStringLiteral("Backdrop"));
    cover->SetMaximised(true);
    cover->setObjectName(QStringLiteral("Backdrop"));
    QPalette black = cover->palette();
    black.setColor(QPalette::Window, Qt::black);
    cover->setPalette(black);
    cover->setAutoFillBackground(true);
    cover->setWindowIcon(form1_->windowIcon());
    connect(cover, &ui::Form::MouseUp, this, &Backdrops::HandBack);
    connect(cover, &ui::Form::Activate, this, &Backdrops::HandBack);
    cover->createWinId();
    cover->windowHandle()->setScreen(screen);
    cover->setGeometry(screen->geometry());
    cover->showFullScreen();
    covers_[screen] = cover;
}

void Backdrops::HandBack()
{
    if (mainWindow_ && mainWindow_->isVisible())
        mainWindow_->Show();
}

}  // namespace app
