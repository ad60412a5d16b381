#include "ui/window_system.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace ui {

namespace {

xcb_connection_t* Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t Root(xcb_connection_t* c) { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }

// Only an atom some client has made already: XCB_ATOM_NONE means that no
// window manager here has heard of it.
xcb_atom_t Atom(xcb_connection_t* c, const char* name, bool onlyIfExists = false)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, onlyIfExists, std::uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// Every request to the window manager is a client message to the root window,
// as the EWMH has it.
void SendToRoot(xcb_connection_t* c, xcb_window_t window, xcb_atom_t type, std::initializer_list<std::uint32_t> data)
{
    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::copy(data.begin(), data.end(), message.data.data32);
    const xcb_window_t root = Root(c);
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
}

// Requests marked as coming from a pager: window managers carry those out
// without their focus-stealing rules.
constexpr std::uint32_t kFromPager = 2;
constexpr std::uint32_t kRemove = 0;
constexpr std::uint32_t kAdd = 1;

struct Atoms {
    explicit Atoms(xcb_connection_t* c)
        : state(Atom(c, "_NET_WM_STATE")),
          above(Atom(c, "_NET_WM_STATE_ABOVE")),
          below(Atom(c, "_NET_WM_STATE_BELOW")),
          hidden(Atom(c, "_NET_WM_STATE_HIDDEN")),
          shaded(Atom(c, "_NET_WM_STATE_SHADED")),
          sticky(Atom(c, "_NET_WM_STATE_STICKY")),
          fullscreen(Atom(c, "_NET_WM_STATE_FULLSCREEN")),
          maximisedAcross(Atom(c, "_NET_WM_STATE_MAXIMIZED_HORZ")),
          maximisedDown(Atom(c, "_NET_WM_STATE_MAXIMIZED_VERT")),
          activeWindow(Atom(c, "_NET_ACTIVE_WINDOW")),
          restackWindow(Atom(c, "_NET_RESTACK_WINDOW"))
    {}
    // States the front window must never have, and those the backdrop must not.
    std::vector<xcb_atom_t> FrontUnwanted() const
    {
        return {below, hidden, shaded, sticky, fullscreen, maximisedAcross, maximisedDown};
    }
    std::vector<xcb_atom_t> BackdropUnwanted() const { return {below, hidden, shaded}; }

    xcb_atom_t state, above, below, hidden, shaded, sticky, fullscreen, maximisedAcross, maximisedDown, activeWindow,
        restackWindow;
};

const Atoms& TheAtoms(xcb_connection_t* c)
{
    static const Atoms atoms(c);
    return atoms;
}

std::vector<xcb_atom_t> ReadState(xcb_connection_t* c, xcb_window_t window)
{
    const Atoms& a = TheAtoms(c);
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, a.state, XCB_ATOM_ATOM, 0, 64), nullptr);
    std::vector<xcb_atom_t> state;
    if (reply && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        state.assign(atoms, atoms + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return state;
}

bool Has(const std::vector<xcb_atom_t>& state, xcb_atom_t atom)
{
    return std::find(state.begin(), state.end(), atom) != state.end();
}

bool Viewable(xcb_connection_t* c, xcb_window_t window)
{
    xcb_get_window_attributes_reply_t* a =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
    const bool viewable = a && a->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(a);
    return viewable;
}

// Qt selects most of these already; the visibility reports it does not.
void SelectEvents(xcb_connection_t* c, xcb_window_t window)
{
    xcb_get_window_attributes_reply_t* a =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
    if (a == nullptr)
        return;
    const std::uint32_t mask = a->your_event_mask | XCB_EVENT_MASK_VISIBILITY_CHANGE | XCB_EVENT_MASK_PROPERTY_CHANGE
                               | XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_FOCUS_CHANGE | XCB_EVENT_MASK_EXPOSURE
                               | XCB_EVENT_MASK_BUTTON_PRESS;
    std::free(a);
    xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &mask);
}

// Drops the unwanted states the window has and adds the wanted one it lacks.
void MendState(xcb_connection_t* c, xcb_window_t window, const std::vector<xcb_atom_t>& unwanted, xcb_atom_t wanted)
{
    const Atoms& a = TheAtoms(c);
    const std::vector<xcb_atom_t> state = ReadState(c, window);
    std::vector<xcb_atom_t> drop;
    for (xcb_atom_t atom : unwanted)
        if (Has(state, atom))
            drop.push_back(atom);
    for (std::size_t i = 0; i < drop.size(); i += 2)
        SendToRoot(c, window, a.state, {kRemove, drop[i], i + 1 < drop.size() ? drop[i + 1] : 0, kFromPager});
    if (!Has(state, wanted))
        SendToRoot(c, window, a.state, {kAdd, wanted, 0, kFromPager});
}

bool NormalFocusIn(const xcb_focus_in_event_t* e)
{
    return e->mode != XCB_NOTIFY_MODE_GRAB && e->detail != XCB_NOTIFY_DETAIL_POINTER;
}

}  // namespace

void EndShowDesktop()
{
    xcb_connection_t* c = Connection();
    if (c == nullptr)
        return;
    const xcb_atom_t showing = Atom(c, "_NET_SHOWING_DESKTOP", true);
    if (showing == XCB_ATOM_NONE)
        return;
    SendToRoot(c, Root(c), showing, {0});  // stop showing the desktop
    xcb_flush(c);
}

void ChoosePlatform()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

// ---------------------------------------------------------------- KeyboardHold

bool KeyboardHold::Take(std::uint32_t window)
{
    xcb_connection_t* c = Connection();
    if (c == nullptr || window == 0)
        return false;
    xcb_grab_keyboard_reply_t* reply = xcb_grab_keyboard_reply(
        c, xcb_grab_keyboard(c, 1, window, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC), nullptr);
    held_ = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(reply);
    return held_;
}

void KeyboardHold::Release()
{
    if (!held_)
        return;
    held_ = false;
    if (xcb_connection_t* c = Connection()) {
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
        xcb_flush(c);
    }
}

// ---------------------------------------------------------------- RepairBudget

int RepairBudget::WindowMs() const { return std::min(kLongestWindowMs, kWindowMs << exhausted_); }

int RepairBudget::WaitMs(std::int64_t nowMs) const
{
    const std::int64_t end = windowStart_ + WindowMs();
    return inWindow_ < kBurst || nowMs >= end ? 0 : int(end - nowMs);
}

void RepairBudget::Spend(std::int64_t nowMs)
{
    const std::int64_t end = windowStart_ + WindowMs();
    if (nowMs >= end) {
        // A burst that ran out, followed straight by another, makes the next
        // window longer; a quiet spell starts afresh.
        exhausted_ = inWindow_ >= kBurst && nowMs < end + kWindowMs ? std::min(exhausted_ + 1, 2) : 0;
        windowStart_ = nowMs;
        inWindow_ = 0;
    }
    ++inWindow_;
    ++total_;
}

// ---------------------------------------------------------------- StackingGuard

StackingGuard::StackingGuard(QWidget* front, QWidget* backdrop) : front_(front), backdrop_(backdrop)
{
    check_.setSingleShot(true);
    check_.setInterval(0);
    connect(&check_, &QTimer::timeout, this, &StackingGuard::Check);
    xcb_connection_t* c = Connection();
    if (c == nullptr || front == nullptr || backdrop == nullptr)
        return;
    frontId_ = std::uint32_t(front->winId());
    backdropId_ = std::uint32_t(backdrop->winId());
    TheAtoms(c);
    SelectEvents(c, frontId_);
    SelectEvents(c, backdropId_);
    xcb_flush(c);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

StackingGuard::~StackingGuard()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    keyboard_.Release();
}

void StackingGuard::FrontActivated() { TakeKeyboard(); }

void StackingGuard::TakeKeyboard()
{
    // A pop-up of the program's own (a combo box's list) holds the keyboard
    // while it is open; Qt lets it go when the pop-up closes, and the front
    // window's focus coming back then takes it again.
    if (QApplication::activePopupWidget() == nullptr && front_ && front_->isVisible())
        keyboard_.Take(frontId_);
}

void StackingGuard::Want(bool raise)
{
    raiseWanted_ = raiseWanted_ || raise;
    if (!check_.isActive())
        check_.start(0);
}

bool StackingGuard::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (frontId_ == 0 || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_VISIBILITY_NOTIFY: {
        const auto* e = reinterpret_cast<const xcb_visibility_notify_event_t*>(event);
        // Covered front window, or a backdrop that nothing covers: the front
        // window is no longer on top of it. The program's own pop-ups may
        // cover part of it.
        if (e->window == frontId_ && e->state != XCB_VISIBILITY_UNOBSCURED)
            Want(e->state == XCB_VISIBILITY_FULLY_OBSCURED || QApplication::activePopupWidget() == nullptr);
        else if (e->window == backdropId_ && e->state == XCB_VISIBILITY_UNOBSCURED)
            Want(frontMapped_);
        break;
    }
    case XCB_PROPERTY_NOTIFY: {
        const auto* e = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if ((e->window == frontId_ || e->window == backdropId_) && e->atom == TheAtoms(Connection()).state)
            Want(false);
        break;
    }
    case XCB_MAP_NOTIFY:
        if (reinterpret_cast<const xcb_map_notify_event_t*>(event)->window == frontId_) {
            frontMapped_ = true;
            Want(false);
        }
        break;
    case XCB_UNMAP_NOTIFY:
        if (reinterpret_cast<const xcb_unmap_notify_event_t*>(event)->window == frontId_)
            Want(false);
        break;
    case XCB_FOCUS_IN: {
        const auto* e = reinterpret_cast<const xcb_focus_in_event_t*>(event);
        // Focus back on the front window after any grab ended (a pop-up's,
        // the window manager's) takes the keyboard again; focus on the
        // backdrop is handed back to the front window.
        if (e->event == frontId_ && e->mode != XCB_NOTIFY_MODE_GRAB)
            TakeKeyboard();
        else if (e->event == backdropId_ && NormalFocusIn(e))
            Want(frontMapped_);
        break;
    }
    case XCB_BUTTON_PRESS:
        // A press on the backdrop raises it under many window managers.
        if (reinterpret_cast<const xcb_button_press_event_t*>(event)->event == backdropId_)
            Want(frontMapped_);
        break;
    case XCB_EXPOSE:
        if (reinterpret_cast<const xcb_expose_event_t*>(event)->window == backdropId_)
            Want(frontMapped_);
        break;
    default: break;
    }
    return false;
}

bool StackingGuard::StateWrong(std::uint32_t window, bool front)
{
    xcb_connection_t* c = Connection();
    const Atoms& a = TheAtoms(c);
    const std::vector<xcb_atom_t> state = ReadState(c, window);
    for (xcb_atom_t atom : front ? a.FrontUnwanted() : a.BackdropUnwanted())
        if (Has(state, atom))
            return true;
    // Keep-above and full-screen are missed only once the window manager has
    // shown it keeps them: some never write them back (i3 and full-screen).
    bool& seen = front ? sawAbove_ : sawFullscreen_;
    const bool has = Has(state, front ? a.above : a.fullscreen);
    seen = seen || has;
    return seen && !has;
}

void StackingGuard::Check()
{
    xcb_connection_t* c = Connection();
    if (c == nullptr || !front_ || !backdrop_ || !frontMapped_ || !front_->isVisible())
        return;
    const bool wrong =
        raiseWanted_ || StateWrong(frontId_, true) || StateWrong(backdropId_, false) || !Viewable(c, frontId_);
    if (!wrong)
        return;
    const std::int64_t now = QDeadlineTimer::current().deadline();
    if (const int wait = budget_.WaitMs(now); wait > 0) {
        check_.start(wait);
        return;
    }
    budget_.Spend(now);
    Repair();
}

void StackingGuard::Repair()
{
    xcb_connection_t* c = Connection();
    const Atoms& a = TheAtoms(c);
    raiseWanted_ = false;
    MendState(c, frontId_, a.FrontUnwanted(), a.above);
    MendState(c, backdropId_, a.BackdropUnwanted(), a.fullscreen);
    // An iconified or shaded window is mapped again by asking for it.
    if (!Viewable(c, frontId_))
        xcb_map_window(c, frontId_);
    SendToRoot(c, frontId_, a.restackWindow, {kFromPager, XCB_NONE, XCB_STACK_MODE_ABOVE});
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c, frontId_, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    SendToRoot(c, frontId_, a.activeWindow, {kFromPager, XCB_CURRENT_TIME, 0});
    xcb_flush(c);
}

}  // namespace ui
