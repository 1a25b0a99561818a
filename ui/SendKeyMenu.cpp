#include "ui/SendKeyMenu.h"

#include <QActionGroup>
#include <QMenu>

namespace ombrix::ui {

void AddSendKeyMenu(QMenu& menu, SendKeyBook& book)
{
    QMenu* keys = menu.addMenu(QStringLiteral("Send &Key"));
    keys->setObjectName(QStringLiteral("mnuSendKey"));
    const QStringList programs = book.Programs();
    if (programs.isEmpty()) {
        keys->addAction(QStringLiteral("(set for each messenger after its first Send)"))->setEnabled(false);
        return;
    }
    for (const QString& program : programs) {
        QMenu* perProgram = keys->addMenu(program);
        perProgram->setObjectName(QStringLiteral("mnuSendKey_") + program);
        auto* group = new QActionGroup(perProgram);
        const SendKey chosen = book.For(program);
        for (SendKey key : kSendKeys) {
            QAction* action = perProgram->addAction(SendKeyName(key));
            action->setCheckable(true);
            action->setChecked(key == chosen);
            group->addAction(action);
            QObject::connect(action, &QAction::triggered, perProgram,
                             [&book, program, key] { ChooseSendKey(book, program, key); });
        }
    }
}

} // namespace ombrix::ui
