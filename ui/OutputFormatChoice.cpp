#include "ui/OutputFormatChoice.h"

#include "ui/UserSettings.h"

namespace ombrix::ui {
namespace {

const QString kKey = QStringLiteral("MessageBox/OutputFormat");

} // namespace

modOmbrix::OutputFormat LoadOutputFormat()
{
    const QByteArray name = UserSettings()->value(kKey).toString().toLatin1();
    // A name this version does not know reads as the default.
    return modOmbrix::FormatNamed(std::string_view(name.constData(), static_cast<std::size_t>(name.size())))
        .value_or(modOmbrix::OutputFormat::Html);
}

bool SaveOutputFormat(modOmbrix::OutputFormat format)
{
    const auto settings = UserSettings();
    const std::string_view name = modOmbrix::FormatName(format);
    settings->setValue(kKey, QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    settings->sync();
    return settings->status() == QSettings::NoError;
}

QString OutputFormatTitle(modOmbrix::OutputFormat format)
{
    using modOmbrix::OutputFormat;
    switch (format) {
    case OutputFormat::Html: return QStringLiteral("HTML");
    case OutputFormat::Css: return QStringLiteral("CSS");
    case OutputFormat::BbCode: return QStringLiteral("BBCode");
    case OutputFormat::MiniMessage: return QStringLiteral("MiniMessage");
    case OutputFormat::Irc: return QStringLiteral("IRC");
    case OutputFormat::Ansi: return QStringLiteral("ANSI");
    }
    return {};
}

bool IsHtmlFormat(modOmbrix::OutputFormat format)
{
    return format == modOmbrix::OutputFormat::Html || format == modOmbrix::OutputFormat::Css;
}

} // namespace ombrix::ui
