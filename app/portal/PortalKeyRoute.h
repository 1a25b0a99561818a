// Keys through the desktop portal's remote desktop interface, which GNOME and KDE offer
// in place of a virtual keyboard. The user consents in the desktop's own dialog at the
// first Send of a run; a portal of interface version 2 or later hands out a token that
// spares the question next time, kept in a file of the user's own.
#pragma once

#include "app/KeyRoute.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>

namespace ombrix::app::portal {

class PortalKeyRoute final : public QObject, public KeyRoute {
    Q_OBJECT

public:
    // None when the bus has no portal, or its remote desktop offers no keyboard.
    // consentLimit: how long the user may take to answer the consent dialog.
    static std::unique_ptr<PortalKeyRoute> Open(const QDBusConnection& bus, std::filesystem::path tokenFile,
                                                std::chrono::nanoseconds consentLimit = kConsentLimit);

    // The file the restore token is kept in: the user's XDG state folder.
    static std::filesystem::path DefaultTokenFile();
    ~PortalKeyRoute() override;

    // Starts the session on first use (the consent dialog shows then); false without one.
    bool ReachesPreviousWindow() override;
    void PressPaste() override;
    void Press(Keystroke key) override;

    static constexpr std::chrono::minutes kConsentLimit{2};

private slots:
    void OnResponse(uint code, const QVariantMap& results);
    void OnSessionClosed();

private:
    PortalKeyRoute(const QDBusConnection& bus, std::filesystem::path tokenFile, uint version,
                   std::chrono::nanoseconds consentLimit);

    bool StartSession();
    // Calls a request-style method and waits for its Response; the results when it succeeded.
    std::optional<QVariantMap> Request(const QString& method, QVariantList arguments, QVariantMap options,
                                       std::chrono::nanoseconds limit);
    bool Keysym(int keysym, bool pressed);
    bool Keys(std::initializer_list<std::pair<int, bool>> keys);
    void Forget(const char* why);
    void Close();

    QString ReadToken() const;
    void KeepToken(const QString& token) const;

    QDBusConnection bus_;
    std::filesystem::path tokenFile_;
    uint version_ = 1;
    std::chrono::nanoseconds consentLimit_;
    QString session_; // the started session's object path; empty: none
    int nextToken_ = 0;
    std::optional<std::pair<uint, QVariantMap>> response_;
};

} // namespace ombrix::app::portal
