// What the message is written as: HTML unless the user chose another format in the
// message box's menu. A choice of the user's own, kept with the colours-while-typing
// choice in the user's configuration folder, never in the shared settings file.
#pragma once

#include "engine/Fade.h"

#include <QString>

namespace ombrix::ui {

modOmbrix::OutputFormat LoadOutputFormat();
// Returns false when the choice could not be written.
bool SaveOutputFormat(modOmbrix::OutputFormat format);

// The format's name as the user reads it: "HTML", "CSS", "BBCode", ...
QString OutputFormatTitle(modOmbrix::OutputFormat format);
// Whether rich editors get it as text/html too: the two HTML formats.
bool IsHtmlFormat(modOmbrix::OutputFormat format);

} // namespace ombrix::ui
