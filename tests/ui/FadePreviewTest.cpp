// The message box draws each character in the colour its HTML gives it, follows the
// colour dialog, and lets the user switch that off for good.
#include "tests/ui/FakeAppLink.h"
#include "ui/frmOmbrix.h"
#include "ui/frmOptions.h"
#include "ui/frmSetColor.h"
#include "tests/ui/WarningCapture.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

using namespace ombrix;
using modOmbrix::Channel;

namespace {

using Colours = std::vector<std::optional<QRgb>>; // per character of the box; none: uncoloured

// What the HTML shows: each character in the colour of the last FONT tag before it, a
// "<BR>" as the box's one line-break character. The messages here hold no "<".
Colours ColoursFromHtml(const QString& html)
{
    const QString open = QStringLiteral("<FONT COLOR=");
    Colours colours;
    std::optional<QRgb> current;
    for (qsizetype i = 0; i < html.size();) {
        if (html.mid(i, open.size()) == open) {
            current = html.mid(i + open.size(), 6).toUInt(nullptr, 16);
            i += open.size() + 7;
        } else {
            colours.push_back(current);
            i += html.mid(i, 4) == QLatin1String("<BR>") ? 4 : 1;
        }
    }
    return colours;
}

// The colour each character of the box is drawn in, from what the box paints over it.
Colours DrawnColours(const layer::TextBox& box)
{
    Colours colours(static_cast<std::size_t>(box.document()->characterCount() - 1));
    for (const QTextEdit::ExtraSelection& run : box.extraSelections()) {
        EXPECT_EQ(run.format.background(), box.palette().brush(QPalette::Base)) << "the background stays as it is";
        for (int i = run.cursor.selectionStart(); i < run.cursor.selectionEnd(); ++i)
            colours.at(static_cast<std::size_t>(i)) = run.format.foreground().color().rgb() & 0xFFFFFFU;
    }
    return colours;
}

struct FadePreviewTest : ::testing::Test {
    QTemporaryDir config; // the user's configuration folder, thrown away after each test
    test::FakeAppLink app;
    ui::frmSetColor colours{app};
    ui::frmOptions options{app};
    std::unique_ptr<ui::frmOmbrix> main = Start();

    std::unique_ptr<ui::frmOmbrix> Start()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
        auto window = std::make_unique<ui::frmOmbrix>(colours, options, app);
        app.onRegenerate = [w = window.get()] { w->txtIn_Change(); };
        window->show();
        window->txtIn->setFocus();
        return window;
    }

    void SetTable(int count, const std::vector<std::array<int, 3>>& slotLevels)
    {
        colours.sldSetColNum->SetValue(count);
        colours.sldSetColNum_Scroll();
        int slot = 0;
        for (const auto& levels : slotLevels) {
            colours.Bar(slot, Channel::Red).SetValue(levels[0]);
            colours.Bar(slot, Channel::Green).SetValue(levels[1]);
            colours.Bar(slot, Channel::Blue).SetValue(levels[2]);
            ++slot;
        }
        colours.cmdOK->click();
    }

    QAction* MenuEntry(QMenu& menu) const
    {
        for (QAction* action : menu.actions())
            if (action->text() == QLatin1String("Show Colours While Typing"))
                return action;
        return nullptr;
    }

    void SwitchColours()
    {
        const std::unique_ptr<QMenu> menu(main->preview->CreateContextMenu());
        ASSERT_NE(MenuEntry(*menu), nullptr);
        MenuEntry(*menu)->trigger();
    }
};

TEST_F(FadePreviewTest, TypedCharactersAreDrawnInTheColoursOfTheirHtml)
{
    struct Case {
        const char* name;
        int count;
        std::vector<std::array<int, 3>> slotLevels;
        std::function<void(layer::TextBox&)> type;
    };
    const Case cases[] = {
        {"one colour", 1, {{16, 0, 0}}, [](layer::TextBox& box) { QTest::keyClicks(&box, "Hello world"); }},
        {"six colours",
         6,
         {{16, 0, 0}, {16, 8, 0}, {15, 15, 0}, {0, 15, 0}, {0, 0, 16}, {8, 0, 8}},
         [](layer::TextBox& box) { QTest::keyClicks(&box, "fading across six, with  spaces"); }},
        {"a line break",
         2,
         {{16, 0, 0}, {0, 0, 16}},
         [](layer::TextBox& box) {
             QTest::keyClicks(&box, "hi");
             QTest::keyClick(&box, Qt::Key_Return, Qt::ControlModifier);
             QTest::keyClicks(&box, "yo");
         }},
        {"an emoji and an accent",
         3,
         {{16, 0, 0}, {0, 16, 0}, {0, 0, 16}},
         [](layer::TextBox& box) { box.insertPlainText(QString::fromUtf8("smile \xF0\x9F\x98\x80 caf\xC3\xA9")); }},
    };
    for (const Case& c : cases) {
        main->txtIn->SetText(QString());
        SetTable(c.count, c.slotLevels);
        c.type(*main->txtIn);
        const Colours drawn = DrawnColours(*main->txtIn);
        EXPECT_EQ(drawn, ColoursFromHtml(main->Output())) << c.name;
        EXPECT_TRUE(drawn.back().has_value()) << c.name;
    }
}

TEST_F(FadePreviewTest, ColourDialogOkRecoloursTheUnchangedText)
{
    SetTable(2, {{16, 0, 0}, {0, 0, 16}});
    QTest::keyClicks(main->txtIn, "recolour me");
    const Colours before = DrawnColours(*main->txtIn);
    SetTable(3, {{0, 16, 0}, {16, 16, 0}, {0, 8, 8}});
    EXPECT_NE(DrawnColours(*main->txtIn), before);
    EXPECT_EQ(DrawnColours(*main->txtIn), ColoursFromHtml(main->Output()));
}

TEST_F(FadePreviewTest, ATextBeyondTheLimitIsUncolouredUntilItFitsAgain)
{
    SetTable(3, {{16, 0, 0}, {0, 16, 0}, {0, 0, 16}});
    main->txtIn->SetText(QString(16383, QLatin1Char('a')));
    EXPECT_EQ(DrawnColours(*main->txtIn), ColoursFromHtml(main->Output()));
    QTest::keyClick(main->txtIn, Qt::Key_B); // 16384: too long for three colours
    EXPECT_TRUE(main->txtIn->extraSelections().isEmpty());
    SetTable(2, {{16, 0, 0}, {0, 0, 16}});
    EXPECT_EQ(DrawnColours(*main->txtIn), ColoursFromHtml(main->Output()));
}

TEST_F(FadePreviewTest, TheColoursReachTheScreenAndTheSelectionStillShows)
{
    SetTable(2, {{16, 0, 0}, {0, 0, 16}});
    QFont big = main->txtIn->font();
    big.setPointSize(14);
    big.setBold(true);
    main->txtIn->setFont(big);
    QTest::keyClicks(main->txtIn, "MMM");
    // The colour of the most strongly inked pixel in the cell of each character.
    const auto inked = [&](int position, QColor background) {
        const QImage image = main->txtIn->viewport()->grab().toImage();
        QTextCursor cursor(main->txtIn->document());
        cursor.setPosition(position);
        const int left = main->txtIn->cursorRect(cursor).left() + 1;
        cursor.setPosition(position + 1);
        const QRect cell =
            QRect(QPoint(left, main->txtIn->cursorRect(cursor).top()),
                  QPoint(main->txtIn->cursorRect(cursor).left() - 1, main->txtIn->cursorRect(cursor).bottom()))
                .intersected(image.rect());
        QRgb best = background.rgb();
        int bestDistance = -1;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QRgb p = image.pixel(x, y);
                const int d = std::abs(qRed(p) - background.red()) + std::abs(qGreen(p) - background.green()) +
                              std::abs(qBlue(p) - background.blue());
                if (d > bestDistance) {
                    bestDistance = d;
                    best = p;
                }
            }
        return best & 0xFFFFFFU;
    };
    const Colours expected = ColoursFromHtml(main->Output());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(inked(i, main->txtIn->palette().color(QPalette::Base)),
                  expected.at(static_cast<std::size_t>(i)).value())
            << "character " << i;

    main->txtIn->selectAll();
    const QRgb highlighted = main->txtIn->palette().color(QPalette::HighlightedText).rgb() & 0xFFFFFFU;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(inked(i, main->txtIn->palette().color(QPalette::Highlight)), highlighted)
            << "selected character " << i;
}

TEST_F(FadePreviewTest, TheMenuEntrySwitchesTheColoursAndTheChoiceOutlivesARestart)
{
    {
        const std::unique_ptr<QMenu> menu(main->preview->CreateContextMenu());
        ASSERT_NE(MenuEntry(*menu), nullptr);
        EXPECT_TRUE(MenuEntry(*menu)->isChecked()) << "on by default";
        EXPECT_GT(menu->actions().size(), 3) << "the box's own entries stay";
    }
    QTest::keyClicks(main->txtIn, "colours");
    ASSERT_FALSE(main->txtIn->extraSelections().isEmpty());

    SwitchColours();
    EXPECT_TRUE(main->txtIn->extraSelections().isEmpty());
    QTest::keyClicks(main->txtIn, " and more");
    EXPECT_TRUE(main->txtIn->extraSelections().isEmpty());
    QFile saved(config.filePath(QStringLiteral("ombrix/ombrix.conf")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << "kept in the user's configuration folder";
    EXPECT_TRUE(saved.readAll().contains("ShowColoursWhileTyping=false"));

    main = Start(); // as the next run of the program does
    QTest::keyClicks(main->txtIn, "still plain");
    EXPECT_TRUE(main->txtIn->extraSelections().isEmpty());
    {
        const std::unique_ptr<QMenu> menu(main->preview->CreateContextMenu());
        EXPECT_FALSE(MenuEntry(*menu)->isChecked());
    }
    SwitchColours();
    EXPECT_EQ(DrawnColours(*main->txtIn), ColoursFromHtml(main->Output())) << "on again, at once";
}

TEST_F(FadePreviewTest, AChoiceThatCannotBeSavedIsReported)
{
    QFile blocker(config.filePath(QStringLiteral("ombrix"))); // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    test::WarningCapture warnings;
    SwitchColours();
    ASSERT_EQ(warnings.texts.size(), 1U);
    EXPECT_TRUE(warnings.texts[0].contains("could not be saved"));
    EXPECT_FALSE(main->preview->IsOn()) << "the choice holds for this run";
}

} // namespace
