// HTML Ombrix: type a message, get it as HTML whose colour fades across up to six colours.
#include "app/OmbrixApp.h"
#include "ombrix/Version.h"
#include "settings/Settings.h"
#include "ui/layer/DesignStyle.h"
#include "ui/layer/Fonts.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
        std::getenv("QT_QPA_PLATFORM") == nullptr) {
        std::fprintf(stderr, "ombrix: no display found. It needs a desktop session (Wayland or X11)."
                             "\nOn a machine without one, start a virtual display first, e.g.:\n"
                             "  Xvfb :99 -screen 0 1280x800x24 & openbox --display :99 & DISPLAY=:99 ombrix\n");
        return 1;
    }
    // In a Wayland session the tool is a Wayland client where Qt's Wayland platform is
    // installed: the compositor's keys reach Wayland and XWayland windows alike, and the
    // clipboard goes straight to Wayland programs. XWayland is the fallback.
    if (std::getenv("WAYLAND_DISPLAY") != nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr)
        qputenv("QT_QPA_PLATFORM", "wayland;xcb");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("HTML Ombrix"));
    // The app id on Wayland: desktops match the window to its menu entry and icon by it,
    // and the desktop portal asks for consent only for a program it can name.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(ombrix::kAppId));
    QApplication::setQuitOnLastWindowClosed(false); // closing the main window ends the program itself
    ombrix::layer::UseDesignFont();
    ombrix::layer::UseDesignStyle();

    ombrix::app::OmbrixApp app(modOmbrix::SettingsPath());
    app.Start();
    return QApplication::exec();
}
