// The Wayland paste watch: only reads of the clipboard data after Ctrl+V count, and a new
// text starts from nothing.
#include "app/wayland/ClipboardFetchWatch.h"

#include <gtest/gtest.h>

#include <memory>

namespace ombrix::app::wayland {
namespace {

TEST(ClipboardFetchWatch, CountsOnlyReadsAfterStart)
{
    ClipboardFetchWatch watch;
    std::unique_ptr<QMimeData> data(watch.NewClipboardData());
    data->setText(QStringLiteral("<FONT COLOR=FF0000>hi"));
    EXPECT_EQ(data->text(), QStringLiteral("<FONT COLOR=FF0000>hi")); // our own read-back
    watch.Start();
    EXPECT_EQ(watch.DataRequests(), 0);
    EXPECT_EQ(watch.SinceLastRequest(), std::chrono::nanoseconds::max());

    // A Wayland target's paste: Qt reads the text, under the name the target asked for or
    // under ours (one paste may take more than one read).
    data->data(QStringLiteral("text/plain;charset=utf-8"));
    EXPECT_GT(watch.DataRequests(), 0);
    const int afterFirst = watch.DataRequests();
    data->text();
    EXPECT_GT(watch.DataRequests(), afterFirst);
    EXPECT_LT(watch.SinceLastRequest(), std::chrono::seconds(1));
}

TEST(ClipboardFetchWatch, NewTextStartsFromNothingAndOutlivesOldData)
{
    ClipboardFetchWatch watch;
    std::unique_ptr<QMimeData> first(watch.NewClipboardData());
    first->setText(QStringLiteral("one"));
    watch.Start();
    first->text();
    ASSERT_GT(watch.DataRequests(), 0);

    // The clipboard deletes the old data when the next text replaces it.
    std::unique_ptr<QMimeData> second(watch.NewClipboardData());
    first.reset();
    second->setText(QStringLiteral("two"));
    EXPECT_EQ(watch.DataRequests(), 0);
    second->text(); // read before Ctrl+V: not a fetch
    EXPECT_EQ(watch.DataRequests(), 0);
    watch.Start();
    second->text();
    EXPECT_GT(watch.DataRequests(), 0);
}

} // namespace
} // namespace ombrix::app::wayland
