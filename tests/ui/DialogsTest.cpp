#include "tests/ui/Clipping.h"
#include "tests/ui/FakeAppLink.h"
#include "tests/ui/FocusChain.h"
#include "engine/ColourTable.h"
#include "ui/frmOptions.h"
#include "ui/frmSetColor.h"
#include "tests/ui/WarningCapture.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace ombrix;
using modOmbrix::Channel;

namespace {

struct SetColorTest : ::testing::Test {
    test::FakeAppLink app;
    ui::frmSetColor dialog{app};
    SetColorTest()
    {
        for (int i = 0; i < 6; ++i)
            dialog.UpdateColor(i);
    }
    QColor Background(const QLabel* label) const { return label->palette().color(QPalette::Window); }
};

} // namespace

TEST_F(SetColorTest, StartsWithTheDefaultRainbow)
{
    EXPECT_EQ(dialog.ColourCount(), 6);
    EXPECT_EQ(dialog.lblShowRed[0]->text(), "255");
    EXPECT_EQ(dialog.lblShowGrn[1]->text(), "128");
    EXPECT_EQ(dialog.lblShowRed[2]->text(), "240");
    EXPECT_EQ(dialog.lblShowRed[3]->text(), "0");
    EXPECT_EQ(Background(dialog.lblColor[5]), QColor(128, 0, 128));
    EXPECT_EQ(Background(dialog.lblShowBlu[4]), QColor(0, 0, 255));
    EXPECT_EQ(dialog.fraColor[0]->title(), "Color &1");
    EXPECT_EQ(dialog.windowTitle(), "Set Color");
}

TEST_F(SetColorTest, DraggingUpdatesThePreviewsBeforeRelease)
{
    auto* bar = dialog.hsbGrn[3];
    bar->setSliderDown(true);
    bar->setSliderPosition(8);
    EXPECT_EQ(dialog.lblShowGrn[3]->text(), "128");
    EXPECT_EQ(Background(dialog.lblShowGrn[3]), QColor(0, 128, 0));
    EXPECT_EQ(Background(dialog.lblColor[3]), QColor(0, 128, 0));
    bar->setSliderDown(false);
    EXPECT_EQ(dialog.Level(3, Channel::Green), 8);
}

TEST_F(SetColorTest, CodeSettingTheSameValueRaisesNoChange)
{
    dialog.lblShowRed[0]->setText("marker");
    dialog.Bar(0, Channel::Red).SetValue(16);
    EXPECT_EQ(dialog.lblShowRed[0]->text(), "marker");
    dialog.Bar(0, Channel::Red).SetValue(16 - 1);
    EXPECT_EQ(dialog.lblShowRed[0]->text(), "240");
}

TEST_F(SetColorTest, NothingIsCutOffOrOnAFrameLine)
{
    EXPECT_EQ(test::ClippedContent(dialog), std::vector<std::string>{});
}

TEST_F(SetColorTest, LevelSixteenShows255AndZeroIsBlack)
{
    dialog.Bar(4, Channel::Red).SetValue(16);
    dialog.Bar(4, Channel::Blue).SetValue(0);
    EXPECT_EQ(dialog.lblShowRed[4]->text(), "255");
    EXPECT_EQ(dialog.lblShowBlu[4]->text(), "0");
    EXPECT_EQ(Background(dialog.lblShowBlu[4]), QColor(0, 0, 0));
}

TEST_F(SetColorTest, HeightAndEnabledFramesFollowTheSlider)
{
    const struct {
        int n;
        float height;
    } cases[] = {{1, 2655}, {2, 3855}, {3, 5055}, {4, 6255}, {5, 7455}, {6, 8655}};
    for (const auto& c : cases) {
        dialog.sldSetColNum->SetValue(c.n);
        dialog.sldSetColNum_Scroll();
        EXPECT_FLOAT_EQ(dialog.Geometry().Height(), c.height) << c.n;
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(dialog.fraColor[i]->isEnabled(), i < c.n) << "n " << c.n << " frame " << i;
    }
}

TEST_F(SetColorTest, FewerColoursKeepTheirLevels)
{
    dialog.Bar(5, Channel::Green).SetValue(3);
    dialog.sldSetColNum->SetValue(2);
    dialog.sldSetColNum_Scroll();
    dialog.sldSetColNum->SetValue(6);
    dialog.sldSetColNum_Scroll();
    EXPECT_EQ(dialog.Level(5, Channel::Green), 3);
    EXPECT_EQ(dialog.Level(5, Channel::Red), 8);
}

TEST_F(SetColorTest, SliderSetFromCodeIsSilentButAUserMoveApplies)
{
    dialog.sldSetColNum->SetValue(1);
    EXPECT_TRUE(dialog.fraColor[5]->isEnabled()); // nothing applied until the explicit call
    dialog.sldSetColNum->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(dialog.ColourCount(), 2);
    EXPECT_FALSE(dialog.fraColor[2]->isEnabled());
    EXPECT_FLOAT_EQ(dialog.Geometry().Height(), 3855);
}

TEST_F(SetColorTest, OutOfRangeAssignmentsThrow)
{
    EXPECT_THROW(dialog.Bar(0, Channel::Red).SetValue(17), std::out_of_range);
    EXPECT_THROW(dialog.Bar(0, Channel::Blue).SetValue(-1), std::out_of_range);
    EXPECT_THROW(dialog.Bar(6, Channel::Blue), std::out_of_range);
    EXPECT_THROW(dialog.sldSetColNum->SetValue(0), std::out_of_range);
    EXPECT_THROW(dialog.sldSetColNum->SetValue(7), std::out_of_range);
    EXPECT_EQ(dialog.Level(0, Channel::Red), 16);
}

TEST_F(SetColorTest, EnterFromAnyControlPressesOk)
{
    dialog.show();
    QTest::keyClick(dialog.hsbBlu[2], Qt::Key_Return);
    EXPECT_EQ(app.calls, (std::vector<std::string>{"SetOnTop(true)", "RegenerateOutput"}));
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(SetColorTest, EscapeDoesNothing)
{
    dialog.show();
    QTest::keyClick(dialog.sldSetColNum, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(app.calls.empty());
    dialog.hide();
}

TEST_F(SetColorTest, TabOrderRunsSliderOkThenEachSlotsBars)
{
    std::vector<QWidget*> expected{dialog.sldSetColNum, dialog.cmdOK};
    for (int i = 0; i < 6; ++i)
        expected.insert(expected.end(), {dialog.hsbRed[i], dialog.hsbGrn[i], dialog.hsbBlu[i]});
    for (std::size_t i = 0; i + 1 < expected.size(); ++i)
        EXPECT_EQ(test::NextTabStop(expected[i]), expected[i + 1]) << i;
}

namespace {

struct OptionsTest : ::testing::Test {
    test::FakeAppLink app;
    ui::frmOptions dialog{app};
    test::WarningCapture warningBoxes;
    std::vector<QString>& warnings = warningBoxes.texts;
};

} // namespace

TEST_F(OptionsTest, DesignValues)
{
    EXPECT_EQ(dialog.chkOnTop->Value(), 1);
    EXPECT_EQ(dialog.FontTagsValue(), 0);
    EXPECT_EQ(dialog.FinalFontTagValue(), 0);
    EXPECT_TRUE(dialog.optSend2.Value(0));
    EXPECT_FALSE(dialog.optSend2.Value(1));
    EXPECT_EQ(dialog.chkFontTags->text(), "Use </FONT> Ending Tags");
    EXPECT_EQ(dialog.chkFinalFontTag->toolTip(),
              "In AIM, this resets the text to the defaults after faded text is used.");
}

TEST_F(OptionsTest, EndingTagsGreyTheFinalTagButKeepItsValue)
{
    dialog.chkFinalFontTag->SetValue(1);
    QTest::mouseClick(dialog.chkFontTags, Qt::LeftButton);
    EXPECT_EQ(dialog.chkFontTags->Value(), 1);
    EXPECT_FALSE(dialog.chkFinalFontTag->isEnabled());
    EXPECT_EQ(dialog.chkFinalFontTag->Value(), 1);
    dialog.chkFontTags->SetValue(2); // grey counts as not checked
    EXPECT_TRUE(dialog.chkFinalFontTag->isEnabled());
    dialog.chkFontTags->SetValue(0);
    EXPECT_TRUE(dialog.chkFinalFontTag->isEnabled());
    EXPECT_EQ(dialog.chkFinalFontTag->Value(), 1);
}

TEST_F(OptionsTest, NothingIsCutOffOrOnAFrameLine)
{
    EXPECT_EQ(test::ClippedContent(dialog), std::vector<std::string>{});
}

TEST_F(OptionsTest, OutOfRangeAssignmentsThrow)
{
    EXPECT_THROW(dialog.chkOnTop->SetValue(3), std::out_of_range);
    EXPECT_THROW(dialog.chkOnTop->SetValue(-1), std::out_of_range);
    EXPECT_THROW(dialog.optSend2.Select(2), std::out_of_range);
    EXPECT_THROW(dialog.optSend2.Select(-1), std::out_of_range);
    EXPECT_EQ(dialog.chkOnTop->Value(), 1);
}

TEST_F(OptionsTest, SendModeButtonsAreOneGroup)
{
    dialog.optSend2.Select(1);
    EXPECT_FALSE(dialog.optSend2.Value(0));
    dialog.optSend2.ClearAll();
    EXPECT_FALSE(dialog.optSend2.Value(0));
    EXPECT_FALSE(dialog.optSend2.Value(1));
}

TEST_F(OptionsTest, OkAppliesStackingThenSavesThenHides)
{
    dialog.show();
    QTest::keyClick(dialog.chkOnTop, Qt::Key_Return);
    EXPECT_EQ(app.calls, (std::vector<std::string>{"SetOnTop(true)", "SaveSettings"}));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(warnings.empty());
}

TEST_F(OptionsTest, EveryShowingStartsOnOkAndTabEntersTheSendGroupAtTheSelectedButton)
{
    std::vector<QWidget*> focusAtOpen;
    QTimer answer;
    answer.setSingleShot(true);
    answer.callOnTimeout([&] {
        focusAtOpen.push_back(dialog.focusWidget());
        dialog.chkOnTop->setFocus(); // left there: the next showing must not start here
        dialog.cmdOK->click();
    });
    for (int showing = 0; showing < 2; ++showing) {
        answer.start(0);
        dialog.ShowModal();
    }
    EXPECT_EQ(focusAtOpen, (std::vector<QWidget*>{dialog.cmdOK, dialog.cmdOK}));

    for (int selected : {0, 1}) {
        dialog.optSend2.Select(selected);
        EXPECT_EQ(test::NextTabStop(dialog.chkFontTags), &dialog.optSend2(selected)) << selected;
        EXPECT_EQ(test::NextTabStop(&dialog.optSend2(selected)), dialog.chkOnTop) << selected;
    }
}

TEST_F(OptionsTest, CheckBoxClickRunsOnCodeChangesOnly)
{
    int clicks = 0;
    dialog.chkOnTop->OnClick([&] { ++clicks; });
    dialog.chkOnTop->SetValue(1); // unchanged
    dialog.chkOnTop->SetValue(2);
    dialog.chkOnTop->SetValue(0);
    EXPECT_EQ(clicks, 2);
}

TEST_F(SetColorTest, AccessKeysGoToTheFirstControlOfTheirFrame)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.cmdOK->setFocus(); // the last control focused in the frame must not win
    QTest::keyClick(&dialog, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), dialog.sldSetColNum);
    for (int i = 0; i < 6; ++i) {
        dialog.hsbBlu[i]->setFocus();
        QTest::keyClick(&dialog, static_cast<Qt::Key>(Qt::Key_1 + i), Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), dialog.hsbRed[i]) << "Alt+" << i + 1;
    }
    QTest::keyClick(&dialog, Qt::Key_O, Qt::AltModifier);
    QTest::qWait(300); // an access key presses the button visibly, then clicks
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(SetColorTest, LevelBarsMoveFromTheKeyboardAsHorizontalBarsDoAndShowTheFocus)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    auto* bar = dialog.hsbGrn[3];
    const QImage unfocused = bar->grab().toImage();
    bar->setFocus();
    ASSERT_TRUE(bar->hasFocus());
    EXPECT_NE(bar->grab().toImage(), unfocused) << "a focused bar looks like any other";
    const struct {
        Qt::Key key;
        int expected;
    } cases[] = {{Qt::Key_Right, 6}, {Qt::Key_Left, 4}, {Qt::Key_Up, 4},     {Qt::Key_Down, 6},
                 {Qt::Key_Home, 0},  {Qt::Key_End, 16}, {Qt::Key_PageUp, 4}, {Qt::Key_PageDown, 6}};
    for (const auto& c : cases) {
        bar->SetValue(5);
        QTest::keyClick(bar, c.key);
        EXPECT_EQ(bar->Value(), c.expected) << QKeySequence(c.key).toString().toStdString();
        EXPECT_EQ(dialog.lblShowGrn[3]->text(), QString::number(modOmbrix::LevelToByte(c.expected)));
    }
    dialog.hide();
}
