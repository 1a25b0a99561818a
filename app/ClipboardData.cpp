#include "app/ClipboardData.h"

#include <QMimeData>
#include <QRegularExpression>

namespace ombrix::app {

void FillClipboardData(QMimeData& data, const QString& html, bool rich)
{
    data.setText(html);
    if (!rich)
        return;
    // Browsers read a bare "FF0000" as a colour, Qt's rich text does not: "#FF0000"
    // means the same to both.
    static const QRegularExpression bareColour(QStringLiteral("<FONT COLOR=([0-9A-F]{6})>"));
    QString withHashes = html;
    withHashes.replace(bareColour, QStringLiteral("<FONT COLOR=\"#\\1\">"));
    data.setData(QStringLiteral("text/html"),
                 QByteArrayLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">") +
                     withHashes.toUtf8());
}

} // namespace ombrix::app
