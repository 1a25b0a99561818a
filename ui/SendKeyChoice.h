// The key that sends a pasted message, chosen per messenger: Alt+S presses a Send button
// in some, Enter sends in most IRC and XMPP clients, and some want Ctrl+Enter. The choice
// is the user's own, kept in the user's configuration folder
// ($XDG_CONFIG_HOME/ombrix/ombrix.conf) by the program's name as the desktop gives it,
// never in the settings file that every user of the machine shares.
#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace ombrix::ui {

enum class SendKey { AltS, Enter, CtrlEnter, None };

inline constexpr std::array kSendKeys{SendKey::AltS, SendKey::Enter, SendKey::CtrlEnter, SendKey::None};

// "Alt+S", "Enter", "Ctrl+Enter", "No Key (Paste Only)".
QString SendKeyName(SendKey key);
// The key to offer when this one did not send.
SendKey NextSendKey(SendKey key);

class SendKeyBook {
public:
    virtual ~SendKeyBook() = default;
    // Alt+S for a program the user chose nothing for.
    virtual SendKey For(const QString& program) const = 0;
    // False when the choice could not be kept.
    virtual bool Choose(const QString& program, SendKey key) = 0;
    // Remembers a program that a send reached, so that its key can be chosen later.
    virtual void Note(const QString& program) = 0;
    // The programs noted or chosen for, in the order of their names.
    virtual QStringList Programs() const = 0;
};

// Chooses the key, and tells the user when the choice could not be kept.
void ChooseSendKey(SendKeyBook& book, const QString& program, SendKey key);

// The book in the user's configuration folder.
class UserSendKeys final : public SendKeyBook {
public:
    SendKey For(const QString& program) const override;
    bool Choose(const QString& program, SendKey key) override;
    void Note(const QString& program) override;
    QStringList Programs() const override;
};

} // namespace ombrix::ui
