#pragma once
// Drives and watches the real program from outside, as a person at the machine
// would: real X input through xdotool, what the screen shows through root-window
// screenshots, and what the speaker plays through the sound server's monitor.

#include <QByteArray>
#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>
#include <optional>

namespace e2e {

// One clock for every timestamp in a run, so audio windows, input and window
// events can be compared.
qint64 NowMs();

// Runs a helper tool to the end and returns its standard output.
QByteArray Run(const QString& program, const QStringList& args, int timeoutMs = 10000, int* exitCode = nullptr);

// Where things are in Form2, in its client pixels. Panel places are relative to
// the panel's top-left corner and turned into client places with Panel().
namespace at {
inline constexpr QPoint kPanelOrigin{64, 56};
inline QRect Panel(QRect r) { return r.translated(kPanelOrigin); }
inline QPoint Panel(QPoint p) { return p + kPanelOrigin; }

inline constexpr QSize kForm2Size{1126, 715};
inline const QRect kClose{944, 8, 113, 42};
inline const QRect kPanel{64, 56, 993, 617};
inline const QPoint kMargin{20, 400};

inline const QRect kNumbers = Panel(QRect(110, 158, 167, 85));
inline const QRect kLetters = Panel(QRect(110, 268, 167, 85));
inline const QRect kColors = Panel(QRect(110, 378, 167, 85));
inline const QRect kShapes = Panel(QRect(110, 486, 167, 85));

inline const QRect kMarkNumbers = Panel(QRect(280, 160, 67, 50));
inline const QRect kMarkLetters = Panel(QRect(278, 270, 67, 50));
inline const QRect kMarkColors = Panel(QRect(278, 376, 67, 50));
inline const QRect kMarkShapes = Panel(QRect(278, 480, 67, 50));

inline const QRect kCard = Panel(QRect(376, 144, 275, 381));
// The card without its edge and the two hint lines on it.
inline const QRect kCardFace = Panel(QRect(384, 200, 259, 282));
inline const QRect kCardPicture = Panel(QRect(419, 265, 189, 139));
inline const QPoint kCardClick = Panel(QPoint(513, 450));

inline const QRect kSoundList = Panel(QRect(688, 492, 141, 36));
inline const QPoint kSoundOn = Panel(QPoint(758, 500));
inline const QPoint kSoundOff = Panel(QPoint(758, 518));
inline const QRect kName = Panel(QRect(356, 542, 191, 48));

// Plain grey spots of the panel, away from every control and label; all of
// them grey means the panel is in view, not covered by the backdrop.
QVector<QPoint> PanelGreySpots();
}  // namespace at

struct WindowInfo {
    quint32 id = 0;
    QRect geometry;  // client area in root coordinates
    bool viewable = false;
};

// xwininfo on one window; nullopt when the window is gone.
std::optional<WindowInfo> QueryWindow(quint32 id);
// Bottom-to-top stacking order that the window manager publishes.
QVector<quint32> ClientStacking();
QStringList NetWmState(quint32 id);

class Screen {
public:
    static QImage Grab(QRect area = {});  // root coordinates; empty = whole screen
    static QSize Size();
    // Saves a screenshot for a person to look at; failures here do not fail tests.
    static void Shot(const QString& name);
};

// A view of Form2 at one moment: a screenshot plus Form2's place on the screen.
class Form2View {
public:
    Form2View() = default;
    Form2View(QImage shot, QPoint origin) : shot_(std::move(shot)), origin_(origin) {}
    QColor Client(QPoint p) const;
    QImage Client(QRect r) const;
    bool PanelInView(QString* why = nullptr) const;
    const QImage& Shot() const { return shot_; }
    QPoint Origin() const { return origin_; }

private:
    QImage shot_;
    QPoint origin_;
};

// What the card shows, reduced to what tells cards apart.
struct CardInk {
    int inkPixels = 0;  // black text pixels
    QRect inkBox;       // in client coordinates
    int redPixels = 0;  // pure red inside the picture place
    QImage image;
};
CardInk ReadCard(const Form2View& view);
int RedTickPixels(const Form2View& view, QRect mark);
int DifferentPixels(const QImage& a, const QImage& b);
bool Near(QColor c, QColor want, int tolerance = 12);

class Input {
public:
    static void Keys(const QStringList& keys, int delayMs = 1);
    static void Click(QPoint rootPoint);
    // The xdotool steps of one click, to put into a longer Chain.
    static QStringList ClickSteps(QPoint rootPoint);
    // xdotool types a character the keyboard lacks by remapping a spare key
    // for it and back, and the window manager re-grabs its keys after every
    // remap, holding the pointer meanwhile. Mapping all of the text's
    // characters once beforehand leaves xdotool nothing to remap.
    static bool MapCharacters(const QString& text);
    static void Type(const QString& text, int delayMs = 1);
    // The raw xdotool command chain, for long mixed batches.
    static void Chain(const QStringList& args, int timeoutMs = 120000);
};

// Records the null sink's monitor through a pipe and keeps the RMS energy of each
// 50 ms window, stamped with the time it arrived.
class Audio : public QObject {
    Q_OBJECT
public:
    static constexpr int kRate = 22050;
    static constexpr int kWindowSamples = kRate / 20;
    static constexpr double kLoud = 500;  // speech here is thousands; silence is 0
    static constexpr double kQuiet = 120;

    bool Start();
    void Stop();
    // Loudest window that arrived in [from, to].
    double Peak(qint64 from, qint64 to) const;
    // Waits until a loud window arrives in [from, from + withinMs].
    bool Heard(qint64 from, int withinMs);
    // Waits until [from, from + ms] is over, then tells whether it stayed quiet.
    bool QuietDuring(qint64 from, int ms, double* peak = nullptr);
    // Waits until nothing loud has arrived for quietMs; false on timeout.
    bool WaitForQuiet(int quietMs, int timeoutMs);
    // Time of the first loud window at or after from, or -1.
    qint64 FirstLoud(qint64 from) const;

private:
    void Read();
    struct Window {
        qint64 at;
        double rms;
    };
    QProcess parec_;
    QByteArray carry_;
    QVector<Window> windows_;
};

// The program under test, started fresh for each test.
class Program {
public:
    ~Program();
    static QString Executable();
    bool Start();
    qint64 StartedAt() const { return startedAt_; }
    qint64 Pid() const { return pid_; }
    bool Running() const;
    // Waits until it has ended; true if it did within the time.
    bool WaitForExit(int ms);
    int ExitCode() const { return proc_.exitCode(); }
    QProcess::ExitStatus ExitStatus() const { return proc_.exitStatus(); }
    void Kill();

    // Window ids by exact title; 0 while there is none.
    quint32 FindWindow(const QString& title, bool onlyVisible = false) const;
    bool WaitForWindows(int ms);  // both Form1 and Form2 mapped
    quint32 Form1() const { return form1_; }
    quint32 Form2() const { return form2_; }
    std::optional<WindowInfo> Form2Info() const { return QueryWindow(form2_); }
    std::optional<WindowInfo> Form1Info() const { return QueryWindow(form1_); }

    Form2View View() const;
    QPoint ToScreen(QPoint client) const;
    void ClickClient(QPoint client) const;

    // The red check mark beside Numbers appears when the start-up pause ends.
    bool WaitForStartupEnd(int ms);

    qint64 RssKb() const;
    qint64 CpuTicks() const;  // utime + stime

private:
    QProcess proc_;
    qint64 startedAt_ = 0;
    qint64 pid_ = 0;
    quint32 form1_ = 0;
    quint32 form2_ = 0;
};

// Sends a window a close request the way each source of one would.
void SendWmDelete(quint32 window);  // WM_PROTOCOLS/WM_DELETE_WINDOW straight to the client
void SendNetClose(quint32 window);  // _NET_CLOSE_WINDOW to the window manager
void Activate(quint32 window);      // _NET_ACTIVE_WINDOW through xdotool

}  // namespace e2e
