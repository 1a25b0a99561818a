#include "ui/PreviewChoice.h"

#include <QSettings>

#include <memory>

namespace ombrix::ui {
namespace {

const QString kKey = QStringLiteral("MessageBox/ShowColoursWhileTyping");

std::unique_ptr<QSettings> UserSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ombrix"),
                                       QStringLiteral("ombrix"));
}

} // namespace

bool LoadShowColoursWhileTyping() { return UserSettings()->value(kKey, true).toBool(); }

bool SaveShowColoursWhileTyping(bool on)
{
    const std::unique_ptr<QSettings> settings = UserSettings();
    settings->setValue(kKey, on);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

} // namespace ombrix::ui
