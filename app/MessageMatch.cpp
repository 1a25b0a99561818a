#include "app/MessageMatch.h"

namespace ombrix::app {
namespace {

QString WithoutWhiteSpace(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (!c.isSpace())
            out.append(c);
    }
    return out;
}

} // namespace

bool Recognisable(const OutgoingMessage& message) { return !WithoutWhiteSpace(message.text).isEmpty(); }

bool FieldHolds(const QString& field, const OutgoingMessage& message)
{
    if (!Recognisable(message))
        return !field.isEmpty();
    const QString held = WithoutWhiteSpace(field);
    return held.contains(WithoutWhiteSpace(message.html)) || held.contains(WithoutWhiteSpace(message.text));
}

} // namespace ombrix::app
