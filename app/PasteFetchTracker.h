// Tells when another program has fetched our clipboard text. Qt answers each paste request
// itself and reports none of them, so this watches the raw requests before Qt answers.
#pragma once

#include <QAbstractNativeEventFilter>

#include <chrono>
#include <cstdint>
#include <optional>

namespace ombrix::app {

class PasteFetchTracker final : public QAbstractNativeEventFilter {
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

    explicit PasteFetchTracker(Atoms atoms) : atoms_(atoms) {}

    // Counts requests from now on (a clipboard manager may have read the text before).
    void Start();
    int DataRequests() const { return dataRequests_; }
    std::chrono::nanoseconds SinceLastRequest() const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    using Clock = std::chrono::steady_clock;

    Atoms atoms_;
    bool counting_ = false;
    int dataRequests_ = 0;
    Clock::time_point lastRequest_{};
};

} // namespace ombrix::app
