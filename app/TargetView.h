// What the window that receives a paste shows of itself: its program, the object that has
// the keyboard focus there and that object's text. On Linux desktops it comes from the
// accessibility bus (app/atspi/), on X11 and Wayland alike. A send uses it to paste only
// into a text field and to see whether the message really left.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace ombrix::app {

// The object that has the keyboard focus in another program.
struct FocusedObject {
    std::uint64_t id = 0; // the same object keeps its id for as long as it is followed
    QString program;      // the program's name on the bus ("hexchat")
    QString role;         // "text", "tree table", "menu item", ...
    bool editable = false;
    bool inMenu = false; // a menu, menu item or popup: what a mistaken access key opens
};

class TargetView {
public:
    TargetView() = default;
    virtual ~TargetView() = default;
    TargetView(const TargetView&) = delete;
    TargetView& operator=(const TargetView&) = delete;

    // Starts following the focus in other programs. Called before our window hides, so the
    // focus that the previous window takes back is seen.
    virtual void Follow() = 0;
    virtual void StopFollowing() = 0;

    // The last object outside our program that took the focus since Follow; none while no
    // program said so (it is not on the bus).
    virtual std::optional<FocusedObject> Focus() const = 0;
    // The text the object holds, read now; none when it has no text or did not answer.
    virtual std::optional<QString> TextOf(std::uint64_t id) = 0;
    // How many windows of other programs were opened or activated since Follow.
    virtual int WindowsOpened() const = 0;
    // How many changes to texts of other programs were seen since Follow: a text is read
    // again only after one.
    virtual int TextChanges() const = 0;
};

} // namespace ombrix::app
