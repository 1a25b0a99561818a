// Tells whether the target of a paste has fetched our clipboard data, and when it last
// asked for more. On X11 it watches the raw selection requests; on Wayland it counts the
// requests on the clipboard data we put there. Send presses Space and Alt+S only once the
// target has fetched; without a watch, paste mode is not offered.
#pragma once

#include <QMimeData>

#include <chrono>

namespace ombrix::app {

class PasteFetchWatch {
public:
    PasteFetchWatch() = default;
    virtual ~PasteFetchWatch() = default;
    PasteFetchWatch(const PasteFetchWatch&) = delete;
    PasteFetchWatch& operator=(const PasteFetchWatch&) = delete;

    // The object the clipboard text goes into (QClipboard takes ownership). A watch that
    // counts the requests made on it returns its own subclass; the default is plain data.
    virtual QMimeData* NewClipboardData() { return new QMimeData; }

    // Counts requests for the clipboard's data from now on, from zero: anything that read
    // it before (a clipboard manager, our own read-back) does not count.
    virtual void Start() = 0;
    // Requests for the data itself since Start (not those that only ask which formats there are).
    virtual int DataRequests() const = 0;
    // Time since the last counted request; nanoseconds::max() while there was none.
    virtual std::chrono::nanoseconds SinceLastRequest() const = 0;
};

} // namespace ombrix::app
