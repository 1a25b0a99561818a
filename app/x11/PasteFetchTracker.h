// Tells when another program has fetched our clipboard text on X11. Qt answers each paste
// request itself and reports none of them, so this watches the raw requests before Qt answers.
#pragma once

#include "app/PasteFetchWatch.h"

#include <QAbstractNativeEventFilter>

#include <memory>

#include <chrono>
#include <cstdint>
#include <optional>

namespace ombrix::app {

class PasteFetchTracker final : public QAbstractNativeEventFilter, public PasteFetchWatch {
public:
    struct Atoms {
        std::uint32_t clipboard;
        // Requests for these ask about the text, not for it.
        std::uint32_t targets;
        std::uint32_t timestamp;
        std::uint32_t multiple;
    };
    // The atoms from the server of the xcb connection; none when it cannot tell them.
    static std::optional<Atoms> AtomsOf(void* xcbConnection);

    // A tracker watching the application's events; none without a connection or its atoms.
    static std::unique_ptr<PasteFetchTracker> Install(void* xcbConnection);

    explicit PasteFetchTracker(Atoms atoms) : atoms_(atoms) {}

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

} // namespace ombrix::app
