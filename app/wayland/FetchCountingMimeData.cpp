#include "app/wayland/FetchCountingMimeData.h"

namespace ombrix::app::wayland {

void FetchCountingMimeData::StartCounting()
{
    counting_ = true;
    fetches_ = 0;
}

std::chrono::steady_clock::duration FetchCountingMimeData::SinceLastFetch() const
{
    if (fetches_ == 0)
        return std::chrono::steady_clock::duration::max();
    return std::chrono::steady_clock::now() - lastFetch_;
}

QVariant FetchCountingMimeData::retrieveData(const QString& mimeType, QMetaType type) const
{
    if (counting_ && hasFormat(mimeType)) {
        ++fetches_;
        lastFetch_ = std::chrono::steady_clock::now();
    }
    return QMimeData::retrieveData(mimeType, type);
}

} // namespace ombrix::app::wayland
