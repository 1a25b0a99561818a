// The message box's menu entry for the send key of each messenger a send has reached, so
// that the choice can be changed from the keyboard (the menu key, or Shift+F10).
#pragma once

#include "ui/SendKeyChoice.h"

class QMenu;

namespace ombrix::ui {

// Adds "Send Key" with one submenu per program, each offering every key.
void AddSendKeyMenu(QMenu& menu, SendKeyBook& book);

} // namespace ombrix::ui
