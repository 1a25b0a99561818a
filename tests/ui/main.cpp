// One QApplication for all widget tests, on the offscreen platform unless told otherwise.
#include "ui/layer/DesignStyle.h"
#include "ui/layer/Fonts.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ombrix::layer::UseDesignFont();
    ombrix::layer::UseDesignStyle();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
