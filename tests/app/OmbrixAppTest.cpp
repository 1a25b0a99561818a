#include "app/OmbrixApp.h"
#include "settings/Settings.h"
#include "tests/app/RecordingPlatform.h"
#include "tests/settings/TestFiles.h"
#include "tests/ui/WarningCapture.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace ombrix;
using modOmbrix::Channel;

namespace {

// Writes down what the program asks of the window manager, and of which window.
class RecordingWindowManager final : public app::WindowManager {
public:
    using Request = std::pair<const QWidget*, std::string>;
    explicit RecordingWindowManager(std::vector<Request>& requests) : requests_(requests) {}

    void SetAbove(QWidget& window, bool above) override
    {
        requests_.emplace_back(&window, above ? "above" : "not above");
    }
    void RequestFixedFrame(QWidget& window, app::FixedFrame frame) override
    {
        requests_.emplace_back(&window, "frame " + Name(frame));
    }
    void KeepFixedFrame(QWidget& window, app::FixedFrame frame) override
    {
        requests_.emplace_back(&window, "keep frame " + Name(frame));
    }
    void ReturnModalDialogsWithMainWindow(QWidget& window) override
    {
        requests_.emplace_back(&window, "return modal dialogs");
    }

private:
    static std::string Name(app::FixedFrame frame)
    {
        switch (frame) {
        case app::FixedFrame::MainWindow: return "main window";
        case app::FixedFrame::Dialog: return "dialog";
        case app::FixedFrame::Untitled: return "untitled";
        }
        return "?";
    }

    std::vector<Request>& requests_;
};

struct AppTest : ::testing::Test {
    QTemporaryDir dir;
    std::filesystem::path path = std::filesystem::path(dir.path().toStdString()) / "kestovombrix.ini";
    test::WarningCapture warningBoxes;
    std::vector<QString>& warnings = warningBoxes.texts;

    void Write(const std::vector<std::string>& lines) const { test::WriteFile(path, test::Join(lines)); }
    std::string Read() const { return test::ReadFile(path); }
    static std::vector<std::string> With(std::initializer_list<std::pair<int, std::string>> changes)
    {
        auto lines = test::DefaultLines();
        for (const auto& [line, text] : changes)
            lines[static_cast<std::size_t>(line - 1)] = text;
        return lines;
    }
};

} // namespace

TEST_F(AppTest, NoFileWritesTheDefaultsAndKeepsTheDesign)
{
    app::OmbrixApp app(path);
    app.Start();
    EXPECT_EQ(Read(), test::kDefaultFile);
    EXPECT_EQ(Read().size(), 128u);
    EXPECT_TRUE(app.main->isVisible());
    EXPECT_EQ(app.setColor->lblShowGrn[1]->text(), "128");
    EXPECT_TRUE(warnings.empty());
}

TEST_F(AppTest, LoadingDrivesTheSameHandlersAsTheUser)
{
    Write(With({{2, " 3 "}, {4, " 4 "}, {21, "True"}, {22, " 1 "}, {23, " 1 "}, {24, " 2 "}, {1, " 1 "}}));
    app::OmbrixApp app(path);
    app.Start();
    EXPECT_EQ(app.setColor->lblShowGrn[0]->text(), "64"); // the preview followed the loaded level
    EXPECT_EQ(app.setColor->lblColor[0]->palette().color(QPalette::Window), QColor(255, 64, 0));
    EXPECT_FALSE(app.setColor->fraColor[3]->isEnabled());
    EXPECT_FLOAT_EQ(app.setColor->Geometry().Height(), 5055);
    EXPECT_FALSE(app.options->chkFinalFontTag->isEnabled());
    EXPECT_EQ(app.options->chkFinalFontTag->Value(), 1);
    EXPECT_TRUE(app.options->optSend2.Value(1));
    EXPECT_EQ(app.main->cmdInOut->text(), "4");
    EXPECT_FLOAT_EQ(app.main->Geometry().Width(), 5010);
    EXPECT_TRUE(app.main->windowFlags().testFlag(Qt::WindowStaysOnTopHint)); // 2 counts as checked
}

TEST_F(AppTest, CollapsedThenAFailingLinePressesTheToggleTwice)
{
    Write(With({{21, "True"}, {22, " 7 "}}));
    app::OmbrixApp app(path);
    app.Start();
    EXPECT_EQ(app.main->cmdInOut->text(), "3");
    EXPECT_FLOAT_EQ(app.main->Geometry().Width(), 6570);
    app.SaveSettings();
    EXPECT_EQ(Read(), test::kDefaultFile);
}

TEST_F(AppTest, ColourDialogOkRegeneratesAndAppliesStacking)
{
    app::OmbrixApp app(path);
    app.Start();
    app.main->txtIn->SetText("abc");
    app.setColor->sldSetColNum->SetValue(1);
    app.options->chkOnTop->SetValue(0);
    app.setColor->cmdOK->click();
    EXPECT_EQ(app.main->Output(), "<FONT COLOR=FF0000>abc");
    EXPECT_FALSE(app.main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(AppTest, SetOnTopFollowsTheTable)
{
    app::OmbrixApp app(path);
    app.Start();
    const struct {
        std::int16_t onTop;
        bool flag;
        bool topmost;
    } cases[] = {{0, true, false},  {0, false, false}, {1, true, true},
                 {1, false, false}, {2, true, true},   {2, false, false}};
    for (const auto& c : cases) {
        app.options->chkOnTop->SetValue(c.onTop);
        app.SetOnTop(c.flag);
        EXPECT_EQ(app.main->windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.topmost) << c.onTop << c.flag;
        EXPECT_TRUE(app.main->isVisible());
    }
}

TEST_F(AppTest, TheWindowsAskTheWindowManagerForTheirFramesAndStacking)
{
    using Request = RecordingWindowManager::Request;
    std::vector<Request> requests;
    app::OmbrixApp app(path, nullptr, std::make_unique<RecordingWindowManager>(requests));
    const QWidget* main = app.main.get();
    EXPECT_EQ(requests, (std::vector<Request>{{main, "keep frame main window"}}));

    requests.clear();
    app.Start();
    EXPECT_EQ(requests, (std::vector<Request>{{main, "return modal dialogs"}, {main, "above"}}));

    requests.clear();
    app.options->show();
    app.setColor->show();
    EXPECT_EQ(requests,
              (std::vector<Request>{{app.options.get(), "frame dialog"}, {app.setColor.get(), "frame dialog"}}));

    const struct {
        std::int16_t onTop;
        bool flag;
        const char* request;
    } cases[] = {{0, true, "not above"}, {1, true, "above"}, {2, true, "above"}, {1, false, "not above"}};
    for (const auto& c : cases) {
        requests.clear();
        app.options->chkOnTop->SetValue(c.onTop);
        app.SetOnTop(c.flag);
        EXPECT_EQ(requests, (std::vector<Request>{{main, c.request}})) << c.onTop << c.flag;
    }
}

TEST_F(AppTest, AnUnwritableSettingsPathIsReportedAndTheToolStillStarts)
{
    const auto blocker = path.parent_path() / "not-a-folder";
    std::ofstream(blocker) << "x";
    app::OmbrixApp app(blocker / "kestovombrix.ini");
    app.Start();
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].contains(QString::fromStdString((blocker / "kestovombrix.ini").string())))
        << warnings[0].toStdString();
    EXPECT_TRUE(app.main->isVisible());
    EXPECT_EQ(app.setColor->ColourCount(), 6);

    app.options->show();
    app.options->cmdOK->click(); // the options dialog's save fails: reported, and it still closes
    EXPECT_EQ(warnings.size(), 2u);
    EXPECT_FALSE(app.options->isVisible());

    app.main->close(); // so does the last save: reported, and the window still closes
    EXPECT_EQ(warnings.size(), 3u);
    EXPECT_FALSE(app.main->isVisible());
}

TEST_F(AppTest, ClosingSavesTheSettings)
{
    app::OmbrixApp app(path);
    app.Start();
    app.setColor->Bar(5, Channel::Blue).SetValue(0);
    app.main->cmdInOut->click();
    app.main->close();
    EXPECT_EQ(Read(), test::Join(With({{20, " 0 "}, {21, "True"}})));
}

TEST_F(AppTest, SendReadsTheModeAtTheMomentAndEmptiesTheBox)
{
    auto platform = std::make_unique<app::RecordingPlatform>();
    app::RecordingPlatform& desktop = *platform;
    app::OmbrixApp app(path, std::move(platform));
    app.Start();

    QTest::keyClicks(app.main->txtIn, "hi");
    QTest::keyClick(app.main->txtIn, Qt::Key_Return);
    EXPECT_EQ(desktop.steps,
              (std::vector<std::string>{"clear", "set", "follow", "hide", "wait", "route", "see", "ctrl+v", "fetched",
                                        "space", "alt+s", "wait", "clear", "stop following", "show"}));
    EXPECT_EQ(desktop.clipboard, "");
    EXPECT_EQ(app.main->txtIn->Text(), "");
    EXPECT_FALSE(app.main->cmdSend->isEnabled());
    EXPECT_EQ(app.main->lblCharCount->text(), "");

    // The options dialog switches to copying without any regeneration in between.
    app.options->optSend2.Select(1);
    desktop.steps.clear();
    QTest::keyClicks(app.main->txtIn, "hi");
    const QString counted = app.main->Output();
    ASSERT_EQ(app.main->lblCharCount->text(), QString::number(counted.size()));
    app.main->cmdSend->click();
    EXPECT_EQ(desktop.steps, (std::vector<std::string>{"clear", "set"}));
    EXPECT_EQ(desktop.clipboard, counted);
    EXPECT_EQ(app.main->txtIn->Text(), "");
    EXPECT_TRUE(warnings.empty());
}

TEST_F(AppTest, TheOutputFormatChangesTheCountAndWhatSendDeliversAndOutlivesARestart)
{
    const auto choose = [](app::OmbrixApp& app, const char* name) {
        const std::unique_ptr<QMenu> menu(app.main->preview->CreateContextMenu());
        auto* action = menu->findChild<QAction*>(QStringLiteral("mnuFormat_") + name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    };
    {
        auto platform = std::make_unique<app::RecordingPlatform>();
        app::RecordingPlatform& desktop = *platform;
        app::OmbrixApp app(path, std::move(platform));
        app.Start();
        app.options->optSend2.Select(1);
        QTest::keyClicks(app.main->txtIn, "ab c");
        const QString html = app.main->Output();
        EXPECT_TRUE(html.startsWith("<FONT COLOR="));
        EXPECT_EQ(app.main->fraMsg->title(), "&Message");

        choose(app, "bbcode");
        const QString bbcode = app.main->Output();
        EXPECT_TRUE(bbcode.startsWith("[color=#")) << bbcode.toStdString();
        EXPECT_EQ(app.main->lblCharCount->text(), QString::number(bbcode.size()));
        EXPECT_NE(bbcode.size(), html.size());
        EXPECT_EQ(app.main->fraMsg->title(), "&Message as BBCode");
        app.main->cmdSend->click();
        EXPECT_EQ(desktop.clipboard, bbcode);
        EXPECT_FALSE(desktop.clipboardRich) << "BBCode is no HTML for rich editors";

        QTest::keyClicks(app.main->txtIn, "ab c");
        choose(app, "css");
        app.main->cmdSend->click();
        EXPECT_TRUE(desktop.clipboard.startsWith("<span style=\"color:#")) << desktop.clipboard.toStdString();
        EXPECT_TRUE(desktop.clipboardRich);
    }
    app::OmbrixApp nextRun(path, std::make_unique<app::RecordingPlatform>());
    EXPECT_EQ(nextRun.main->Format(), modOmbrix::OutputFormat::Css);
    choose(nextRun, "html"); // leaves the user's configuration as the other tests expect it
    EXPECT_TRUE(warnings.empty());
}

TEST_F(AppTest, AMessageTheClipboardRefusedIsKept)
{
    auto platform = std::make_unique<app::RecordingPlatform>();
    platform->clipboardTakesText = false;
    app::OmbrixApp app(path, std::move(platform));
    app.Start();
    for (const int mode : {0, 1}) {
        app.options->optSend2.Select(mode);
        app.main->txtIn->SetText("not lost");
        app.main->cmdSend->click();
        EXPECT_EQ(app.main->txtIn->Text(), "not lost") << mode;
        EXPECT_TRUE(app.main->cmdSend->isEnabled()) << mode;
        EXPECT_TRUE(app.main->isVisible()) << mode;
    }
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_TRUE(warnings[0].contains("clipboard"));
}

TEST_F(AppTest, WithoutKeystrokesPasteModeLeavesTheHtmlOnTheClipboard)
{
    // The offscreen test platform has a clipboard but no X server to send keys through.
    app::OmbrixApp app(path);
    app.Start();
    app.main->txtIn->SetText("by hand");
    const QString html = app.main->Output();
    app.main->cmdSend->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), html);
    EXPECT_TRUE(app.main->isVisible());
    EXPECT_EQ(app.main->txtIn->Text(), "by hand"); // not handed over, so not gone
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_TRUE(warnings[0].contains("paste by hand"));

    app.options->optSend2.Select(1);
    app.main->txtIn->SetText("copied");
    const QString copied = app.main->Output();
    app.main->cmdSend->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), copied);
    EXPECT_EQ(warnings.size(), 1u);
}
