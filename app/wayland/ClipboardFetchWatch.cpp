#include "app/wayland/ClipboardFetchWatch.h"

namespace ombrix::app::wayland {
namespace {

class CountingMimeData final : public QMimeData {
public:
    explicit CountingMimeData(std::shared_ptr<ClipboardFetchWatch::Count> count) : count_(std::move(count)) {}

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override
    {
        // Every read after Start is another program's: Qt's Wayland clipboard reads the
        // text under whichever name the target asked for, not only under ours.
        if (count_->counting) {
            ++count_->requests;
            count_->last = std::chrono::steady_clock::now();
        }
        return QMimeData::retrieveData(mimeType, type);
    }

private:
    std::shared_ptr<ClipboardFetchWatch::Count> count_;
};

} // namespace

QMimeData* ClipboardFetchWatch::NewClipboardData()
{
    // A new text: what was counted on the one before no longer says anything.
    *count_ = Count{};
    return new CountingMimeData(count_);
}

void ClipboardFetchWatch::Start()
{
    count_->counting = true;
    count_->requests = 0;
}

int ClipboardFetchWatch::DataRequests() const { return count_->requests; }

std::chrono::nanoseconds ClipboardFetchWatch::SinceLastRequest() const
{
    if (count_->requests == 0)
        return std::chrono::nanoseconds::max();
    return std::chrono::steady_clock::now() - count_->last;
}

} // namespace ombrix::app::wayland
