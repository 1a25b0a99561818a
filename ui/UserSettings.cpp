#include "ui/UserSettings.h"

namespace ombrix::ui {

std::unique_ptr<QSettings> UserSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ombrix"),
                                       QStringLiteral("ombrix"));
}

} // namespace ombrix::ui
