#include "ui/frmAbout.h"

#include "ombrix/Version.h"
#include "ui/frmOmbrix.h"
#include "ui/layer/Fonts.h"
#include "ui/layer/Twips.h"

#include <QDesktopServices>
#include <QPixmap>

namespace ombrix::ui {
namespace {

constexpr layer::DesignBorders kBorders{45, 45, 45}; // no caption bar

void OpenInDesktop(const QUrl& url) { QDesktopServices::openUrl(url); } // its result is of no use here

std::function<void(const QUrl&)>& UrlOpener()
{
    static std::function<void(const QUrl&)> opener = OpenInDesktop;
    return opener;
}

} // namespace

const QUrl frmAbout::kWebAddress(QStringLiteral("https://ombrix.example.org/"));

void frmAbout::SetUrlOpener(std::function<void(const QUrl&)> opener)
{
    UrlOpener() = opener ? std::move(opener) : OpenInDesktop;
}

frmAbout::frmAbout(frmOmbrix& main) : FixedDialog(QString(), 5190, 3015, kBorders, false)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    Label1 = layer::Designed(new layer::Label(QStringLiteral("HTML Ombrix"), this), QStringLiteral("Label1"), QString(),
                             {240, 240, 4695, 375});
    Label1->setAlignment(Qt::AlignCenter);
    Label1->SetSingleBorder();
    Label1->setFont(layer::DesignFont(QStringLiteral("MS Sans Serif"), 12, true));

    Label2 = layer::Designed(new layer::Label(QStringLiteral("Version ") + QLatin1String(kVersion), this),
                             QStringLiteral("Label2"), QString(), {240, 720, 4695, 255});
    Label2->setAlignment(Qt::AlignCenter);
    Label2->SetSingleBorder();

    Image1 = layer::Designed(new QLabel(this), QStringLiteral("Image1"), QString(), {240, 1200, 1020, 1020});
    Image1->setPixmap(QPixmap(QStringLiteral(":/icons/ombrix-32.png")));
    Image1->setScaledContents(true);

    fraTheFrame = layer::Designed(new layer::Frame(QString(), this), QStringLiteral("fraTheFrame"), QString(),
                                  {1440, 1080, 3495, 1215});

    Label3 = layer::Designed(new layer::Label(QStringLiteral("by the Ombrix developers"), fraTheFrame),
                             QStringLiteral("Label3"), QString(), {120, 240, 3255, 255});
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setFont(layer::DesignFont(QStringLiteral("Arial"), 12, true, true));

    lblUrl = layer::Designed(new layer::Label(kWebAddress.toString(), fraTheFrame), QStringLiteral("lblUrl"), QString(),
                             {1050, 720, 1410, 240});
    lblUrl->setAlignment(Qt::AlignCenter);
    lblUrl->setFont(layer::DesignFont(QStringLiteral("Arial"), 9.75, false, false, true));
    lblUrl->SetForeColor(QColor(0, 0, 255));
    lblUrl->setCursor(Qt::PointingHandCursor);
    lblUrl->adjustSize(); // sized to its text, kept centred in the frame
    lblUrl->move((fraTheFrame->width() - lblUrl->width()) / 2, lblUrl->y());
    lblUrl->OnClick([this] { lblUrl_Click(); });

    cmdOk = layer::Designed(new layer::CommandButton(QStringLiteral("Ok"), this), QStringLiteral("cmdOk"), QString(),
                            {240, 2400, 4695, 375});
    cmdOk->setDefault(true);
    cmdOk->OnClick([this] { cmdOk_Click(); });

    Form_Load(main);
}

void frmAbout::Form_Load(frmOmbrix& main)
{
    layer::FormGeometry& own = Geometry();
    layer::FormGeometry& owner = main.Geometry();
    own.SetLeft((owner.Width() - own.Width()) / 2.0f + owner.Left());
    own.SetTop((owner.Height() - own.Height()) / 2.0f + owner.Top());
}

void frmAbout::lblUrl_Click() { UrlOpener()(kWebAddress); }

} // namespace ombrix::ui
