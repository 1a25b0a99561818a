// Whether a text field in another program holds the message being sent. A plain field
// holds the HTML; a rich one (it took the clipboard's text/html flavour) holds the text it
// shows. Fields turn line breaks and runs of spaces their own way, so white space does
// not count in the comparison.
#pragma once

#include <QString>

namespace ombrix::app {

struct OutgoingMessage {
    QString html;     // what goes on the clipboard: the message in the chosen format
    QString text;     // what the user typed
    bool rich = true; // an HTML format, offered to rich editors as text/html too
};

// True when the field holds the message. A message of white space alone is held by any
// field that is not empty.
bool FieldHolds(const QString& field, const OutgoingMessage& message);

// Whether the message has anything but white space, so that a field holding it can be
// told from one holding other text.
bool Recognisable(const OutgoingMessage& message);

} // namespace ombrix::app
