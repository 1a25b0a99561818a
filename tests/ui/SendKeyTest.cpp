// The send key chosen per messenger: kept in the user's configuration, and reachable from
// the message box's menu by the keyboard.
#include "tests/ui/FakeSendKeys.h"
#include "ui/SendKeyChoice.h"
#include "ui/SendKeyMenu.h"
#include "ui/layer/TextBox.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace ombrix;
using namespace ombrix::ui;

namespace {

QSettings UserFile()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ombrix"), QStringLiteral("ombrix"));
}

TEST(SendKeyChoice, EachProgramKeepsItsOwnKeyAcrossRuns)
{
    UserFile().remove(QStringLiteral("SendKey"));
    {
        UserSendKeys keys;
        EXPECT_EQ(keys.For("hexchat"), SendKey::AltS); // nothing chosen yet
        keys.Note("hexchat");
        keys.Note("Pidgin");
        EXPECT_TRUE(keys.Choose("hexchat", SendKey::Enter));
        EXPECT_TRUE(keys.Choose("org/odd\\name", SendKey::CtrlEnter));
        keys.Note("hexchat"); // noting again keeps the choice
    }
    UserSendKeys nextRun;
    EXPECT_EQ(nextRun.For("hexchat"), SendKey::Enter);
    EXPECT_EQ(nextRun.For("Pidgin"), SendKey::AltS);
    EXPECT_EQ(nextRun.For("org/odd\\name"), SendKey::CtrlEnter);
    EXPECT_EQ(nextRun.Programs(), (QStringList{"hexchat", "org_odd_name", "Pidgin"}));
    // A word this version does not know (a hand edit, a later version) reads as the default.
    UserFile().setValue(QStringLiteral("SendKey/hexchat"), QStringLiteral("shift+enter"));
    EXPECT_EQ(nextRun.For("hexchat"), SendKey::AltS);
    UserFile().remove(QStringLiteral("SendKey"));
}

TEST(SendKeyChoice, TheKeyOfferedNextCyclesThroughTheSendingKeys)
{
    EXPECT_EQ(NextSendKey(SendKey::AltS), SendKey::Enter);
    EXPECT_EQ(NextSendKey(SendKey::Enter), SendKey::CtrlEnter);
    EXPECT_EQ(NextSendKey(SendKey::CtrlEnter), SendKey::AltS);
}

TEST(SendKeyMenu, ShowsEachProgramsKeyAndChangesIt)
{
    test::FakeSendKeys book;
    book.keys = {{"hexchat", SendKey::AltS}, {"Pidgin", SendKey::Enter}};
    QMenu menu;
    AddSendKeyMenu(menu, book);
    auto* hexchat = menu.findChild<QMenu*>("mnuSendKey_hexchat");
    auto* pidgin = menu.findChild<QMenu*>("mnuSendKey_Pidgin");
    ASSERT_NE(hexchat, nullptr);
    ASSERT_NE(pidgin, nullptr);
    const auto checked = [](QMenu* m) {
        QStringList names;
        for (QAction* a : m->actions())
            if (a->isChecked())
                names << a->text();
        return names;
    };
    EXPECT_EQ(checked(hexchat), QStringList{"Alt+S"});
    EXPECT_EQ(checked(pidgin), QStringList{"Enter"});
    hexchat->actions().at(1)->trigger(); // Enter
    EXPECT_EQ(book.keys["hexchat"], SendKey::Enter);
    EXPECT_EQ(checked(hexchat), QStringList{"Enter"});
    EXPECT_EQ(book.keys["Pidgin"], SendKey::Enter);
}

TEST(SendKeyMenu, ShiftF10OpensTheMessageBoxMenuFromTheKeyboard)
{
    layer::TextBox box(100, nullptr);
    box.setContextMenuPolicy(Qt::CustomContextMenu); // as the main window's message box has it
    QSignalSpy requested(&box, &QWidget::customContextMenuRequested);
    QTest::keyClick(&box, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(requested.count(), 1);
    EXPECT_EQ(box.Text(), QString()); // nothing typed
}

} // namespace
