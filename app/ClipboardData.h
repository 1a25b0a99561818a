// What Send puts on the clipboard: the HTML as plain text, which every plain field and
// the messenger receive, and the same HTML as text/html, so that a rich editor pastes
// the coloured text instead of the tags.
#pragma once

#include <QString>

class QMimeData;

namespace ombrix::app {

// The text/html flavour names its character set: an editor that reads HTML without one
// may take the bytes for Latin-1 and garble everything outside ASCII. Its colours carry
// a "#", which every rich editor understands.
// rich: the text is HTML (or CSS-styled HTML); other formats go as plain text alone.
void FillClipboardData(QMimeData& data, const QString& html, bool rich = true);

} // namespace ombrix::app
