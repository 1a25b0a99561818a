// The keys a send presses after the paste: Space, the messenger's send key, and Escape to
// close what a send key that missed opened.
#pragma once

namespace ombrix::app {

enum class Keystroke { Space, AltS, Enter, CtrlEnter, Escape };

} // namespace ombrix::app
