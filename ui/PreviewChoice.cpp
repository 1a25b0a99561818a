#include "ui/PreviewChoice.h"

#include "ui/UserSettings.h"

namespace ombrix::ui {
namespace {

const QString kKey = QStringLiteral("MessageBox/ShowColoursWhileTyping");

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
