#include "windows/dialogs/FormPreview.h"

#include "core/CallRelay.h"
#include "core/DisplayFormats.h"
#include "localisation/AppStrings.h"
#include "windows/Widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSlider>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

int EvenAtMost(int value, int most) {
    return std::clamp(value - value % 2, 0, std::max(0, most - most % 2));
}

} // namespace

TCropEdges DragCropEdge(TCropEdges crop, int edge, QPoint at, QSize picture) {
    const int w = picture.width();
    const int h = picture.height();
    switch (edge) {
    case 0:
        crop.Top = EvenAtMost(at.y(), h - crop.Bottom - 2);
        break;
    case 1:
        crop.Bottom = EvenAtMost(h - at.y(), h - crop.Top - 2);
        break;
    case 2:
        crop.Left = EvenAtMost(at.x(), w - crop.Right - 2);
        break;
    case 3:
        crop.Right = EvenAtMost(w - at.x(), w - crop.Left - 2);
        break;
    default:
        break;
    }
    return crop;
}

int CropEdgeNear(const TCropEdges& crop, QPoint at, QSize picture, int reach) {
    const int distances[] = {
        std::abs(at.y() - crop.Top), std::abs(at.y() - (picture.height() - crop.Bottom)),
        std::abs(at.x() - crop.Left), std::abs(at.x() - (picture.width() - crop.Right))};
    int nearest = -1;
    for (int edge = 0; edge < 4; ++edge)
        if (distances[edge] <= reach && (nearest < 0 || distances[edge] < distances[nearest]))
            nearest = edge;
    return nearest;
}

TPreviewPicture::TPreviewPicture(QWidget* parent) : QWidget(parent) {
    setMinimumSize(160, 120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(true);
}

void TPreviewPicture::SetFrame(const QImage& image, QSize displaySize) {
    Frame = image;
    Display = displaySize.isValid() ? displaySize : image.size();
    update();
}

void TPreviewPicture::SetCrop(const TCropEdges& crop, bool shown) {
    Crop = crop;
    CropShown = shown;
    update();
}

QRect TPreviewPicture::Target() const {
    if (Frame.isNull() || Display.isEmpty())
        return {};
    const QSize fitted = Display.scaled(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

QPoint TPreviewPicture::ToPicture(QPoint at) const {
    const QRect target = Target();
    if (target.isEmpty())
        return {};
    return {int((at.x() - target.left()) * double(Frame.width()) / target.width()),
            int((at.y() - target.top()) * double(Frame.height()) / target.height())};
}

void TPreviewPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    const QRect target = Target();
    if (target.isEmpty())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, Frame);
    if (!CropShown)
        return;
    const double sx = double(target.width()) / Frame.width();
    const double sy = double(target.height()) / Frame.height();
    const QRectF kept(target.left() + Crop.Left * sx, target.top() + Crop.Top * sy,
                      (Frame.width() - Crop.Left - Crop.Right) * sx,
                      (Frame.height() - Crop.Top - Crop.Bottom) * sy);
    // What the crop takes away is dimmed; the edges are drawn to be dragged.
    QPainterPath outside;
    outside.addRect(target);
    QPainterPath inside;
    inside.addRect(kept);
    painter.fillPath(outside.subtracted(inside), QColor(0, 0, 0, 120));
    painter.setPen(QPen(QColor(255, 210, 0), 2, Qt::DashLine));
    painter.drawRect(kept);
}

void TPreviewPicture::mousePressEvent(QMouseEvent* event) {
    if (!CropShown || Frame.isNull())
        return;
    const QRect target = Target();
    const int reach = std::max(4, int(8.0 * Frame.width() / std::max(1, target.width())));
    Dragging = CropEdgeNear(Crop, ToPicture(event->position().toPoint()), Frame.size(), reach);
}

void TPreviewPicture::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = ToPicture(event->position().toPoint());
    if (Dragging < 0) {
        const int edge =
            CropShown && !Frame.isNull() ? CropEdgeNear(Crop, at, Frame.size(), 6) : -1;
        setCursor(edge < 0 ? Qt::ArrowCursor : edge < 2 ? Qt::SizeVerCursor : Qt::SizeHorCursor);
        return;
    }
    const TCropEdges dragged = DragCropEdge(Crop, Dragging, at, Frame.size());
    if (dragged == Crop)
        return;
    Crop = dragged;
    update();
    Q_EMIT CropDragged(Crop);
}

void TPreviewPicture::mouseReleaseEvent(QMouseEvent*) {
    Dragging = -1;
}

TFormPreview::TFormPreview(const TAppStrings& strings, QWidget* owner)
    : QDialog(owner, Qt::Window), Strings(&strings), Pause(new QTimer(this)),
      Pool(new QThreadPool(this)), Calls(new TCallRelay(this)) {
    setObjectName(u"FormPreview"_s);
    Pool->setMaxThreadCount(2); // the source and the result side by side
    Pause->setSingleShot(true);
    Pause->setInterval(150);
    connect(Pause, &QTimer::timeout, this, &TFormPreview::Render);

    auto* layout = new QVBoxLayout(this);
    auto* pictures = new QHBoxLayout;
    const auto side = [&](const char* picture, TPreviewPicture*& image, const char* caption,
                          QLabel*& label) {
        auto* column = new QVBoxLayout;
        image = Named(new TPreviewPicture(this), picture);
        label = NewLabel(this, caption);
        label->setAlignment(Qt::AlignHCenter);
        column->addWidget(image, 1);
        column->addWidget(label);
        pictures->addLayout(column, 1);
    };
    side("imgSource", imgSource, "lblSourceSize", lblSourceSize);
    side("imgResult", imgResult, "lblResultSize", lblResultSize);
    layout->addLayout(pictures, 1);
    auto* moment = new QHBoxLayout;
    tbMoment = Named(new QSlider(Qt::Horizontal, this), "tbMoment");
    tbMoment->setSingleStep(1000); // arrow keys: a second
    tbMoment->setPageStep(10000);  // Page Up and Down: ten
    lblMoment = NewLabel(this, "lblMoment");
    lblMoment->setTextFormat(Qt::PlainText);
    moment->addWidget(tbMoment, 1);
    moment->addWidget(lblMoment);
    layout->addLayout(moment);
    lblPreviewStatus = NewLabel(this, "lblPreviewStatus");
    lblPreviewStatus->setTextFormat(Qt::PlainText);
    lblPreviewStatus->setWordWrap(true);
    layout->addWidget(lblPreviewStatus);
    connect(tbMoment, &QSlider::valueChanged, this, [this](int ms) {
        lblMoment->setText(MsToTimeStr(ms, true));
        Schedule();
    });
    connect(imgSource, &TPreviewPicture::CropDragged, this, &TFormPreview::CropDragged);
    resize(900, 420);
    SetLang(strings);
    tbMoment->setFocus();
}

TFormPreview::~TFormPreview() {
    ++Round; // every render still running stops
    Pool->waitForDone();
}

void TFormPreview::ShowFile(const QString& path, double seconds, bool hasVideo) {
    if (path == Path && HasVideo == hasVideo)
        return;
    Path = path;
    HasVideo = hasVideo;
    const QSignalBlocker quiet(tbMoment);
    tbMoment->setRange(0, std::max(0, int(seconds * 1000) - 1));
    tbMoment->setValue(std::min(tbMoment->value(), tbMoment->maximum()));
    lblMoment->setText(MsToTimeStr(tbMoment->value(), true));
    Schedule();
}

void TFormPreview::SetChain(const QStringList& chain) {
    if (chain == Chain)
        return;
    Chain = chain;
    Schedule();
}

void TFormPreview::SetCrop(const TCropEdges& crop, bool editable) {
    imgSource->SetCrop(crop, editable);
}

double TFormPreview::Moment() const {
    return tbMoment->value() / 1000.0;
}

QString TFormPreview::StatusText() const {
    return lblPreviewStatus->text();
}

const QImage& TFormPreview::SourceImage() const {
    return imgSource->Image();
}

const QImage& TFormPreview::ResultImage() const {
    return imgResult->Image();
}

void TFormPreview::Schedule() {
    Pause->start();
}

// A new round: renders of older ones stop; the source frame of a moment is kept, so a change of
// the settings alone renders the result only.
void TFormPreview::Render() {
    const quint64 round = ++Round;
    if (Path.isEmpty())
        return;
    if (!HasVideo) {
        TPreviewFrame none;
        none.Failure = TPreviewFrame::TFailure::NoFrame;
        none.Error = Strings->Main.PreviewNoVideo;
        ShowStatus(none);
        return;
    }
    const double moment = Moment();
    const QString key = Path + u'|' + QString::number(tbMoment->value());
    const auto start = [this, round, moment, key](bool source, const QStringList& chain) {
        ++Started;
        Pool->start([this, round, moment, key, source, chain, path = Path, ffmpeg = FFmpeg] {
            TPreviewFrame frame = RenderPreviewFrame(ffmpeg, path, moment, chain,
                                                     [this, round] { return Round != round; });
            Calls->Post([this, round, key, source, frame = std::move(frame)] {
                Show(round, source ? key : QString(), frame);
                Q_EMIT Rendered();
            });
        });
    };
    if (const auto kept = SourceFrames.constFind(key); kept != SourceFrames.cend())
        Show(round, key, kept.value());
    else
        start(true, {});
    start(false, Chain);
}

// `sourceKey`: the file and moment of a source frame; empty for the result.
void TFormPreview::Show(quint64 round, const QString& sourceKey, const TPreviewFrame& frame) {
    const bool source = !sourceKey.isEmpty();
    if (frame.Failure == TPreviewFrame::TFailure::Stopped) {
        ++Stopped;
        return;
    }
    if (round != Round)
        return; // a newer round is on its way
    if (source && frame.Failure == TPreviewFrame::TFailure::None)
        SourceFrames.insert(sourceKey, frame);
    ShowStatus(frame);
    if (frame.Failure == TPreviewFrame::TFailure::None) {
        const QImage image = QImage::fromData(frame.Png, "PNG");
        (source ? imgSource : imgResult)->SetFrame(image, frame.DisplaySize());
        (source ? lblSourceSize : lblResultSize)
            ->setText(
                (source ? Strings->Main.PreviewSource : Strings->Main.PreviewResult) + u": "_s +
                FormatCatalogText(Strings->Main.PreviewSize, QString::number(frame.Size.width()),
                                  QString::number(frame.Size.height())));
    }
}

void TFormPreview::ShowStatus(const TPreviewFrame& frame) {
    switch (frame.Failure) {
    case TPreviewFrame::TFailure::NoEncoder:
        lblPreviewStatus->setText(FFmpegNotFoundText(*Strings));
        break;
    case TPreviewFrame::TFailure::NoFrame:
        lblPreviewStatus->setText(frame.Error);
        break;
    default:
        lblPreviewStatus->clear();
    }
}

void TFormPreview::SetLang(const TAppStrings& strings) {
    Strings = &strings;
    setWindowTitle(strings.Main.actPreview);
    imgSource->setToolTip(strings.Main.PreviewSource);
    imgResult->setToolTip(strings.Main.PreviewResult);
    imgSource->setAccessibleName(strings.Main.PreviewSource);
    imgResult->setAccessibleName(strings.Main.PreviewResult);
    tbMoment->setAccessibleName(strings.Main.PreviewMoment);
}
