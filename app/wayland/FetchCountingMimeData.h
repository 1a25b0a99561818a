// Clipboard text that counts how often another program fetches it. On Wayland the
// clipboard owner's data is read through QMimeData::retrieveData, and no other signal
// says that a paste happened.
#pragma once

#include <QMimeData>

#include <chrono>

namespace ombrix::app::wayland {

class FetchCountingMimeData final : public QMimeData {
public:
    explicit FetchCountingMimeData(const QString& text) { setText(text); }

    // Counts fetches from now on: reading our own clipboard back must not count.
    void StartCounting();
    int Fetches() const { return fetches_; }
    std::chrono::steady_clock::duration SinceLastFetch() const;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    bool counting_ = false;
    mutable int fetches_ = 0;
    mutable std::chrono::steady_clock::time_point lastFetch_{};
};

} // namespace ombrix::app::wayland
