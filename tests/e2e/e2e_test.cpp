// The real program on a real X server, window manager and sound server, driven
// with real key and mouse events and judged by the screen's pixels and by what
// reaches the speaker. Started through run_e2e.sh, which sets all of that up.

#include "harness.h"

#include <QFileInfo>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

using namespace e2e;

namespace {

QString Describe(const Program& p)
{
    if (p.Running())
        return QStringLiteral("still running");
    return QStringLiteral("ended: status %1, %2")
        .arg(p.ExitCode())
        .arg(p.ExitStatus() == QProcess::NormalExit ? "normal exit" : "crashed");
}

// Start-up is over when the check mark shows and the greeting has finished.
bool StartReady(Program& p, Audio& audio, QString* why)
{
    if (!p.Start())
        return *why = "could not start " + Program::Executable(), false;
    if (!p.WaitForWindows(5000))
        return *why = "Form1 and Form2 not both mapped within 5 s; " + Describe(p), false;
    if (!p.WaitForStartupEnd(5000))
        return *why = "no check mark beside Numbers within 5 s; " + Describe(p), false;
    if (!audio.WaitForQuiet(400, 8000))
        return *why = QStringLiteral("the greeting did not end within 8 s"), false;
    return true;
}

#define START_READY(p, audio)                                                                                          \
    do {                                                                                                               \
        QString why_;                                                                                                  \
        QVERIFY2(StartReady((p), (audio), &why_), qPrintable(why_));                                                   \
    } while (0)

#define VERIFY_RUNNING(p) QVERIFY2((p).Running(), qPrintable(Describe(p)))

// Fails early if the program ends while it should be staying up.
bool StaysRunning(Program& p, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (!p.Running())
            return false;
        QTest::qWait(20);
    }
    return p.Running();
}

void Press() { Input::Keys({"space"}); }

// A press either shows a new card or speaks the one shown; up to two presses
// must change the card, whichever of the two comes first.
bool PressesPlay(Program& p, int presses = 2)
{
    for (int i = 0; i < presses; ++i) {
        QImage before = ReadCard(p.View()).image;
        Press();
        QDeadlineTimer deadline(1500);
        while (!deadline.hasExpired()) {
            if (DifferentPixels(ReadCard(p.View()).image, before) > 200)
                return true;
            QTest::qWait(20);
        }
    }
    return false;
}

// Reads the card once two reads in a row agree, so a half-drawn card is not judged.
CardInk SettledCard(const Program& p)
{
    CardInk last = ReadCard(p.View());
    QDeadlineTimer deadline(1000);
    while (!deadline.hasExpired()) {
        QTest::qWait(30);
        CardInk now = ReadCard(p.View());
        if (DifferentPixels(now.image, last.image) == 0)
            return now;
        last = now;
    }
    return last;
}

bool PanelInViewSoon(Program& p, int ms, QString* why)
{
    QDeadlineTimer deadline(ms);
    do {
        if (p.View().PanelInView(why))
            return true;
        QTest::qWait(20);
    } while (!deadline.hasExpired());
    return false;
}

bool Form2AboveForm1(const Program& p)
{
    QVector<quint32> order = ClientStacking();
    qsizetype i1 = order.indexOf(p.Form1()), i2 = order.indexOf(p.Form2());
    // The window manager lists its frames; a client missing from the list is
    // judged by the pixels alone.
    return i1 < 0 || i2 < 0 || i2 > i1;
}

// The ink box of "1": narrow and centred on the card near panel x 513.
bool LooksLikeOne(const CardInk& ink)
{
    return ink.inkPixels > 300 && ink.inkBox.width() < 75
           && std::abs(ink.inkBox.center().x() - at::Panel(QPoint(513, 0)).x()) < 25;
}

QString InkText(const CardInk& ink)
{
    return QStringLiteral("ink %1 px in (%2,%3 %4x%5), red %6 px")
        .arg(ink.inkPixels)
        .arg(ink.inkBox.x())
        .arg(ink.inkBox.y())
        .arg(ink.inkBox.width())
        .arg(ink.inkBox.height())
        .arg(ink.redPixels);
}

// The screen with the card face blanked: what must stay the same when keys
// reach the program and not the window manager.
QImage OutsideCard(const Program& p)
{
    QImage shot = Screen::Grab();
    QPainter(&shot).fillRect(QRect(p.ToScreen(at::kCard.topLeft()), at::kCard.size()), Qt::magenta);
    return shot;
}

// States the main window must not keep: each would let the backdrop or the
// desktop show in its place.
QStringList WrongStates(const QStringList& state)
{
    QStringList wrong;
    for (const char* s : {"BELOW", "HIDDEN", "SHADED", "STICKY", "FULLSCREEN", "MAXIMIZED_VERT", "MAXIMIZED_HORZ"})
        if (state.contains(QStringLiteral("_NET_WM_STATE_") + s))
            wrong << s;
    if (!state.contains("_NET_WM_STATE_ABOVE"))
        wrong << "not ABOVE";
    return wrong;
}

// Ends within a second of a click on Close, with status 0.
bool ClosesWithin(Program& p, int ms, QString* why)
{
    const qint64 clicked = NowMs();
    p.ClickClient(at::kClose.center());
    if (!p.WaitForExit(ms)) {
        Screen::Shot("close-missed");
        const qint64 late = NowMs();
        const bool ended = p.WaitForExit(5000);
        return *why = QStringLiteral("still running %1 ms after Close (%2 %3 ms later)")
                          .arg(ms)
                          .arg(ended ? "ended" : "still running")
                          .arg(NowMs() - late),
               false;
    }
    qInfo("ended %lld ms after the click", NowMs() - clicked);
    if (p.ExitStatus() != QProcess::NormalExit || p.ExitCode() != 0)
        return *why = Describe(p), false;
    return true;
}

#define VERIFY_CLOSES(p)                                                                                               \
    do {                                                                                                               \
        QString why_;                                                                                                  \
        QVERIFY2(ClosesWithin((p), 1000, &why_), qPrintable(why_));                                                    \
    } while (0)

// After whatever came before: the panel in view and the spacebar playing.
bool PlaysAfter(Program& p, QString* why)
{
    if (!StaysRunning(p, 300))
        return *why = Describe(p), false;
    if (!PanelInViewSoon(p, 2000, why))
        return false;
    p.ClickClient(at::kMargin);
    if (!PressesPlay(p))
        return *why = QStringLiteral("spacebar did not play afterwards"), false;
    return true;
}

#define VERIFY_PLAYS(p)                                                                                                \
    do {                                                                                                               \
        QString why_;                                                                                                  \
        QVERIFY2(PlaysAfter((p), &why_), qPrintable(why_));                                                            \
    } while (0)

}  // namespace

class EndToEnd : public QObject {
    Q_OBJECT

    Audio audio_;

private slots:
    void initTestCase();
    void cleanupTestCase();

    void windowsAndGreeting();
    void numbersDeck();
    void deckButtons_data();
    void deckButtons();
    void soundOff();
    void backdropClicks();
    void windowManagerKeys_data();
    void windowManagerKeys();
    void closeRequestsIgnored_data();
    void closeRequestsIgnored();
    void outsideState_data();
    void outsideState();
    void closeAfterStartup();
    void closeInPause();
    void closeDuringSpeech();
    void mash();
    void badName_data();
    void badName();
    void rapidSoundClicks();
    void pressesInPause();
};

void EndToEnd::initTestCase()
{
    QVERIFY2(QFileInfo(Program::Executable()).isExecutable(), "set QUIBBET_EXE (run_e2e.sh does)");
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QCOMPARE(Screen::Size(), QSize(1280, 1024));
    QVERIFY(audio_.Start());
}

void EndToEnd::cleanupTestCase() { audio_.Stop(); }

void EndToEnd::windowsAndGreeting()
{
    Program p;
    QVERIFY(p.Start());
    QVERIFY2(p.WaitForWindows(5000), qPrintable(Describe(p)));
    QVERIFY2(audio_.Heard(p.StartedAt(), 1000), "no greeting within 1 s of start");
    QVERIFY2(p.WaitForStartupEnd(5000), "no check mark beside Numbers");
    Screen::Shot("startup");

    auto f1 = p.Form1Info(), f2 = p.Form2Info();
    QVERIFY(f1 && f2);
    QVERIFY(f1->viewable && f2->viewable);
    QCOMPARE(f1->geometry, QRect(QPoint(0, 0), Screen::Size()));
    QCOMPARE(f2->geometry.size(), at::kForm2Size);
    const QPoint centre = QRect(QPoint(0, 0), Screen::Size()).center();
    QVERIFY2((f2->geometry.center() - centre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("Form2 at %1,%2").arg(f2->geometry.x()).arg(f2->geometry.y())));
    QVERIFY2(NetWmState(p.Form2()).contains("_NET_WM_STATE_ABOVE"), qPrintable(NetWmState(p.Form2()).join(' ')));
    QVERIFY(Form2AboveForm1(p));

    // Backdrop: black everywhere outside Form2, right to the screen's edges.
    const QImage shot = Screen::Grab();
    const QRect screen = shot.rect();
    const QRect form2 = f2->geometry;
    int checked = 0;
    for (int y = 0; y < screen.height(); y += 31)
        for (int x = 0; x < screen.width(); x += 31) {
            for (QPoint pt : {QPoint(x, y), QPoint(screen.right() - x, screen.bottom() - y)}) {
                if (form2.adjusted(-1, -1, 1, 1).contains(pt))
                    continue;
                QVERIFY2(Near(QColor(shot.pixel(pt)), Qt::black, 4),
                         qPrintable(QStringLiteral("backdrop (%1,%2) is %3")
                                        .arg(pt.x())
                                        .arg(pt.y())
                                        .arg(QColor(shot.pixel(pt)).name())));
                ++checked;
            }
        }
    for (QPoint corner : {screen.topLeft(), screen.topRight(), screen.bottomLeft(), screen.bottomRight()})
        QVERIFY(Near(QColor(shot.pixel(corner)), Qt::black, 4));
    QVERIFY(checked > 500);

    // Form2 is on top: its own pixels show where it should be.
    Form2View view(shot, form2.topLeft());
    QString why;
    QVERIFY2(view.PanelInView(&why), qPrintable(why));
    QVERIFY(Near(view.Client(at::kClose.center() + QPoint(0, 14)), QColor(0xFF, 0, 0), 12)
            || Near(view.Client(at::kClose.topLeft() + QPoint(6, 6)), QColor(0xFF, 0, 0), 12));
    QVERIFY(Near(view.Client(at::kMargin), Qt::black, 4));
    QVERIFY(Near(view.Client(at::kNumbers.topLeft() + QPoint(8, 8)), QColor(0x00, 0x80, 0x00), 12));
    QVERIFY(Near(view.Client(at::kLetters.topLeft() + QPoint(8, 8)), QColor(0xC0, 0xFF, 0xFF), 12));
    QVERIFY(Near(view.Client(at::kColors.topLeft() + QPoint(8, 8)), QColor(0x80, 0x00, 0x80), 12));
    QVERIFY(Near(view.Client(at::kShapes.topLeft() + QPoint(8, 8)), QColor(0xFF, 0xFF, 0xC0), 12));
    QVERIFY(Near(view.Client(at::kCard.topLeft() + QPoint(20, 20)), Qt::white, 8));
    QVERIFY(RedTickPixels(view, at::kMarkNumbers) > 40);
    for (QRect other : {at::kMarkLetters, at::kMarkColors, at::kMarkShapes})
        QCOMPARE(RedTickPixels(view, other), 0);
    // The start card "1 2 3" spans most of the card's width.
    CardInk start = ReadCard(view);
    QVERIFY2(start.inkBox.width() > 150, qPrintable(InkText(start)));
}

void EndToEnd::numbersDeck()
{
    Program p;
    START_READY(p, audio_);

    qint64 t = NowMs();
    Press();
    QTRY_VERIFY2_WITH_TIMEOUT(LooksLikeOne(ReadCard(p.View())), qPrintable(InkText(ReadCard(p.View()))), 1500);
    Screen::Shot("numbers-1");
    double peak = 0;
    QVERIFY2(audio_.QuietDuring(t, 900, &peak), qPrintable(QStringLiteral("first press was heard, RMS %1").arg(peak)));
    const QImage one = ReadCard(p.View()).image;

    t = NowMs();
    Press();
    QVERIFY2(audio_.Heard(t, 1000), "second press was not heard");
    QVERIFY(audio_.WaitForQuiet(300, 5000));
    QCOMPARE(DifferentPixels(ReadCard(p.View()).image, one), 0);

    Press();
    QTRY_VERIFY_WITH_TIMEOUT(DifferentPixels(ReadCard(p.View()).image, one) > 200, 1500);
    CardInk two = ReadCard(p.View());
    QVERIFY2(two.inkPixels > 300, qPrintable(InkText(two)));
    VERIFY_RUNNING(p);
}

void EndToEnd::deckButtons_data()
{
    QTest::addColumn<QRect>("button");
    QTest::addColumn<QRect>("mark");
    QTest::addColumn<QString>("card");
    QTest::newRow("letters") << at::kLetters << at::kMarkLetters << "A";
    QTest::newRow("colors") << at::kColors << at::kMarkColors << "red";
    QTest::newRow("shapes") << at::kShapes << at::kMarkShapes << "picture";
}

void EndToEnd::deckButtons()
{
    QFETCH(QRect, button);
    QFETCH(QRect, mark);
    QFETCH(QString, card);

    Program p;
    START_READY(p, audio_);
    Press();
    QTRY_VERIFY_WITH_TIMEOUT(LooksLikeOne(ReadCard(p.View())), 1500);
    const CardInk one = ReadCard(p.View());
    QVERIFY(audio_.WaitForQuiet(300, 5000));

    qint64 t = NowMs();
    p.ClickClient(button.center());
    QVERIFY2(audio_.Heard(t, 1000), "the deck button was not heard");
    QTRY_VERIFY_WITH_TIMEOUT(RedTickPixels(p.View(), mark) > 40, 1500);
    for (QRect other : {at::kMarkNumbers, at::kMarkLetters, at::kMarkColors, at::kMarkShapes})
        if (other != mark)
            QCOMPARE(RedTickPixels(p.View(), other), 0);
    QVERIFY(audio_.WaitForQuiet(300, 5000));

    Press();
    QTRY_VERIFY_WITH_TIMEOUT(DifferentPixels(ReadCard(p.View()).image, one.image) > 200, 1500);
    CardInk shown = SettledCard(p);
    Screen::Shot("deck-" + card);
    if (card == "A") {
        QVERIFY2(shown.inkPixels > 500 && shown.redPixels == 0, qPrintable(InkText(shown)));
        QVERIFY2(shown.inkBox.width() > one.inkBox.width() + 15, qPrintable(InkText(shown) + " vs 1: " + InkText(one)));
        QVERIFY2(std::abs(shown.inkBox.center().x() - one.inkBox.center().x()) < 25, qPrintable(InkText(shown)));
        QVERIFY(shown.inkBox.top() < at::Panel(QPoint(0, 330)).y()
                && shown.inkBox.bottom() > at::Panel(QPoint(0, 330)).y());
    } else if (card == "red") {
        QVERIFY2(Near(p.View().Client(at::kCardPicture.center()), QColor(0xFF, 0, 0), 20),
                 qPrintable(p.View().Client(at::kCardPicture.center()).name()));
        QVERIFY2(shown.redPixels > 2000, qPrintable(InkText(shown)));
    } else {
        QVERIFY2(DifferentPixels(p.View().Client(at::kCardPicture),
                                 one.image.copy(at::kCardPicture.translated(-at::kCardFace.topLeft())))
                     > 500,
                 "nothing new in the picture place");
    }
    VERIFY_RUNNING(p);
}

void EndToEnd::soundOff()
{
    Program p;
    START_READY(p, audio_);

    qint64 t = NowMs();
    p.ClickClient(at::kSoundOff);
    QVERIFY2(audio_.Heard(t, 1000), "\"sound off\" was not heard");
    QVERIFY(audio_.WaitForQuiet(400, 5000));
    p.ClickClient(at::kMargin);

    for (int answer = 0; answer < 2; ++answer) {
        QImage before = ReadCard(p.View()).image;
        Press();
        QTRY_VERIFY_WITH_TIMEOUT(DifferentPixels(ReadCard(p.View()).image, before) > 200, 1500);
        t = NowMs();
        Press();
        double peak = 0;
        QVERIFY2(audio_.QuietDuring(t, 1000, &peak),
                 qPrintable(QStringLiteral("answer heard with sound off, RMS %1").arg(peak)));
    }

    t = NowMs();
    p.ClickClient(at::kSoundOn);
    QVERIFY2(audio_.Heard(t, 1000), "\"sound on\" was not heard");
    QVERIFY(audio_.WaitForQuiet(400, 5000));
    p.ClickClient(at::kMargin);
    QImage before = ReadCard(p.View()).image;
    Press();
    QTRY_VERIFY_WITH_TIMEOUT(DifferentPixels(ReadCard(p.View()).image, before) > 200, 1500);
    t = NowMs();
    Press();
    QVERIFY2(audio_.Heard(t, 1000), "answer not heard after sound on");
    VERIFY_RUNNING(p);
}

void EndToEnd::backdropClicks()
{
    Program p;
    START_READY(p, audio_);
    const QRect form2 = p.Form2Info()->geometry;
    const QSize screen = Screen::Size();
    const QVector<QPoint> spots{{20, 20},
                                {screen.width() - 5, screen.height() - 5},
                                {form2.left() / 2, form2.center().y()},
                                {form2.center().x(), (form2.bottom() + screen.height()) / 2}};
    int round = 0;
    for (QPoint spot : spots) {
        Input::Click(spot);
        QString why;
        QVERIFY2(PanelInViewSoon(p, 2000, &why),
                 qPrintable(QStringLiteral("after a click at %1,%2: %3").arg(spot.x()).arg(spot.y()).arg(why)));
        QVERIFY(Form2AboveForm1(p));
        QVERIFY2(NetWmState(p.Form2()).contains("_NET_WM_STATE_ABOVE"), qPrintable(NetWmState(p.Form2()).join(' ')));
        if (round++ == 0)
            Screen::Shot("after-backdrop-click");
        QVERIFY2(
            PressesPlay(p),
            qPrintable(
                QStringLiteral("spacebar did not play after a backdrop click at %1,%2").arg(spot.x()).arg(spot.y())));
    }
    VERIFY_RUNNING(p);
}

void EndToEnd::windowManagerKeys_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("alt+Tab") << QStringList{"alt+Tab"};
    QTest::newRow("alt+Tab twice") << QStringList{"alt+Tab", "alt+Tab"};
    QTest::newRow("alt+shift+Tab") << QStringList{"alt+shift+Tab"};
    QTest::newRow("alt+Escape") << QStringList{"alt+Escape"};
    QTest::newRow("super+d") << QStringList{"super+d"};
    QTest::newRow("alt+space menu, Escape") << QStringList{"alt+space", "Escape"};
    // The walk that sends the main window to the bottom layer under openbox.
    QTest::newRow("window menu walk") << QStringList{"alt+space", "Down", "Down", "Right", "Down", "Down", "Return"};
    QTest::newRow("alt+F2, ctrl+Escape, super") << QStringList{"alt+F2", "Escape", "ctrl+Escape", "Escape", "super"};
}

void EndToEnd::windowManagerKeys()
{
    QFETCH(QStringList, keys);
    Program p;
    START_READY(p, audio_);
    const QImage before = OutsideCard(p);
    Input::Keys(keys, 50);
    QVERIFY(StaysRunning(p, 300));
    // The program holds the keyboard: the window manager never saw the keys.
    const int changed = DifferentPixels(OutsideCard(p), before);
    if (changed)
        Screen::Shot("wm-keys-changed-" + keys.join('_'));
    QVERIFY2(changed == 0, qPrintable(QStringLiteral("%1 pixels changed outside the card").arg(changed)));
    auto f2 = p.Form2Info();
    QVERIFY(f2);
    QString why;
    bool inView = PanelInViewSoon(p, 2000, &why);
    if (!inView)
        Screen::Shot("wm-keys-" + keys.join('_'));
    QVERIFY2(p.Form2Info()->viewable, "Form2 is not mapped");
    QVERIFY2(inView, qPrintable(why + "; Form2 state: " + NetWmState(p.Form2()).join(' ')));
    p.ClickClient(at::kMargin);
    QVERIFY2(PressesPlay(p), "spacebar did not play after a click on the margin");
    VERIFY_RUNNING(p);
}

void EndToEnd::closeRequestsIgnored_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("how");
    for (const char* w : {"Form1", "Form2"})
        for (const char* how : {"alt+F4", "_NET_CLOSE_WINDOW", "WM_DELETE_WINDOW"})
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(w, how))) << QString(w) << QString(how);
}

void EndToEnd::closeRequestsIgnored()
{
    QFETCH(QString, window);
    QFETCH(QString, how);
    Program p;
    START_READY(p, audio_);
    const quint32 id = window == "Form1" ? p.Form1() : p.Form2();

    if (how == "alt+F4") {
        // The window manager closes the focused window, so give it the focus first.
        Activate(id);
        QDeadlineTimer deadline(1000);
        QByteArray active;
        while (!deadline.hasExpired() && (active = Run("xdotool", {"getactivewindow"}).trimmed()).toUInt() != id)
            QTest::qWait(20);
        if (active.toUInt() != id)
            qInfo("focus went to %s rather than %u", active.constData(), id);
        Input::Keys({"alt+F4"});
    } else if (how == "_NET_CLOSE_WINDOW") {
        SendNetClose(id);
    } else {
        SendWmDelete(id);
    }

    QVERIFY2(StaysRunning(p, 1500), qPrintable(Describe(p)));
    QVERIFY2(p.Form1Info() && p.Form1Info()->viewable, "Form1 is not mapped");
    QVERIFY2(p.Form2Info() && p.Form2Info()->viewable, "Form2 is not mapped");
    QString why;
    QVERIFY2(PanelInViewSoon(p, 2000, &why), qPrintable(why));
    QVERIFY(NetWmState(p.Form2()).contains("_NET_WM_STATE_ABOVE"));
    p.ClickClient(at::kMargin);
    QVERIFY2(PressesPlay(p), "spacebar did not play");
}

void EndToEnd::outsideState_data()
{
    // Commands another program (or a window manager's menu) could run; FORM1
    // and FORM2 stand for the windows' ids.
    QTest::addColumn<QStringList>("commands");
    QTest::newRow("below") << QStringList{"wmctrl -i -r FORM2 -b remove,above", "wmctrl -i -r FORM2 -b add,below"};
    QTest::newRow("shaded") << QStringList{"wmctrl -i -r FORM2 -b add,shaded"};
    QTest::newRow("minimised") << QStringList{"xdotool windowminimize FORM2"};
    QTest::newRow("sticky") << QStringList{"wmctrl -i -r FORM2 -b add,sticky"};
    QTest::newRow("full-screen") << QStringList{"wmctrl -i -r FORM2 -b add,fullscreen"};
    QTest::newRow("maximised") << QStringList{"wmctrl -i -r FORM2 -b add,maximized_vert,maximized_horz"};
    QTest::newRow("backdrop activated") << QStringList{"wmctrl -i -a FORM1"};
    QTest::newRow("backdrop raised") << QStringList{"xdotool windowraise FORM1"};
    QTest::newRow("backdrop below") << QStringList{"wmctrl -i -r FORM1 -b add,below"};
    QTest::newRow("backdrop not full-screen") << QStringList{"wmctrl -i -r FORM1 -b remove,fullscreen"};
}

void EndToEnd::outsideState()
{
    QFETCH(QStringList, commands);
    Program p;
    START_READY(p, audio_);
    for (QString command : commands) {
        command.replace("FORM1", QString::number(p.Form1())).replace("FORM2", QString::number(p.Form2()));
        QStringList args = command.split(' ');
        const QString tool = args.takeFirst();
        int code = 0;
        Run(tool, args, 5000, &code);
        QVERIFY2(code == 0, qPrintable(command + " failed"));
    }
    const qint64 sent = NowMs();
    QString why;
    const bool back = PanelInViewSoon(p, 1000, &why);
    if (!back)
        Screen::Shot("outside-" + QString(QTest::currentDataTag()));
    QVERIFY2(back, qPrintable(why + "; Form2 state: " + NetWmState(p.Form2()).join(' ')));
    QTRY_VERIFY2_WITH_TIMEOUT(WrongStates(NetWmState(p.Form2())).isEmpty(),
                              qPrintable(WrongStates(NetWmState(p.Form2())).join(' ')),
                              std::max<qint64>(1, 1000 - (NowMs() - sent)));
    QTRY_COMPARE_WITH_TIMEOUT(p.Form2Info()->geometry.size(), at::kForm2Size, 1000);
    QTRY_COMPARE_WITH_TIMEOUT(p.Form1Info()->geometry, QRect(QPoint(0, 0), Screen::Size()), 1000);
    qInfo("back above the backdrop %lld ms after the request", NowMs() - sent);
    QVERIFY(p.Form1Info()->viewable);
    VERIFY_PLAYS(p);
}

void EndToEnd::closeAfterStartup()
{
    Program p;
    START_READY(p, audio_);
    VERIFY_CLOSES(p);
}

void EndToEnd::closeInPause()
{
    Program p;
    QVERIFY(p.Start());
    QVERIFY2(p.WaitForWindows(5000), qPrintable(Describe(p)));
    QVERIFY2(RedTickPixels(p.View(), at::kMarkNumbers) == 0, "the start-up pause was already over");
    VERIFY_CLOSES(p);
}

void EndToEnd::closeDuringSpeech()
{
    Program p;
    START_READY(p, audio_);
    qint64 t = NowMs();
    p.ClickClient(at::kLetters.center());
    QVERIFY(audio_.Heard(t, 1000));
    VERIFY_CLOSES(p);
}

void EndToEnd::mash()
{
    Program p;
    START_READY(p, audio_);
    // Memory settles once every part of the program has run once.
    QVERIFY(PressesPlay(p));
    Press();
    QVERIFY(audio_.WaitForQuiet(300, 5000));
    const qint64 rssBefore = p.RssKb();

    const quint32 seed = qEnvironmentVariableIsSet("E2E_SEED") ? qEnvironmentVariable("E2E_SEED").toUInt()
                                                               : QRandomGenerator::global()->generate();
    qInfo("mash seed %u (E2E_SEED=%u replays it)", seed, seed);
    QRandomGenerator rng(seed);

    QStringList plain;
    for (char c = 'a'; c <= 'z'; ++c)
        plain << QString(QChar(c));
    for (char c = '0'; c <= '9'; ++c)
        plain << QString(QChar(c));
    for (int f = 1; f <= 12; ++f)
        plain << QStringLiteral("F%1").arg(f);
    plain << "space"
          << "space"
          << "space"
          << "Return"
          << "Escape"
          << "Tab"
          << "BackSpace"
          << "Delete"
          << "Left"
          << "Right"
          << "Up"
          << "Down"
          << "Home"
          << "End"
          << "Prior"
          << "Next"
          << "Menu"
          << "super";
    const QStringList mods{"alt", "ctrl", "shift", "super", "ctrl+shift", "alt+shift", "super+shift"};
    // Alt+Space opens a window manager's window menu; arrows, Return and
    // letters walk it to its layer, decoration, shade and move entries.
    QStringList menu{"Down", "Down", "Down", "Up", "Right", "Right", "Left", "Return", "Return", "space"};
    for (char c = 'a'; c <= 'z'; ++c)
        menu << QString(QChar(c));
    const QStringList knownBadWalk{"alt+space", "Down", "Down", "Right", "Down", "Down", "Return"};
    auto forbidden = [](const QString& k) {
        // Ctrl+Alt with BackSpace, Delete or a function key is the X server's and the console's, not the program's.
        return k.contains("ctrl") && k.contains("alt");
    };

    const QRect close = QRect(p.ToScreen(at::kClose.topLeft()), at::kClose.size()).adjusted(-15, -15, 15, 15);
    const QSize screen = Screen::Size();
    int keys = 0, clicks = 0, walks = 0;
    QElapsedTimer took;
    took.start();
    for (int round = 0; round < 25; ++round) {
        QStringList chain{"key", "--delay", "1"};
        for (int i = 0; i < 210; ++i) {
            QString k = plain[rng.bounded(int(plain.size()))];
            if (rng.bounded(4) == 0) {
                QString chord = mods[rng.bounded(int(mods.size()))] + "+" + k;
                if (!forbidden(chord))
                    k = chord;
            }
            if (i == 50)
                k = "alt+F4";
            if (i == 120)
                k = "alt+Tab";
            if (i == 90) {
                chain << knownBadWalk;
                ++walks;
                keys += int(knownBadWalk.size());
            } else if (rng.bounded(14) == 0) {
                chain << "alt+space";
                ++walks;
                for (int step = 2 + rng.bounded(7); step > 0; --step, ++keys)
                    chain << menu[rng.bounded(int(menu.size()))];
            }
            chain << k;
            ++keys;
        }
        // Openbox menus opened by alt+space take the keyboard; a person would close them.
        chain << "Escape"
              << "Escape";
        for (int i = 0; i < 8; ++i) {
            QPoint at;
            do
                at = QPoint(rng.bounded(screen.width()), rng.bounded(screen.height()));
            while (close.contains(at));
            chain << Input::ClickSteps(at);
            ++clicks;
        }
        Input::Chain(chain);
        if (!p.Running())
            break;
    }
    Input::Keys({"Escape", "Escape"});
    qInfo("%d keys (%d window-menu walks) and %d clicks in %lld ms", keys, walks, clicks, took.elapsed());
    QVERIFY(keys >= 5000);
    QVERIFY(walks >= 25);
    Screen::Shot("after-mash");

    QVERIFY2(StaysRunning(p, 500), qPrintable(Describe(p)));
    auto f2 = p.Form2Info();
    QVERIFY(f2);
    QVERIFY2(f2->viewable, "Form2 is not mapped after the mash");
    QString why;
    QVERIFY2(PanelInViewSoon(p, 3000, &why), qPrintable(why + "; Form2 state: " + NetWmState(p.Form2()).join(' ')));
    QVERIFY(Form2AboveForm1(p));
    p.ClickClient(at::kMargin);
    QVERIFY2(PressesPlay(p), "spacebar did not play after the mash and a click on the margin");

    QVERIFY(audio_.WaitForQuiet(300, 8000));
    const qint64 rssAfter = p.RssKb();
    qInfo("VmRSS %lld kB before, %lld kB after", rssBefore, rssAfter);
    QVERIFY2(rssAfter - rssBefore < 5 * 1024,
             qPrintable(QStringLiteral("RSS grew by %1 kB").arg(rssAfter - rssBefore)));
}

void EndToEnd::badName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("delayMs");
    QString longName;
    QRandomGenerator rng(7);
    for (int i = 0; i < 5000; ++i)
        longName += QChar('a' + rng.bounded(26));
    QTest::newRow("5000-character name") << longName << 0;
    QTest::newRow("unicode name") << QStringLiteral(
        "Zo\u00EB \u00F1 \u00DF \u03A9 \u65E5\u672C\u8A9E \u0645\u0631\u062D\u0628\u0627 \U0001F642")
                                  << 5;
    QTest::newRow("markup-like name") << QStringLiteral("<speak>hi</speak> [[h@l'oU]] &amp; \"q\" <b>x</b>") << 5;
}

void EndToEnd::badName()
{
    QFETCH(QString, name);
    QFETCH(int, delayMs);
    Program p;
    START_READY(p, audio_);
    p.ClickClient(at::kName.center());
    QVERIFY2(Input::MapCharacters(name), "no spare keys for the name's characters");
    Input::Type(name, delayMs);
    Input::Keys({"Return", "Tab", "Return"}, 20);
    VERIFY_RUNNING(p);
    Screen::Shot("name-" + QString::number(name.size()));
    VERIFY_PLAYS(p);
    VERIFY_CLOSES(p);
}

void EndToEnd::rapidSoundClicks()
{
    Program p;
    START_READY(p, audio_);
    QStringList chain;
    for (int i = 0; i < 60; ++i)
        chain << Input::ClickSteps(p.ToScreen(i % 2 ? at::kSoundOn : at::kSoundOff));
    Input::Chain(chain);
    QVERIFY2(StaysRunning(p, 300), qPrintable(Describe(p)));
    QVERIFY2(audio_.WaitForQuiet(400, 8000), "speech went on after the clicks stopped");
    VERIFY_PLAYS(p);
    // The last click was "on": the next answer is heard.
    QVERIFY(audio_.WaitForQuiet(300, 5000));
    qint64 t = NowMs();
    Press();
    bool heard = audio_.Heard(t, 1000);
    if (!heard) {  // the press before may have been the answer; this one then shows, the next speaks
        t = NowMs();
        Press();
        heard = audio_.Heard(t, 1000);
    }
    QVERIFY2(heard, "answers silent after the last click on \"on\"");
    VERIFY_CLOSES(p);
}

void EndToEnd::pressesInPause()
{
    Program p;
    QVERIFY(p.Start());
    QVERIFY2(p.WaitForWindows(5000), qPrintable(Describe(p)));
    QStringList chain{"key", "--delay", "5"};
    for (int i = 0; i < 20; ++i)
        chain << "space";
    const QPoint card = p.ToScreen(at::kCardClick), letters = p.ToScreen(at::kLetters.center());
    for (QPoint at : {card, letters, card, card})
        chain << Input::ClickSteps(at);
    Input::Chain(chain);
    QVERIFY2(p.WaitForStartupEnd(5000) || RedTickPixels(p.View(), at::kMarkLetters) > 40,
             "no check mark after start-up");
    QVERIFY(audio_.WaitForQuiet(400, 8000));
    VERIFY_PLAYS(p);
    VERIFY_CLOSES(p);
}

QTEST_MAIN(EndToEnd)
#include "e2e_test.moc"
