#include "app/portal/PortalKeyRoute.h"

#include "app/ServeEvents.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>

namespace ombrix::app::portal {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRemoteDesktop = QStringLiteral("org.freedesktop.portal.RemoteDesktop");

constexpr uint kKeyboard = 1; // device type
constexpr uint kPersistUntilRevoked = 2;
constexpr std::chrono::seconds kRequestLimit{10};

// X keysyms, as the portal takes them.
constexpr int kControlL = 0xffe3;
constexpr int kAltL = 0xffe9;
constexpr int kSpace = 0x20;
constexpr int kV = 0x76;
constexpr int kS = 0x73;
constexpr int kReturn = 0xff0d;
constexpr int kEscape = 0xff1b;

QVariant Property(const QDBusConnection& bus, const QString& name)
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kRemoteDesktop << name;
    const QDBusMessage reply = bus.call(get, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

} // namespace

std::filesystem::path PortalKeyRoute::DefaultTokenFile()
{
    std::filesystem::path state;
    if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg != nullptr && *xdg == '/')
        state = xdg;
    else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        state = std::filesystem::path(home) / ".local" / "state";
    else
        return {};
    return state / "ombrix" / "portal-restore-token";
}

std::unique_ptr<PortalKeyRoute> PortalKeyRoute::Open(const QDBusConnection& bus, std::filesystem::path tokenFile,
                                                     std::chrono::nanoseconds consentLimit)
{
    if (!bus.isConnected())
        return nullptr;
    const QVariant devices = Property(bus, QStringLiteral("AvailableDeviceTypes"));
    if (!devices.isValid() || (devices.toUInt() & kKeyboard) == 0)
        return nullptr;
    const uint version = Property(bus, QStringLiteral("version")).toUInt();
    return std::unique_ptr<PortalKeyRoute>(new PortalKeyRoute(bus, std::move(tokenFile), version, consentLimit));
}

PortalKeyRoute::PortalKeyRoute(const QDBusConnection& bus, std::filesystem::path tokenFile, uint version,
                               std::chrono::nanoseconds consentLimit)
    : bus_(bus), tokenFile_(std::move(tokenFile)), version_(version), consentLimit_(consentLimit)
{
}

PortalKeyRoute::~PortalKeyRoute() { Close(); }

void PortalKeyRoute::Close()
{
    if (session_.isEmpty())
        return;
    bus_.call(QDBusMessage::createMethodCall(kService, session_, QStringLiteral("org.freedesktop.portal.Session"),
                                             QStringLiteral("Close")),
              QDBus::NoBlock);
    session_.clear();
}

bool PortalKeyRoute::ReachesPreviousWindow()
{
    if (!session_.isEmpty())
        return true;
    if (!StartSession())
        return false;
    // The consent dialog has just closed: let the focus go back to the previous window.
    const auto closed = Clock::now();
    ServeEventsUntil([&] { return Clock::now() - closed > 100ms; });
    return true;
}

bool PortalKeyRoute::StartSession()
{
    // A session of ours that the portal still holds keeps its path: never reuse a token.
    const auto created = Request(
        QStringLiteral("CreateSession"), {},
        {{QStringLiteral("session_handle_token"), QStringLiteral("ombrix%1").arg(++nextToken_)}}, kRequestLimit);
    if (!created)
        return false;
    const QString session = created->value(QStringLiteral("session_handle")).toString();
    if (session.isEmpty())
        return false;
    // From here on a session exists at the portal: whatever stops the start closes it, so
    // that a late consent cannot leave a remote control running that nobody uses.
    session_ = session;
    bus_.connect(kService, session, QStringLiteral("org.freedesktop.portal.Session"), QStringLiteral("Closed"), this,
                 SLOT(OnSessionClosed()));

    QVariantMap select{{QStringLiteral("types"), kKeyboard}};
    if (version_ >= 2) {
        select.insert(QStringLiteral("persist_mode"), kPersistUntilRevoked);
        if (const QString token = ReadToken(); !token.isEmpty())
            select.insert(QStringLiteral("restore_token"), token);
    }
    const QVariantList onSession{QVariant::fromValue(QDBusObjectPath(session))};
    if (!Request(QStringLiteral("SelectDevices"), onSession, select, kRequestLimit)) {
        Close();
        return false;
    }
    const auto started = Request(QStringLiteral("Start"), {onSession.constFirst(), QString()}, {}, consentLimit_);
    if (!started || (started->value(QStringLiteral("devices")).toUInt() & kKeyboard) == 0) {
        Close();
        return false;
    }
    if (const QString token = started->value(QStringLiteral("restore_token")).toString(); !token.isEmpty())
        KeepToken(token);
    return !session_.isEmpty(); // the portal may have closed it meanwhile
}

std::optional<QVariantMap> PortalKeyRoute::Request(const QString& method, QVariantList arguments, QVariantMap options,
                                                   std::chrono::nanoseconds limit)
{
    // The portal answers on a request object whose path it derives from our bus name and
    // the token: listen there before calling, or a quick answer is missed.
    const QString token = QStringLiteral("ombrix%1").arg(++nextToken_);
    QString sender = bus_.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    const QString request = QStringLiteral("org.freedesktop.portal.Request");
    response_.reset();
    bus_.connect(kService, path, request, QStringLiteral("Response"), this, SLOT(OnResponse(uint, QVariantMap)));

    options.insert(QStringLiteral("handle_token"), token);
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kRemoteDesktop, method);
    arguments.append(options);
    call.setArguments(arguments);
    const QDBusMessage reply = bus_.call(call, QDBus::Block, 10000);
    if (reply.type() == QDBusMessage::ReplyMessage) {
        const auto start = Clock::now();
        ServeEventsUntil([&] { return response_.has_value() || Clock::now() - start >= limit; });
    } else {
        std::fprintf(stderr, "ombrix: the desktop portal refused %s: %s\n", qPrintable(method),
                     qPrintable(reply.errorMessage()));
    }
    bus_.disconnect(kService, path, request, QStringLiteral("Response"), this, SLOT(OnResponse(uint, QVariantMap)));
    if (!response_) {
        if (reply.type() == QDBusMessage::ReplyMessage) {
            std::fprintf(stderr, "ombrix: the desktop portal did not answer %s in time\n", qPrintable(method));
            // Takes the question (the consent dialog) off the screen: nobody waits for it now.
            bus_.call(QDBusMessage::createMethodCall(kService, path, request, QStringLiteral("Close")), QDBus::NoBlock);
        }
        return std::nullopt;
    }
    if (response_->first != 0) // 1: the user said no; 2: it failed
        return std::nullopt;
    return response_->second;
}

void PortalKeyRoute::OnResponse(uint code, const QVariantMap& results) { response_.emplace(code, results); }

void PortalKeyRoute::OnSessionClosed() { session_.clear(); }

bool PortalKeyRoute::Keysym(int keysym, bool pressed)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kRemoteDesktop, QStringLiteral("NotifyKeyboardKeysym"));
    call << QVariant::fromValue(QDBusObjectPath(session_)) << QVariantMap() << keysym << uint(pressed ? 1 : 0);
    // Waiting for each reply keeps the keys in order.
    const QDBusMessage reply = bus_.call(call, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    std::fprintf(stderr, "ombrix: the desktop portal refused a key: %s\n", qPrintable(reply.errorMessage()));
    return false;
}

bool PortalKeyRoute::Keys(std::initializer_list<std::pair<int, bool>> keys)
{
    if (session_.isEmpty())
        return false; // never a key through a session that is gone
    for (const auto& [keysym, pressed] : keys) {
        if (!Keysym(keysym, pressed)) {
            Forget("a key was refused");
            return false;
        }
    }
    return true;
}

void PortalKeyRoute::PressPaste() { Keys({{kControlL, true}, {kV, true}, {kV, false}, {kControlL, false}}); }

void PortalKeyRoute::Press(Keystroke key)
{
    switch (key) {
    case Keystroke::Space: Keys({{kSpace, true}, {kSpace, false}}); break;
    case Keystroke::AltS: Keys({{kAltL, true}, {kS, true}, {kS, false}, {kAltL, false}}); break;
    case Keystroke::Enter: Keys({{kReturn, true}, {kReturn, false}}); break;
    case Keystroke::CtrlEnter: Keys({{kControlL, true}, {kReturn, true}, {kReturn, false}, {kControlL, false}}); break;
    case Keystroke::Escape: Keys({{kEscape, true}, {kEscape, false}}); break;
    }
}

void PortalKeyRoute::Forget(const char* why)
{
    std::fprintf(stderr, "ombrix: the desktop portal session ended (%s); the next Send asks again\n", why);
    Close();
}

QString PortalKeyRoute::ReadToken() const
{
    QFile file(QString::fromStdString(tokenFile_.string()));
    if (tokenFile_.empty() || !file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).trimmed();
}

void PortalKeyRoute::KeepToken(const QString& token) const
{
    if (tokenFile_.empty())
        return;
    // A failed save only means the question comes again next run: say so, go on.
    std::error_code error;
    std::filesystem::create_directories(tokenFile_.parent_path(), error);
    QSaveFile file(QString::fromStdString(tokenFile_.string()));
    if (!error && file.open(QIODevice::WriteOnly)) {
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        file.write(token.toUtf8());
        if (file.commit())
            return;
    }
    std::fprintf(stderr, "ombrix: could not keep the portal's restore token in %s\n", tokenFile_.c_str());
}

} // namespace ombrix::app::portal
