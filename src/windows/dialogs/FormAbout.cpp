#include "windows/dialogs/FormAbout.h"

#include "core/Product.h"
#include "localisation/AppStrings.h"
#include "windows/Widgets.h"

#include <QAction>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QString Link(const QString& address, const QString& text) {
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(address.toHtmlEscaped(), text.toHtmlEscaped());
}

} // namespace

TFormAbout::TFormAbout(const TAppStrings& strings, const QKeySequence& closeKey, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("FormAbout"));
    pnMain = Named(new QWidget(this), "pnMain");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(pnMain);
    auto* layout = new QVBoxLayout(pnMain);
    layout->setSpacing(6);
    const auto add = [&](const char* name, const QString& text, int pixels, bool bold) {
        QLabel* label = NewLabel(pnMain, name, text);
        label->setAlignment(Qt::AlignHCenter);
        QFont font = label->font();
        if (pixels > 0)
            font.setPixelSize(pixels);
        font.setBold(bold);
        label->setFont(font);
        layout->addWidget(label);
        return label;
    };
    const auto link = [&](const char* name, const QString& address, const QString& text) {
        QLabel* label = add(name, Link(address, text), 0, false);
        QFont font = label->font();
        font.setPointSize(9);
        label->setFont(font);
        label->setOpenExternalLinks(true);
        label->setTextInteractionFlags(Qt::TextBrowserInteraction);
        return label;
    };
    const QString name = QString::fromUtf16(ProductName);
    add("lblName", name, 24, true);
    add("lblVersion", QStringLiteral("Version ") + QString::fromUtf16(ProductVersion), 16, false);
    add("lblDate", QString::fromUtf16(ReleaseDate), 0, false);
    lblDonation = link("lblDonation", QString::fromUtf16(DonationUrl), strings.About.Donation);
    lblDonation->setToolTip(QString::fromUtf16(DonationUrl));
    add("lblProducer", QString::fromUtf16(ProducerName), 0, false);
    link("lblWWW", QString::fromUtf16(HomePageUrl), QString::fromUtf16(HomePageUrl));
    layout->addSpacing(8);
    add("lblFFmpegVersionInfo1", QStringLiteral("FFmpeg"), 0, true);
    add("lblFFmpegVersionInfo2", QString::fromUtf16(FFmpegToolVersion), 0, false);
    link("lblWwwFFmpeg", QString::fromUtf16(FFmpegProjectUrl),
         QString::fromUtf16(FFmpegProjectUrl));
    layout->addSpacing(8);
    add("lblMediaInfoVersionInfo",
        QStringLiteral("MediaInfo ") + QString::fromUtf16(MediaInfoToolVersion), 0, true);
    link("lblWwwMediaInfo", QString::fromUtf16(MediaInfoProjectUrl),
         QString::fromUtf16(MediaInfoProjectUrl));
    layout->addStretch(1);

    // The key that opens the window closes it as well; so does Esc.
    auto* actClose = Named(new QAction(this), "actClose");
    actClose->setShortcut(closeKey);
    connect(actClose, &QAction::triggered, this, &QDialog::close);
    addAction(actClose);
    auto* actEsc = Named(new QAction(this), "actEsc");
    actEsc->setShortcut(Qt::Key_Escape);
    connect(actEsc, &QAction::triggered, this, &QDialog::close);
    addAction(actEsc);

    setFixedSize(435, 345);
    SetLang(strings);
}

void TFormAbout::SetLang(const TAppStrings& strings) {
    setWindowTitle(strings.About.Caption);
    lblDonation->setText(Link(QString::fromUtf16(DonationUrl), strings.About.Donation));
}
