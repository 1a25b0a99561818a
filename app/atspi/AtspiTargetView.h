// The target of a paste as the accessibility bus (AT-SPI 2) shows it, through libatspi.
// GTK 3 programs are always on the bus, GTK 2 ones when started with
// GTK_MODULES=gail:atk-bridge (Debian's X sessions set it), Qt ones only when the session's
// accessibility was on when they started. The tool only listens: it never switches the
// session's accessibility on, which would slow every Qt program started afterwards.
#pragma once

#include "app/TargetView.h"

#include <memory>

namespace ombrix::app::atspi {

class AtspiTargetView final : public TargetView {
public:
    // Connects to the bus and listens from now on; a session without one leaves every
    // target unseen.
    AtspiTargetView();
    ~AtspiTargetView() override;

    void Follow() override;
    void StopFollowing() override;
    std::optional<FocusedObject> Focus() const override;
    std::optional<QString> TextOf(std::uint64_t id) override;
    int WindowsOpened() const override { return windowsOpened_; }
    int TextChanges() const override { return textChanges_; }

    // Called by libatspi's listener, from the event loop.
    void Handle(const char* type, void* source, int detail1);

private:
    struct Bus;

    std::unique_ptr<Bus> bus_;
    std::optional<FocusedObject> focus_;
    int windowsOpened_ = 0;
    int textChanges_ = 0;
};

} // namespace ombrix::app::atspi
