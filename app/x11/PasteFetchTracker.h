// Tells when another program has fetched our clipboard text on X11. Qt answers each paste
// request itself and reports none of them, so this watches the raw requests before Qt answers.
#pragma once

#include "app/PasteFetchWatch.h"

#include <QAbstractNativeEventFilter>

#include <memory>

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace ombrix::app::x11 {

class PasteFetchTracker final : public QAbstractNativeEventFilter, public PasteFetchWatch {
public:
    struct Atoms {
        std::uint32_t clipboard;
        // The formats a paste into a text field fetches. Requests for anything else ask
        // about the data (TARGETS) or for what we do not have (a file manager's file list,
        // an image), and show that the target has no use for our text.
        std::vector<std::uint32_t> text;
    };
    // The atoms from the server of the xcb connection; none when it cannot tell them.
    static std::optional<Atoms> AtomsOf(void* xcbConnection);

    // A tracker watching the application's events; none without a connection or its atoms.
    static std::unique_ptr<PasteFetchTracker> Install(void* xcbConnection);

    explicit PasteFetchTracker(Atoms atoms) : atoms_(std::move(atoms)) {}

    void Start() override;
    int DataRequests() const override { return dataRequests_; }
    std::chrono::nanoseconds SinceLastRequest() const override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    using Clock = std::chrono::steady_clock;

    Atoms atoms_;
    bool counting_ = false;
    int dataRequests_ = 0;
    Clock::time_point lastRequest_{};
};

} // namespace ombrix::app::x11
