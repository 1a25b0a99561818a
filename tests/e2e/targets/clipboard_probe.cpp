// Reads the clipboard as a rich editor does and prints what it found as JSON: the
// formats on offer, the plain text, and each character of the text/html flavour, as a
// QTextDocument loads it, with its colour (null where it has none).
#include <QApplication>
#include <QClipboard>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr)
        return 1;
    QJsonArray formats;
    for (const QString& format : data->formats())
        formats.append(format);
    QTextDocument document;
    document.setHtml(data->html()); // decoded by the character set the HTML declares
    QJsonArray characters;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            characters.append(QJsonArray{QStringLiteral("\n"), QJsonValue()});
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QJsonValue colour = format.hasProperty(QTextFormat::ForegroundBrush)
                                          ? QJsonValue(format.foreground().color().name().mid(1).toUpper())
                                          : QJsonValue();
            // One entry per character, not per UTF-16 unit; a <BR> loads as a line separator.
            for (const char32_t c : fragment.text().toUcs4())
                characters.append(QJsonArray{c == 0x2028 ? QStringLiteral("\n") : QString::fromUcs4(&c, 1), colour});
        }
    }
    const QJsonObject found{{QStringLiteral("formats"), formats},
                            {QStringLiteral("text"), data->text()},
                            {QStringLiteral("characters"), characters}};
    const QByteArray json = QJsonDocument(found).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, static_cast<std::size_t>(json.size()), stdout);
    return 0;
}
