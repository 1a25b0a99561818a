// One QApplication for all widget tests, on the offscreen platform unless told otherwise.
#include "ui/layer/DesignStyle.h"
#include "ui/layer/Fonts.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ombrix::layer::UseDesignFont();
    ombrix::layer::UseDesignStyle();
    // The user's own choices (the message box's colours) come from a throw-away folder,
    // never from the configuration of whoever runs the tests.
    const QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
