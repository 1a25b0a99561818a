#include "engine/Fade.h"
#include "ombrix/Version.h"
#include "tests/ui/Clipping.h"
#include "tests/ui/FakeAppLink.h"
#include "tests/ui/FocusChain.h"
#include "ui/frmAbout.h"
#include "ui/frmOmbrix.h"
#include "ui/frmOptions.h"
#include "ui/frmSetColor.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace ombrix;
using modOmbrix::Channel;

namespace {

struct MainWindowTest : ::testing::Test {
    test::FakeAppLink app;
    ui::frmSetColor colours{app};
    ui::frmOptions options{app};
    ui::frmOmbrix main{colours, options, app};

    MainWindowTest()
    {
        app.onRegenerate = [this] { main.txtIn_Change(); };
        main.show();
        main.txtIn->setFocus();
    }

    QString HtmlLength(const QString& text) const
    {
        const std::u16string html = modOmbrix::FadeText(
            std::u16string_view(QStringView(text).utf16(), static_cast<std::size_t>(text.size())), colours, options);
        return QString::number(html.size());
    }
};

} // namespace

TEST_F(MainWindowTest, StartsEmptyWithSendDisabled)
{
    EXPECT_EQ(main.windowTitle(), "HTML Ombrix");
    EXPECT_FALSE(main.cmdSend->isEnabled());
    EXPECT_EQ(main.lblCharCount->text(), "");
    EXPECT_EQ(main.cmdInOut->text(), "3");
    EXPECT_EQ(main.lblOutMsg->text().size(), 40);
    EXPECT_FLOAT_EQ(main.Geometry().Width(), 6570);
}

TEST_F(MainWindowTest, FirstCharacterEnablesSendAndLastDisablesIt)
{
    QTest::keyClick(main.txtIn, Qt::Key_H);
    EXPECT_TRUE(main.cmdSend->isEnabled());
    EXPECT_EQ(main.lblCharCount->text(), HtmlLength("h"));
    EXPECT_EQ(main.lblCharCount->text(), "20"); // "<FONT COLOR=800080>h"
    QTest::keyClick(main.txtIn, Qt::Key_Backspace);
    EXPECT_FALSE(main.cmdSend->isEnabled());
    EXPECT_EQ(main.lblCharCount->text(), "");
    EXPECT_EQ(main.Output(), "");
}

TEST_F(MainWindowTest, EnterInTheEmptyBoxLeavesItEmpty)
{
    QTest::keyClick(main.txtIn, Qt::Key_Return);
    EXPECT_EQ(main.txtIn->Text(), "");
    EXPECT_FALSE(main.cmdSend->isEnabled());
    EXPECT_EQ(main.lblCharCount->text(), "");
}

TEST_F(MainWindowTest, TextsAroundALineBreakStay)
{
    for (const char* text : {"a\r\n", "\r\na", "   "}) {
        main.txtIn->SetText(QString::fromLatin1(text));
        EXPECT_EQ(main.txtIn->Text(), QString::fromLatin1(text));
        EXPECT_TRUE(main.cmdSend->isEnabled()) << text;
        EXPECT_EQ(main.lblCharCount->text(), HtmlLength(QString::fromLatin1(text))) << text;
    }
    main.txtIn->SetText("a\r\nb");
    EXPECT_TRUE(main.Output().contains("<BR>"));
}

TEST_F(MainWindowTest, CtrlEnterBreaksTheLineAndEnterSends)
{
    int sends = 0;
    main.SetDelivery([&](const QString&) {
        ++sends;
        return true;
    });
    QTest::keyClicks(main.txtIn, "a");
    QTest::keyClick(main.txtIn, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(main.txtIn, "b");
    EXPECT_EQ(main.txtIn->Text(), "a\r\nb");
    EXPECT_EQ(sends, 0);
    QTest::keyClick(main.txtIn, Qt::Key_Return);
    EXPECT_EQ(sends, 1);
    EXPECT_EQ(main.txtIn->Text(), "");
    EXPECT_FALSE(main.cmdSend->isEnabled());
}

TEST_F(MainWindowTest, SendDeliversTheCountedHtmlThenEmptiesTheBox)
{
    QString delivered;
    main.SetDelivery([&](const QString& html) {
        delivered = html;
        return true;
    });
    main.txtIn->SetText("hello");
    const QString shown = main.lblCharCount->text();
    main.cmdSend->click();
    EXPECT_EQ(QString::number(delivered.size()), shown);
    EXPECT_TRUE(delivered.endsWith("o"));
    EXPECT_EQ(main.txtIn->Text(), "");
    EXPECT_EQ(main.lblCharCount->text(), "");
    EXPECT_FALSE(main.cmdSend->isEnabled());
}

TEST_F(MainWindowTest, AMessageThatWasNotSentStaysInTheBox)
{
    main.SetDelivery([](const QString&) { return false; });
    main.txtIn->SetText("keep me");
    const QString shown = main.lblCharCount->text();
    main.cmdSend->click();
    EXPECT_EQ(main.txtIn->Text(), "keep me");
    EXPECT_EQ(main.lblCharCount->text(), shown);
    EXPECT_TRUE(main.cmdSend->isEnabled());
}

TEST_F(MainWindowTest, ColourDialogOkRegeneratesTheCount)
{
    main.txtIn->SetText("abcdef");
    const QString before = main.lblCharCount->text();
    colours.sldSetColNum->SetValue(1);
    colours.sldSetColNum_Scroll();
    EXPECT_EQ(main.lblCharCount->text(), before); // only OK regenerates
    colours.cmdOK->click();
    EXPECT_EQ(main.lblCharCount->text(), "25"); // one tag: "<FONT COLOR=FF0000>abcdef"
}

TEST_F(MainWindowTest, TagOptionsApplyFromTheNextChange)
{
    main.txtIn->SetText("ab");
    const QString before = main.Output();
    options.chkFontTags->SetValue(1);
    EXPECT_EQ(main.Output(), before);
    QTest::keyClicks(main.txtIn, "c");
    EXPECT_TRUE(main.Output().endsWith("</FONT> "));
}

TEST_F(MainWindowTest, CollapseAndExpandChangeOnlyTheWidth)
{
    const float height = main.Geometry().Height();
    const QPoint sendAt = main.cmdSend->mapTo(&main, QPoint());
    main.cmdInOut->click();
    EXPECT_FLOAT_EQ(main.Geometry().Width(), 5010);
    EXPECT_EQ(main.cmdInOut->text(), "4");
    EXPECT_FALSE(main.fraSettings->isVisible());
    EXPECT_FLOAT_EQ(main.Geometry().Height(), height);
    EXPECT_EQ(main.cmdSend->mapTo(&main, QPoint()), sendAt);
    main.cmdInOut_Click();
    EXPECT_FLOAT_EQ(main.Geometry().Width(), 6570);
    EXPECT_EQ(main.cmdInOut->text(), "3");
    EXPECT_TRUE(main.fraSettings->isVisible());
}

TEST_F(MainWindowTest, APasteIsCutTo32000Characters)
{
    QApplication::clipboard()->setText(QString(40000, QLatin1Char('x')));
    main.txtIn->paste();
    EXPECT_EQ(main.txtIn->Length(), 32000);
    EXPECT_EQ(main.txtIn->Text().size(), 32000);
    // A line break counts as two: 15999 "ab" pairs plus breaks cannot all fit.
    main.txtIn->SetText(QString());
    QApplication::clipboard()->setText(QString("ab\n").repeated(10000));
    main.txtIn->paste();
    EXPECT_EQ(main.txtIn->Text().size(), main.txtIn->Length());
    EXPECT_LE(main.txtIn->Length(), 32000);
    EXPECT_GE(main.txtIn->Length(), 31999);
    QTest::keyClicks(main.txtIn, "zz");
    EXPECT_LE(main.txtIn->Length(), 32000);
}

TEST_F(MainWindowTest, TooLongForSixColoursKeepsTheTextAndDisablesSend)
{
    const QString text(6554, QLatin1Char('y'));
    main.txtIn->SetText(text);
    EXPECT_EQ(main.txtIn->Text(), text);
    EXPECT_FALSE(main.cmdSend->isEnabled());
    EXPECT_EQ(main.Output(), "");
    EXPECT_EQ(main.lblCharCount->text(), "Too long");
    EXPECT_TRUE(main.lblCharCount->toolTip().contains("6 colours: at most 6553"));
    main.txtIn->moveCursor(QTextCursor::End);
    QTest::keyClick(main.txtIn, Qt::Key_Backspace); // back at the limit
    EXPECT_TRUE(main.cmdSend->isEnabled());
    EXPECT_NE(main.lblCharCount->text(), "Too long");
}

TEST_F(MainWindowTest, NothingIsCutOffOrCrowded)
{
    EXPECT_EQ(test::ClippedContent(main), std::vector<std::string>{});
    ui::frmAbout about(main);
    EXPECT_EQ(test::ClippedContent(about), std::vector<std::string>{});

    // "Output Will Be", the count box, "Characters": the words keep the face's own
    // spacing and stay clear of the box.
    const auto [before, after] = main.lblOutMsg->TextRects();
    const QFontMetrics design(QApplication::font());
    EXPECT_EQ(before.width(), design.horizontalAdvance("Output Will Be"));
    EXPECT_EQ(after.width(), design.horizontalAdvance("Characters"));
    const QRect box = main.lblCharCount->geometry().translated(-main.lblOutMsg->pos());
    EXPECT_FALSE(before.intersects(box));
    EXPECT_FALSE(after.intersects(box));
    EXPECT_TRUE(main.lblOutMsg->contentsRect().contains(before.united(after)));

    // The too-long state shows whole in the box; its tooltip keeps the reason.
    main.txtIn->SetText(QString(32000, QLatin1Char('x')));
    ASSERT_TRUE(main.lblCharCount->toolTip().contains("too long"));
    EXPECT_EQ(test::ClippedContent(main), std::vector<std::string>{});
    main.txtIn->SetText("x");
    EXPECT_EQ(main.lblCharCount->font(), main.font());
}

TEST_F(MainWindowTest, NoBreakSpacesReachTheGenerator)
{
    main.txtIn->SetText(QString(QChar(0x00A0)));
    EXPECT_EQ(main.txtIn->Text(), QString(QChar(0x00A0)));
    EXPECT_TRUE(main.Output().startsWith("<FONT COLOR="));
}

TEST_F(MainWindowTest, TabOrderAndAccessKeys)
{
    main.txtIn->SetText("x"); // Send takes part only while enabled
    const std::vector<QWidget*> order{main.txtIn,      main.cmdSend,  main.cmdSetColor,
                                      main.cmdOptions, main.cmdAbout, main.cmdInOut};
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        EXPECT_EQ(test::NextTabStop(order[i]), order[i + 1]) << i;
    EXPECT_EQ(main.fraMsg->title(), "&Message");
    EXPECT_EQ(main.cmdSetColor->text(), "Set &Color");
}

TEST_F(MainWindowTest, AboutBoxCentresOverTheMainWindowAndOpensTheAddressEachClick)
{
    std::vector<QUrl> opened;
    ui::frmAbout::SetUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    for (const QPoint at : {QPoint(40, 60), QPoint(300, 200)}) {
        main.move(at);
        ui::frmAbout about(main);
        const float expectedLeft = (main.Geometry().Width() - about.Geometry().Width()) / 2 + main.Geometry().Left();
        const float expectedTop = (main.Geometry().Height() - about.Geometry().Height()) / 2 + main.Geometry().Top();
        EXPECT_NEAR(about.Geometry().Left(), expectedLeft, 15.0f);
        EXPECT_NEAR(about.Geometry().Top(), expectedTop, 15.0f);
        // No title bar, but a border: not frameless.
        EXPECT_FALSE(about.windowFlags().testFlag(Qt::WindowTitleHint));
        EXPECT_FALSE(about.windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_EQ(about.Label2->text(), QStringLiteral("Version ") + QLatin1String(kVersion));
        about.show();
        QTest::mouseClick(about.lblUrl, Qt::LeftButton);
        QTest::mouseClick(about.lblUrl, Qt::LeftButton);
        EXPECT_TRUE(about.isVisible());
        QTest::keyClick(about.cmdOk, Qt::Key_Return);
        EXPECT_FALSE(about.isVisible());
    }
    ui::frmAbout::SetUrlOpener(nullptr);
    ASSERT_EQ(opened.size(), 4u);
    EXPECT_EQ(opened[0], ui::frmAbout::kWebAddress);
}

TEST_F(MainWindowTest, AltMReachesTheMessageBoxFromAnywhere)
{
    QApplication::setActiveWindow(&main);
    main.txtIn->SetText("x");
    for (QWidget* from : std::initializer_list<QWidget*>{main.cmdAbout, main.cmdSend}) {
        from->setFocus();
        QTest::keyClick(&main, Qt::Key_M, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), main.txtIn) << from->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, EnterPressesTheFocusedButton)
{
    QApplication::setActiveWindow(&main);
    // The dialogs open modally: record which one opened and close it again.
    QWidget* opened = nullptr;
    QTimer closeDialog;
    closeDialog.setSingleShot(true);
    closeDialog.callOnTimeout([&] {
        opened = QApplication::activeModalWidget();
        if (opened)
            opened->hide();
    });
    const std::pair<QPushButton*, QWidget*> dialogs[] = {{main.cmdSetColor, &colours}, {main.cmdOptions, &options}};
    for (const auto& [button, dialog] : dialogs) {
        opened = nullptr;
        closeDialog.start(0);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        QTest::qWait(0);
        EXPECT_EQ(opened, dialog) << button->objectName().toStdString();
    }
    main.cmdInOut->setFocus();
    QTest::keyClick(main.cmdInOut, Qt::Key_Enter);
    EXPECT_EQ(main.cmdInOut->text(), "4");
}
