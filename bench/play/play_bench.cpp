// The time from a spacebar release reaching the focused key-catcher to the
// main window having repainted the new card, on every deck, on Qt's
// offscreen platform. Run: QT_QPA_PLATFORM=offscreen:configfile=tests/support/screen-1920x1080.json
// build/bench/play/play_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/form2.h"
#include "support/silent_voice.h"
#include "ui/application.h"

namespace {

// Counts paints of the card area, so the loop knows the new card is drawn.
struct PaintWatch : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5))];
}

}  // namespace

int main(int argc, char** argv)
{
    ui::Application application(argc, argv);
    auto* form = new app::Form2([] { return std::make_unique<SilentVoice>(); }, 1000);
    form->Show();
    for (int i = 0; i < 100; ++i)
        ui::DoEvents();
    const ui::Form2Controls& c = form->Controls();

    PaintWatch watch;
    c.Frame1->installEventFilter(&watch);
    for (QWidget* w : c.Frame1->findChildren<QWidget*>())
        w->installEventFilter(&watch);

    struct Deck {
        const char* name;
        ui::CommandButton* button;
    };
    const Deck decks[] = {
        {"numbers", c.cmdNumbers}, {"letters", c.cmdLetters}, {"colors", c.cmdColors}, {"shapes", c.cmdShapes}};
    constexpr int kPresses = 1000;
    std::printf("press to repaint, %d presses per deck (reveal and answer alternate)\n", kPresses);
    std::printf("%-8s %10s %10s %10s %12s %12s\n", "deck", "median ms", "p99 ms", "max ms", "first100 ms",
                "last100 ms");
    const long rssBefore = ResidentKb();
    for (const Deck& deck : decks) {
        deck.button->click();
        ui::DoEvents();
        std::vector<double> ms;
        ms.reserve(kPresses);
        for (int i = 0; i < kPresses; ++i) {
            QWidget* target = QApplication::focusWidget();
            const int paintsBefore = watch.paints;
            QElapsedTimer clock;
            clock.start();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
            QApplication::sendEvent(target, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
            QApplication::sendEvent(target, &release);
            // An answer shows the same card again, so only a reveal must paint;
            // an answer is timed to the end of its handler and pending events.
            const bool reveal = form->State().cycle.pressState == engine::Press::Answer;
            do {
                QCoreApplication::processEvents();
            } while (reveal && watch.paints == paintsBefore && clock.elapsed() < 1000);
            ms.push_back(clock.nsecsElapsed() / 1e6);
        }
        const std::vector<double> first(ms.begin(), ms.begin() + 100);
        const std::vector<double> last(ms.end() - 100, ms.end());
        std::printf("%-8s %10.3f %10.3f %10.3f %12.3f %12.3f\n", deck.name, Percentile(ms, 0.5), Percentile(ms, 0.99),
                    *std::max_element(ms.begin(), ms.end()), Percentile(first, 0.5), Percentile(last, 0.5));
    }
    std::printf("resident memory: %ld kB before, %ld kB after %d presses\n", rssBefore, ResidentKb(), 4 * kPresses);
    form->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
