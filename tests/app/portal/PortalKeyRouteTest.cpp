// The portal route against a stand-in remote desktop portal on a private session bus: the
// calls, their order and the keys sent. Not a real GNOME or KDE desktop.
#include "app/portal/PortalKeyRoute.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace ombrix::app::portal {
namespace {

// Ctrl+V, then Space and Alt+S, as X keysyms pressed (1) and released (0).
const std::vector<std::pair<int, int>> kPasteAndSend{{0xffe3, 1}, {0x76, 1},  {0x76, 0},   {0xffe3, 0}, // Ctrl+V
                                                     {0x20, 1},   {0x20, 0},  {0xffe9, 1}, {0x73, 1},
                                                     {0x73, 0},   {0xffe9, 0}}; // Space, Alt+S

class PortalKeyRouteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        bus_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                   QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
        ASSERT_TRUE(bus_.waitForReadyRead(10000)) << "dbus-daemon did not start (scripts/setup.sh installs it)";
        address_ = QString::fromUtf8(bus_.readLine()).trimmed();
        connection_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address_, Name()));
        ASSERT_TRUE(connection_->isConnected());
    }

    void TearDown() override
    {
        if (portal_.state() != QProcess::NotRunning) {
            portal_.kill();
            portal_.waitForFinished();
        }
        connection_.reset();
        QDBusConnection::disconnectFromBus(Name());
        bus_.kill();
        bus_.waitForFinished();
    }

    // Starts the stand-in and waits until it holds the portal's name.
    // consent: "yes", "deny", "silent" (never answered) or "late" (after 1.5 s).
    void StartPortal(int version, const char* consent = "yes")
    {
        if (portal_.state() != QProcess::NotRunning) {
            portal_.kill();
            portal_.waitForFinished();
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address_);
        portal_.setProcessEnvironment(env);
        QStringList args{QStringLiteral(STAND_IN_PORTAL), LogPath(), QString::number(version)};
        args << QString::fromLatin1(consent);
        portal_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        portal_.start(QStringLiteral(PYTHON3), args);
        for (int i = 0; i < 200; ++i) {
            if (connection_->interface()->isServiceRegistered(QStringLiteral("org.freedesktop.portal.Desktop")))
                return;
            QThread::msleep(25);
        }
        FAIL() << "the stand-in portal did not start (python3-dbus, python3-gi)";
    }

    QString LogPath() const { return dir_.filePath(QStringLiteral("calls")); }
    std::filesystem::path TokenFile() const
    {
        return dir_.filePath(QStringLiteral("state/ombrix/portal-restore-token")).toStdString();
    }

    std::vector<QJsonObject> Calls() const
    {
        std::vector<QJsonObject> calls;
        QFile file(LogPath());
        if (!file.open(QIODevice::ReadOnly))
            return calls;
        while (!file.atEnd())
            calls.push_back(QJsonDocument::fromJson(file.readLine()).object());
        return calls;
    }

    std::vector<QString> Names() const
    {
        std::vector<QString> names;
        for (const QJsonObject& call : Calls())
            names.push_back(call.value(QStringLiteral("call")).toString());
        return names;
    }

    std::vector<std::pair<int, int>> Keysyms() const
    {
        std::vector<std::pair<int, int>> keys;
        for (const QJsonObject& call : Calls())
            if (call.value(QStringLiteral("call")).toString() == QStringLiteral("NotifyKeyboardKeysym"))
                keys.emplace_back(call.value(QStringLiteral("keysym")).toInt(),
                                  call.value(QStringLiteral("state")).toInt());
        return keys;
    }

    QJsonObject SelectOptions(std::size_t which) const
    {
        std::size_t seen = 0;
        for (const QJsonObject& call : Calls())
            if (call.value(QStringLiteral("call")).toString() == QStringLiteral("SelectDevices") && seen++ == which)
                return call.value(QStringLiteral("options")).toObject();
        return {};
    }

    std::unique_ptr<QDBusConnection> connection_;

private:
    QString Name() const { return QStringLiteral("portal-test"); }

    QTemporaryDir dir_;
    QProcess bus_;
    QProcess portal_;
    QString address_;
};

TEST_F(PortalKeyRouteTest, AsksConsentOnceThenSendsTheKeysInOrder)
{
    StartPortal(1);
    auto route = PortalKeyRoute::Open(*connection_, TokenFile());
    ASSERT_NE(route, nullptr);

    ASSERT_TRUE(route->ReachesPreviousWindow());
    route->PressPaste();
    route->Press(Keystroke::Space);
    route->Press(Keystroke::AltS);
    ASSERT_TRUE(route->ReachesPreviousWindow()); // the next Send: same session, no new dialog
    route->PressPaste();
    route->Press(Keystroke::Space);
    route->Press(Keystroke::AltS);

    const std::vector<QString> head{QStringLiteral("CreateSession"), QStringLiteral("SelectDevices"),
                                    QStringLiteral("Start")};
    const auto names = Names();
    ASSERT_GE(names.size(), head.size());
    EXPECT_EQ(std::vector<QString>(names.begin(), names.begin() + 3), head);
    EXPECT_EQ(names.size(), 3 + 2 * kPasteAndSend.size()) << "only keys after the session started";

    auto twice = kPasteAndSend;
    twice.insert(twice.end(), kPasteAndSend.begin(), kPasteAndSend.end());
    EXPECT_EQ(Keysyms(), twice);

    const QJsonObject select = SelectOptions(0);
    EXPECT_EQ(select.value(QStringLiteral("types")).toInt(), 1) << "the keyboard, nothing else";
    EXPECT_FALSE(select.contains(QStringLiteral("persist_mode"))) << "version 1 knows no restore tokens";
    EXPECT_FALSE(QFile::exists(QString::fromStdString(TokenFile().string())));
}

TEST_F(PortalKeyRouteTest, KeepsTheRestoreTokenForTheNextRun)
{
    StartPortal(2);
    {
        auto route = PortalKeyRoute::Open(*connection_, TokenFile());
        ASSERT_NE(route, nullptr);
        ASSERT_TRUE(route->ReachesPreviousWindow());
        const QJsonObject select = SelectOptions(0);
        EXPECT_EQ(select.value(QStringLiteral("persist_mode")).toInt(), 2);
        EXPECT_FALSE(select.contains(QStringLiteral("restore_token")));
    }
    QFile token(QString::fromStdString(TokenFile().string()));
    ASSERT_TRUE(token.open(QIODevice::ReadOnly));
    EXPECT_EQ(token.readAll(), QByteArray("token-1"));
    EXPECT_EQ(token.permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());

    auto nextRun = PortalKeyRoute::Open(*connection_, TokenFile());
    ASSERT_NE(nextRun, nullptr);
    ASSERT_TRUE(nextRun->ReachesPreviousWindow());
    EXPECT_EQ(SelectOptions(1).value(QStringLiteral("restore_token")).toString(), QStringLiteral("token-1"));
}

TEST_F(PortalKeyRouteTest, DeclinedConsentPressesNothing)
{
    StartPortal(1, "deny");
    auto route = PortalKeyRoute::Open(*connection_, TokenFile());
    ASSERT_NE(route, nullptr);
    EXPECT_FALSE(route->ReachesPreviousWindow());
    route->PressPaste(); // must not reach the portal without a session
    route->Press(Keystroke::Space);
    route->Press(Keystroke::AltS);
    EXPECT_TRUE(Keysyms().empty());
}

// A consent dialog left unanswered, or answered after the route gave up, must leave neither
// the dialog nor a remote-control session behind: the route closes both.
TEST_F(PortalKeyRouteTest, GivingUpOnTheConsentClosesTheRequestAndTheSession)
{
    for (const char* consent : {"silent", "late"}) {
        StartPortal(1, consent);
        const std::size_t before = Names().size();
        auto route = PortalKeyRoute::Open(*connection_, TokenFile(), std::chrono::seconds(1));
        ASSERT_NE(route, nullptr);
        EXPECT_FALSE(route->ReachesPreviousWindow()) << consent;
        // The late answer arrives meanwhile; nothing may come of it.
        QDeadlineTimer wait(2500);
        while (!wait.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        route->PressPaste();
        const auto all = Names();
        const std::vector<QString> names(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
        const auto count = [&](const char* name) { return std::count(names.begin(), names.end(), QString(name)); };
        EXPECT_EQ(count("RequestClose"), 1) << consent << ": the consent dialog stays on screen";
        EXPECT_EQ(count("Close"), 1) << consent << ": the session stays at the portal";
        EXPECT_TRUE(Keysyms().empty()) << consent;
    }
}

TEST_F(PortalKeyRouteTest, QuittingClosesTheSession)
{
    StartPortal(1);
    {
        auto route = PortalKeyRoute::Open(*connection_, TokenFile());
        ASSERT_NE(route, nullptr);
        ASSERT_TRUE(route->ReachesPreviousWindow());
    }
    QDeadlineTimer wait(2000);
    while (!wait.hasExpired() && Names().back() != QStringLiteral("Close"))
        QThread::msleep(20);
    EXPECT_EQ(Names().back(), QStringLiteral("Close"));
}

TEST_F(PortalKeyRouteTest, NoPortalOnTheBusNoRoute)
{
    EXPECT_EQ(PortalKeyRoute::Open(*connection_, TokenFile()), nullptr);
}

} // namespace
} // namespace ombrix::app::portal
