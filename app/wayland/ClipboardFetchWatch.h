// Tells when a paste target fetched our clipboard text on Wayland. Qt hands the text to
// another program through QMimeData::retrieveData of the data we put on the clipboard,
// and reports nothing else, so the data counts those calls.
#pragma once

#include "app/PasteFetchWatch.h"

#include <memory>

namespace ombrix::app::wayland {

class ClipboardFetchWatch final : public PasteFetchWatch {
public:
    ClipboardFetchWatch() = default;

    QMimeData* NewClipboardData() override;
    void Start() override;
    int DataRequests() const override;
    std::chrono::nanoseconds SinceLastRequest() const override;

    // Shared with the clipboard data, which the clipboard owns and may delete first.
    struct Count {
        bool counting = false;
        int requests = 0;
        std::chrono::steady_clock::time_point last{};
    };

private:
    std::shared_ptr<Count> count_ = std::make_shared<Count>();
};

} // namespace ombrix::app::wayland
