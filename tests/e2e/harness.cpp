#include "harness.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QTest>

#include <xcb/xcb.h>

#include <cmath>
#include <cstring>
#include <signal.h>

namespace e2e {

namespace {
QElapsedTimer& Clock()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer c;
        c.start();
        return c;
    }();
    return clock;
}

xcb_connection_t* Xcb()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    auto cookie = xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

QString Field(const QString& text, const QString& label)
{
    QRegularExpression re(QRegularExpression::escape(label) + QStringLiteral(":\\s*(\\S+)"));
    auto m = re.match(text);
    return m.hasMatch() ? m.captured(1) : QString();
}
}  // namespace

qint64 NowMs() { return Clock().elapsed(); }

QByteArray Run(const QString& program, const QStringList& args, int timeoutMs, int* exitCode)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(program, args);
    if (!p.waitForStarted(timeoutMs)) {
        if (exitCode)
            *exitCode = -1;
        return {};
    }
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        if (exitCode)
            *exitCode = -1;
        return {};
    }
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput();
}

namespace at {
QVector<QPoint> PanelGreySpots()
{
    return {Panel(QPoint(8, 8)),    Panel(QPoint(984, 8)),   Panel(QPoint(8, 608)),  Panel(QPoint(984, 608)),
            Panel(QPoint(40, 300)), Panel(QPoint(960, 300)), Panel(QPoint(500, 600))};
}
}  // namespace at

std::optional<WindowInfo> QueryWindow(quint32 id)
{
    if (id == 0)
        return std::nullopt;
    int code = 0;
    QString out = QString::fromLocal8Bit(Run("xwininfo", {"-id", QString::number(id)}, 5000, &code));
    if (code != 0)
        return std::nullopt;
    WindowInfo w;
    w.id = id;
    w.geometry = QRect(Field(out, "Absolute upper-left X").toInt(), Field(out, "Absolute upper-left Y").toInt(),
                       Field(out, "Width").toInt(), Field(out, "Height").toInt());
    w.viewable = Field(out, "Map State") == QLatin1String("IsViewable");
    return w;
}

QVector<quint32> ClientStacking()
{
    QString out = QString::fromLatin1(Run("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"}));
    QVector<quint32> ids;
    static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
    for (auto it = hex.globalMatch(out); it.hasNext();)
        ids.push_back(it.next().captured(0).toUInt(nullptr, 16));
    return ids;
}

QStringList NetWmState(quint32 id)
{
    QString out = QString::fromLatin1(Run("xprop", {"-id", QString::number(id), "_NET_WM_STATE"}));
    QStringList states;
    static const QRegularExpression atom(QStringLiteral("_NET_WM_STATE_[A-Z_]+"));
    for (auto it = atom.globalMatch(out); it.hasNext();)
        states << it.next().captured(0);
    return states;
}

// ---------------------------------------------------------------- Screen

QImage Screen::Grab(QRect area)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    QPixmap pixmap =
        area.isEmpty() ? screen->grabWindow(0) : screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

QSize Screen::Size() { return QGuiApplication::primaryScreen()->size(); }

void Screen::Shot(const QString& name)
{
    QString dir = qEnvironmentVariable("E2E_SHOTS");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    Grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// ---------------------------------------------------------------- Form2View

QColor Form2View::Client(QPoint p) const
{
    QPoint s = p + origin_;
    if (!shot_.rect().contains(s))
        return QColor();
    return QColor(shot_.pixel(s));
}

QImage Form2View::Client(QRect r) const { return shot_.copy(r.translated(origin_)); }

bool Near(QColor c, QColor want, int tolerance)
{
    return c.isValid() && std::abs(c.red() - want.red()) <= tolerance && std::abs(c.green() - want.green()) <= tolerance
           && std::abs(c.blue() - want.blue()) <= tolerance;
}

bool Form2View::PanelInView(QString* why) const
{
    for (QPoint p : at::PanelGreySpots()) {
        QColor c = Client(p);
        if (!Near(c, QColor(0xE0, 0xE0, 0xE0), 10)) {
            if (why)
                *why = QStringLiteral("panel spot (%1,%2) is %3").arg(p.x()).arg(p.y()).arg(c.name());
            return false;
        }
    }
    return true;
}

CardInk ReadCard(const Form2View& view)
{
    CardInk ink;
    // Between the hint lines at the card's top and bottom, and inside its edge.
    const QRect inside = at::kCardFace;
    ink.image = view.Client(inside);
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            QColor c = view.Client(QPoint(x, y));
            if (!c.isValid())
                continue;
            if (std::max({c.red(), c.green(), c.blue()}) < 80) {
                ++ink.inkPixels;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
            if (at::kCardPicture.contains(x, y) && Near(c, QColor(0xFF, 0, 0), 20))
                ++ink.redPixels;
        }
    if (right >= 0)
        ink.inkBox = QRect(QPoint(left, top), QPoint(right, bottom));
    return ink;
}

int RedTickPixels(const Form2View& view, QRect mark)
{
    int n = 0;
    for (int y = mark.top(); y <= mark.bottom(); ++y)
        for (int x = mark.left(); x <= mark.right(); ++x) {
            QColor c = view.Client(QPoint(x, y));
            if (c.isValid() && c.red() > 200 && c.green() < 70 && c.blue() < 70)
                ++n;
        }
    return n;
}

int DifferentPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return std::max(a.width() * a.height(), b.width() * b.height());
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!Near(QColor(a.pixel(x, y)), QColor(b.pixel(x, y)), 24))
                ++n;
    return n;
}

// ---------------------------------------------------------------- Input

void Input::Keys(const QStringList& keys, int delayMs)
{
    Chain(QStringList{"key", "--delay", QString::number(delayMs)} + keys);
}

QStringList Input::ClickSteps(QPoint p)
{
    return {"mousemove", QString::number(p.x()), QString::number(p.y()), "click", "1"};
}

void Input::Click(QPoint p) { Chain(ClickSteps(p)); }

bool Input::MapCharacters(const QString& text)
{
    QVector<int> spare;
    static const QRegularExpression unused(QStringLiteral("^keycode\\s+(\\d+)\\s*=\\s*$"));
    for (const QString& line : QString::fromLatin1(Run("xmodmap", {"-pke"})).split('\n')) {
        auto m = unused.match(line.trimmed());
        if (m.hasMatch())
            spare << m.captured(1).toInt();
    }
    QStringList expressions;
    QSet<char32_t> seen;
    for (char32_t c : text.toUcs4()) {
        if (c < 0x80 || seen.contains(c))
            continue;
        seen.insert(c);
        if (spare.isEmpty())
            return false;
        expressions << "-e"
                    << QStringLiteral("keycode %1 = U%2").arg(spare.takeFirst()).arg(uint(c), 4, 16, QLatin1Char('0'));
    }
    if (expressions.isEmpty())
        return true;
    int code = 0;
    Run("xmodmap", expressions, 10000, &code);
    return code == 0;
}

void Input::Type(const QString& text, int delayMs) { Chain({"type", "--delay", QString::number(delayMs), "--", text}); }

void Input::Chain(const QStringList& args, int timeoutMs)
{
    int code = 0;
    Run("xdotool", args, timeoutMs, &code);
    if (code != 0)
        qWarning("xdotool %s ... ended with %d", qPrintable(args.value(0)), code);
}

// ---------------------------------------------------------------- Audio

bool Audio::Start()
{
    connect(&parec_, &QProcess::readyReadStandardOutput, this, &Audio::Read, Qt::UniqueConnection);
    parec_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    parec_.start("parec", {"-d", "cap.monitor", "--raw", "--format=s16le", QStringLiteral("--rate=%1").arg(kRate),
                           "--channels=1", "--latency-msec=20"});
    return parec_.waitForStarted(5000);
}

void Audio::Stop()
{
    if (parec_.state() == QProcess::NotRunning)
        return;
    parec_.terminate();
    if (!parec_.waitForFinished(2000)) {
        parec_.kill();
        parec_.waitForFinished(2000);
    }
}

void Audio::Read()
{
    carry_ += parec_.readAllStandardOutput();
    const qint64 now = NowMs();
    const int bytes = kWindowSamples * 2;
    const int count = int(carry_.size() / bytes);
    // The windows of one read arrived together; spread them back over the time they cover.
    for (int w = 0; w < count; ++w) {
        const auto* s = reinterpret_cast<const int16_t*>(carry_.constData() + w * bytes);
        double sum = 0;
        for (int i = 0; i < kWindowSamples; ++i)
            sum += double(s[i]) * s[i];
        windows_.push_back({now - qint64(count - 1 - w) * 50, std::sqrt(sum / kWindowSamples)});
    }
    carry_.remove(0, count * bytes);
}

double Audio::Peak(qint64 from, qint64 to) const
{
    double peak = 0;
    for (const Window& w : windows_)
        if (w.at >= from && w.at <= to)
            peak = std::max(peak, w.rms);
    return peak;
}

qint64 Audio::FirstLoud(qint64 from) const
{
    for (const Window& w : windows_)
        if (w.at >= from && w.rms > kLoud)
            return w.at;
    return -1;
}

bool Audio::Heard(qint64 from, int withinMs)
{
    // The recording arrives a little after it was played; allow for that lag.
    constexpr int kLag = 150;
    while (true) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (Peak(from, from + withinMs + kLag) > kLoud)
            return true;
        if (NowMs() > from + withinMs + kLag)
            return false;
        QTest::qWait(10);
    }
}

bool Audio::QuietDuring(qint64 from, int ms, double* peak)
{
    while (NowMs() < from + ms + 150)
        QTest::qWait(10);
    double p = Peak(from, from + ms + 150);
    if (peak)
        *peak = p;
    return p < kQuiet;
}

bool Audio::WaitForQuiet(int quietMs, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QTest::qWait(20);
        qint64 now = NowMs();
        if (Peak(now - quietMs, now) < kQuiet)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------- Program

Program::~Program() { Kill(); }

QString Program::Executable() { return qEnvironmentVariable("QUIBBET_EXE"); }

bool Program::Start()
{
    proc_.setProcessChannelMode(QProcess::ForwardedChannels);
    proc_.setProgram(Executable());
    startedAt_ = NowMs();
    proc_.start();
    if (!proc_.waitForStarted(5000))
        return false;
    pid_ = proc_.processId();
    return true;
}

bool Program::Running() const { return proc_.state() == QProcess::Running; }

bool Program::WaitForExit(int ms)
{
    if (proc_.state() == QProcess::NotRunning)
        return true;
    return proc_.waitForFinished(ms);
}

void Program::Kill()
{
    if (proc_.state() == QProcess::NotRunning)
        return;
    proc_.kill();
    proc_.waitForFinished(5000);
}

namespace {
QByteArray Property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property)
{
    auto cookie = xcb_get_property(c, 0, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
    QByteArray value;
    if (reply) {
        value =
            QByteArray(static_cast<const char*>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
        free(reply);
    }
    return value;
}

QVector<xcb_window_t> Children(xcb_connection_t* c, xcb_window_t w)
{
    QVector<xcb_window_t> children;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
    if (tree) {
        const xcb_window_t* ids = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i)
            children << ids[i];
        free(tree);
    }
    return children;
}
}  // namespace

// Straight from the X server rather than through xdotool, so that polling for
// a window costs well under a millisecond and start-up times stay honest.
quint32 Program::FindWindow(const QString& title, bool onlyVisible) const
{
    xcb_connection_t* c = Xcb();
    if (!c)
        return 0;
    static const xcb_atom_t pidAtom = Atom(c, "_NET_WM_PID");
    static const xcb_atom_t nameAtom = Atom(c, "_NET_WM_NAME");
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    // Top-level windows are the root's children, or, once the window manager
    // has framed them, its frames' children.
    QVector<xcb_window_t> candidates;
    for (xcb_window_t top : Children(c, root)) {
        candidates << top;
        candidates << Children(c, top);
    }
    for (xcb_window_t w : candidates) {
        const QByteArray pid = Property(c, w, pidAtom);
        if (pid.size() != 4 || *reinterpret_cast<const quint32*>(pid.constData()) != quint32(pid_))
            continue;
        QByteArray name = Property(c, w, nameAtom);
        if (name.isEmpty())
            name = Property(c, w, XCB_ATOM_WM_NAME);
        if (QString::fromUtf8(name) != title)
            continue;
        if (onlyVisible) {
            xcb_get_window_attributes_reply_t* a =
                xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr);
            const bool viewable = a && a->map_state == XCB_MAP_STATE_VIEWABLE;
            free(a);
            if (!viewable)
                continue;
        }
        return w;
    }
    return 0;
}

bool Program::WaitForWindows(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired() && Running()) {
        if (!form1_)
            form1_ = FindWindow("Form1", true);
        if (!form2_)
            form2_ = FindWindow("Form2", true);
        if (form1_ && form2_)
            return true;
        QTest::qWait(1);
    }
    return false;
}

QPoint Program::ToScreen(QPoint client) const
{
    auto info = Form2Info();
    return client + (info ? info->geometry.topLeft() : QPoint());
}

Form2View Program::View() const
{
    auto info = Form2Info();
    return Form2View(Screen::Grab(), info ? info->geometry.topLeft() : QPoint());
}

void Program::ClickClient(QPoint client) const { Input::Click(ToScreen(client)); }

bool Program::WaitForStartupEnd(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired() && Running()) {
        if (RedTickPixels(View(), at::kMarkNumbers) > 40)
            return true;
        QTest::qWait(10);
    }
    return false;
}

qint64 Program::RssKb() const
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid_));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

qint64 Program::CpuTicks() const
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid_));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    QByteArray all = f.readAll();
    // The command name may hold spaces; fields are counted from after its ')'.
    QList<QByteArray> fields = all.mid(all.lastIndexOf(')') + 2).split(' ');
    // utime and stime are fields 14 and 15 of the whole line, 12 and 13 here.
    return fields.value(11).toLongLong() + fields.value(12).toLongLong();
}

// ---------------------------------------------------------------- close requests

namespace {
// Both close requests are one client message; they differ in where it goes.
void SendClientMessage(xcb_window_t to, quint32 window, const char* type, quint32 d0, quint32 d1, uint32_t mask)
{
    xcb_connection_t* c = Xcb();
    if (!c)
        return;
    xcb_client_message_event_t ev;
    std::memset(&ev, 0, sizeof ev);
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = window;
    ev.type = Atom(c, type);
    ev.data.data32[0] = d0;
    ev.data.data32[1] = d1;
    xcb_send_event(c, 0, to, mask, reinterpret_cast<const char*>(&ev));
    xcb_flush(c);
}
}  // namespace

void SendWmDelete(quint32 window)
{
    if (xcb_connection_t* c = Xcb())
        SendClientMessage(window, window, "WM_PROTOCOLS", Atom(c, "WM_DELETE_WINDOW"), XCB_CURRENT_TIME,
                          XCB_EVENT_MASK_NO_EVENT);
}

void SendNetClose(quint32 window)
{
    if (xcb_connection_t* c = Xcb())
        // Source 2: from a pager or taskbar, which window managers obey.
        SendClientMessage(xcb_setup_roots_iterator(xcb_get_setup(c)).data->root, window, "_NET_CLOSE_WINDOW",
                          XCB_CURRENT_TIME, 2,
                          XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
}

void Activate(quint32 window) { Input::Chain({"windowactivate", QString::number(window)}); }

}  // namespace e2e
