#include "app/x11/PasteFetchTracker.h"

#include <QByteArray>
#include <QCoreApplication>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace ombrix::app::x11 {
namespace {

std::optional<std::uint32_t> Intern(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (reply == nullptr)
        return std::nullopt;
    const std::uint32_t atom = reply->atom;
    std::free(reply);
    return atom;
}

} // namespace

std::optional<PasteFetchTracker::Atoms> PasteFetchTracker::AtomsOf(void* xcbConnection)
{
    auto* connection = static_cast<xcb_connection_t*>(xcbConnection);
    if (connection == nullptr)
        return std::nullopt;
    const auto clipboard = Intern(connection, "CLIPBOARD");
    if (!clipboard)
        return std::nullopt;
    Atoms atoms{*clipboard, {}};
    // What Qt, GTK, Tk, browsers and terminals ask for when they paste text.
    for (const char* name :
         {"UTF8_STRING", "STRING", "TEXT", "COMPOUND_TEXT", "text/plain", "text/plain;charset=utf-8", "text/html"}) {
        const auto atom = Intern(connection, name);
        if (!atom)
            return std::nullopt;
        atoms.text.push_back(*atom);
    }
    return atoms;
}

std::unique_ptr<PasteFetchTracker> PasteFetchTracker::Install(void* xcbConnection)
{
    const auto atoms = AtomsOf(xcbConnection);
    if (!atoms || QCoreApplication::instance() == nullptr)
        return nullptr;
    auto tracker = std::make_unique<PasteFetchTracker>(*atoms);
    // The filter's destructor takes it out of the application again.
    QCoreApplication::instance()->installNativeEventFilter(tracker.get());
    return tracker;
}

void PasteFetchTracker::Start()
{
    counting_ = true;
    dataRequests_ = 0;
}

std::chrono::nanoseconds PasteFetchTracker::SinceLastRequest() const
{
    if (dataRequests_ == 0)
        return std::chrono::nanoseconds::max();
    return Clock::now() - lastRequest_;
}

bool PasteFetchTracker::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (!counting_ || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_SELECTION_REQUEST)
        return false;
    const auto* request = static_cast<const xcb_selection_request_event_t*>(message);
    if (request->selection != atoms_.clipboard ||
        std::find(atoms_.text.begin(), atoms_.text.end(), request->target) == atoms_.text.end())
        return false;
    ++dataRequests_;
    lastRequest_ = Clock::now();
    return false; // Qt still answers it
}

} // namespace ombrix::app::x11
