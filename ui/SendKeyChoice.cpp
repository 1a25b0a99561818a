#include "ui/SendKeyChoice.h"

#include "ui/UserSettings.h"
#include "ui/layer/MessageBox.h"

namespace ombrix::ui {
namespace {

const QString kGroup = QStringLiteral("SendKey");

// The words kept in the file; a word we do not know reads as the default.
QString Word(SendKey key)
{
    switch (key) {
    case SendKey::AltS: return QStringLiteral("alt+s");
    case SendKey::Enter: return QStringLiteral("enter");
    case SendKey::CtrlEnter: return QStringLiteral("ctrl+enter");
    case SendKey::None: return QStringLiteral("none");
    }
    return {};
}

std::unique_ptr<QSettings> SendKeySettings()
{
    auto settings = UserSettings();
    settings->beginGroup(kGroup);
    return settings;
}

// QSettings reads '/' in a key as a group: keep a program's name whole.
QString Key(const QString& program)
{
    QString key = program;
    key.replace(QLatin1Char('/'), QLatin1Char('_'));
    key.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return key;
}

} // namespace

QString SendKeyName(SendKey key)
{
    switch (key) {
    case SendKey::AltS: return QStringLiteral("Alt+S");
    case SendKey::Enter: return QStringLiteral("Enter");
    case SendKey::CtrlEnter: return QStringLiteral("Ctrl+Enter");
    case SendKey::None: return QStringLiteral("No Key (Paste Only)");
    }
    return {};
}

SendKey NextSendKey(SendKey key)
{
    switch (key) {
    case SendKey::AltS: return SendKey::Enter;
    case SendKey::Enter: return SendKey::CtrlEnter;
    case SendKey::CtrlEnter:
    case SendKey::None: return SendKey::AltS;
    }
    return SendKey::AltS;
}

SendKey UserSendKeys::For(const QString& program) const
{
    const QString word = SendKeySettings()->value(Key(program)).toString();
    for (SendKey key : kSendKeys) {
        if (word == Word(key))
            return key;
    }
    return SendKey::AltS;
}

bool UserSendKeys::Choose(const QString& program, SendKey key)
{
    const auto settings = SendKeySettings();
    settings->setValue(Key(program), Word(key));
    settings->sync();
    return settings->status() == QSettings::NoError;
}

void UserSendKeys::Note(const QString& program)
{
    const auto settings = SendKeySettings();
    if (program.isEmpty() || settings->contains(Key(program)))
        return;
    settings->setValue(Key(program), Word(SendKey::AltS));
    // Only a convenience for the menu: a failure to note costs nothing else.
    settings->sync();
}

QStringList UserSendKeys::Programs() const
{
    QStringList programs = SendKeySettings()->childKeys();
    programs.sort(Qt::CaseInsensitive);
    return programs;
}

void ChooseSendKey(SendKeyBook& book, const QString& program, SendKey key)
{
    if (!book.Choose(program, key))
        layer::MessageBox::Warning(QStringLiteral("HTML Ombrix"),
                                   QStringLiteral("The send key for %1 could not be saved.").arg(program));
}

} // namespace ombrix::ui
