#include "ui/frmOmbrix.h"

#include "engine/Fade.h"
#include "ui/OutputFormatChoice.h"
#include "ui/frmAbout.h"
#include "ui/layer/MessageBox.h"
#include "ui/frmOptions.h"
#include "ui/frmSetColor.h"
#include "ui/layer/Fonts.h"
#include "ui/layer/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QActionGroup>
#include <QIcon>
#include <QMenu>

namespace ombrix::ui {
namespace {

constexpr int kClientWidth = 6480;
constexpr int kClientHeight = 1290;
constexpr layer::DesignBorders kBorders{45, 330, 45};
constexpr int kMaxMessage = 32000;

} // namespace

frmOmbrix::frmOmbrix(frmSetColor& colours, frmOptions& options, AppLink& app)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      colours_(colours), options_(options), app_(app), geometry_(*this, kBorders)
{
    setObjectName(QStringLiteral("frmOmbrix"));
    setWindowTitle(QStringLiteral("HTML Ombrix"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/ombrix-32.png")));
    geometry_.SetClientSize(kClientWidth, kClientHeight);

    fraMsg = layer::Designed(new layer::Frame(QStringLiteral("&Message"), this), QStringLiteral("fraMsg"), QString(),
                             {120, 0, 4695, 885});
    txtIn = layer::Designed(new layer::TextBox(kMaxMessage, fraMsg), QStringLiteral("txtIn"),
                            QStringLiteral("Type Message Here"), {120, 240, 3735, 510});
    cmdSend = layer::Designed(new layer::CommandButton(QStringLiteral("Send"), fraMsg), QStringLiteral("cmdSend"),
                              QStringLiteral("Send/Copy Message"), {3945, 240, 615, 510});
    cmdSend->setEnabled(false);
    cmdSend->setDefault(true);
    txtIn->SetDefaultButton(cmdSend);
    preview = new FadePreview(*txtIn, colours_);

    cmdAbout = layer::Designed(new layer::CommandButton(QStringLiteral("&About"), this), QStringLiteral("cmdAbout"),
                               QStringLiteral("Info About this Program"), {120, 930, 975, 285});
    cmdInOut = layer::Designed(new layer::TriangleButton(QStringLiteral("3"), this), QStringLiteral("cmdInOut"),
                               QStringLiteral("Hide/Show Settings"), {4545, 930, 255, 285});
    fraSettings = layer::Designed(new layer::Frame(QStringLiteral("Settings"), this), QStringLiteral("fraSettings"),
                                  QString(), {4920, 0, 1455, 1215});
    cmdSetColor =
        layer::Designed(new layer::CommandButton(QStringLiteral("Set &Color"), fraSettings),
                        QStringLiteral("cmdSetColor"), QStringLiteral("Change Fade Colors"), {120, 240, 1215, 375});
    cmdOptions =
        layer::Designed(new layer::CommandButton(QStringLiteral("&Options"), fraSettings), QStringLiteral("cmdOptions"),
                        QStringLiteral("Change Various Settings"), {120, 720, 1215, 375});

    // "Output Will Be", sixteen spaces that the count box sits in, "Characters".
    lblOutMsg = layer::Designed(new layer::GapLabel(QStringLiteral("Output Will Be                Characters"), this),
                                QStringLiteral("lblOutMsg"), QString(), {1800, 960, 2535, 255});
    lblCharCount = layer::Designed(new layer::Label(QString(), this), QStringLiteral("lblCharCount"),
                                   QStringLiteral("The Number of Characters the HTML Will Use"), {2895, 945, 570, 225});
    lblCharCount->SetBackColor(QColor(192, 255, 255));
    lblCharCount->SetForeColor(QColor(0, 0, 128));
    lblCharCount->SetSingleBorder();
    lblCharCount->setAlignment(Qt::AlignCenter);
    lblCharCount->raise();

    setTabOrder(txtIn, cmdSend);
    setTabOrder(cmdSend, cmdSetColor);
    setTabOrder(cmdSetColor, cmdOptions);
    setTabOrder(cmdOptions, cmdAbout);
    setTabOrder(cmdAbout, cmdInOut);
    for (QWidget* passive : std::initializer_list<QWidget*>{lblCharCount, lblOutMsg})
        passive->setFocusPolicy(Qt::NoFocus);

    txtIn->OnChange([this] { txtIn_Change(); });
    cmdSend->OnClick([this] { cmdSend_Click(); });
    cmdSetColor->OnClick([this] { cmdSetColor_Click(); });
    cmdOptions->OnClick([this] { cmdOptions_Click(); });
    cmdAbout->OnClick([this] { cmdAbout_Click(); });
    connect(cmdInOut, &QPushButton::clicked, this, [this] { cmdInOut_Click(); });
    format_ = LoadOutputFormat();
    ShowFormat();
    preview->AddContextMenuExtension([this](QMenu& menu) { AddFormatMenu(menu); });
    txtIn->setFocus();
}

void frmOmbrix::SetFormat(modOmbrix::OutputFormat format)
{
    format_ = format;
    if (!SaveOutputFormat(format))
        layer::MessageBox::Warning(QStringLiteral("HTML Ombrix"),
                                   QStringLiteral("The choice of output format could not be saved; it holds until "
                                                  "the program ends."));
    ShowFormat();
    txtIn_Change();
}

void frmOmbrix::ShowFormat()
{
    // HTML is the design; any other format names itself over the message, so that a
    // count that changed with it needs no explaining.
    const bool html = format_ == modOmbrix::OutputFormat::Html;
    fraMsg->setTitle(html ? QStringLiteral("&Message")
                          : QStringLiteral("&Message as %1").arg(OutputFormatTitle(format_)));
    lblCharCount->setToolTip(
        QStringLiteral("The Number of Characters the %1 Will Use").arg(OutputFormatTitle(format_)));
}

void frmOmbrix::AddFormatMenu(QMenu& menu)
{
    QMenu* formats = menu.addMenu(QStringLiteral("Output &Format"));
    formats->setObjectName(QStringLiteral("mnuOutputFormat"));
    auto* group = new QActionGroup(formats);
    for (const modOmbrix::OutputFormatName& entry : modOmbrix::kOutputFormats) {
        QAction* action = formats->addAction(OutputFormatTitle(entry.format));
        action->setObjectName(QStringLiteral("mnuFormat_") +
                              QString::fromLatin1(entry.name.data(), static_cast<qsizetype>(entry.name.size())));
        action->setCheckable(true);
        action->setChecked(entry.format == format_);
        group->addAction(action);
        const modOmbrix::OutputFormat format = entry.format;
        connect(action, &QAction::triggered, this, [this, format] { SetFormat(format); });
    }
}

void frmOmbrix::txtIn_Change()
{
    const QString text = txtIn->Text();
    try {
        // The colour changes once, for the HTML and for the colours in the box.
        const std::u16string_view units(QStringView(text).utf16(), static_cast<std::size_t>(text.size()));
        const std::vector<modOmbrix::ColourChange> tags = modOmbrix::FindColourChanges(units, colours_);
        const std::u16string html = modOmbrix::WriteFadedText(units, tags, options_, format_);
        strOutput = QString::fromUtf16(html.data(), static_cast<qsizetype>(html.size()));
        lblCharCount->setFont(font());
        lblCharCount->setText(QString::number(strOutput.size()));
        lblCharCount->setToolTip(
            QStringLiteral("The Number of Characters the %1 Will Use").arg(OutputFormatTitle(format_)));
        preview->Show(text, tags);
    } catch (const modOmbrix::TextTooLongError& e) {
        // Keep the text: the user can shorten it or use fewer colours.
        strOutput.clear();
        preview->Clear();
        ShowTooLong(e.colours(), e.limit());
        cmdSend->setEnabled(false);
        return;
    }
    if (text == QLatin1String("\r\n"))
        txtIn->SetText(QString()); // runs this handler again, nested, before we go on
    if (txtIn->Length() != 0) {
        cmdSend->setEnabled(true);
    } else {
        cmdSend->setEnabled(false);
        lblCharCount->setText(QString());
    }
}

void frmOmbrix::ShowTooLong(std::int32_t colours, std::int32_t limit)
{
    // The box is sized for a number; the words get a face small enough to show whole.
    const QString tooLong = QStringLiteral("Too long");
    lblCharCount->setFont(layer::FontToFit(font(), tooLong, lblCharCount->contentsRect().width()));
    lblCharCount->setText(tooLong);
    lblCharCount->setToolTip(QStringLiteral("The message is too long for %1 colour%2: at most %3 characters")
                                 .arg(colours)
                                 .arg(colours == 1 ? "" : "s")
                                 .arg(limit));
}

void frmOmbrix::cmdInOut_Click()
{
    if (cmdInOut->text().isEmpty())
        return;
    const char16_t first = cmdInOut->text().at(0).unicode();
    if (first == u'3') {
        varFullWidth = geometry_.Width();
        fraSettings->hide();
        geometry_.SetWidth(static_cast<float>(layer::PixelsToTwips(fraSettings->x())) + 90.0f);
        cmdInOut->setText(QStringLiteral("4"));
    } else if (first == u'4') {
        geometry_.SetWidth(varFullWidth.value_or(geometry_.Width()));
        fraSettings->show();
        cmdInOut->setText(QStringLiteral("3"));
    }
}

void frmOmbrix::cmdSend_Click()
{
    if (deliver_ && !deliver_(strOutput))
        return;
    txtIn->SetText(QString());
}

void frmOmbrix::cmdSetColor_Click()
{
    app_.SetOnTop(false);
    colours_.CentreOnScreen();
    colours_.ShowModal();
}

void frmOmbrix::cmdOptions_Click()
{
    app_.SetOnTop(false);
    options_.CentreOnScreen();
    options_.ShowModal();
}

void frmOmbrix::cmdAbout_Click()
{
    app_.SetOnTop(false);
    frmAbout about(*this);
    about.ShowModal();
}

void frmOmbrix::closeEvent(QCloseEvent* event)
{
    Form_QueryUnload();
    event->accept();
}

void frmOmbrix::Form_QueryUnload()
{
    app_.SaveSettings();
    QApplication::exit(0);
}

} // namespace ombrix::ui
