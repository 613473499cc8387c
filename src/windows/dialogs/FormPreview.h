#pragma once

#include "encoding/Preview.h"

#include <QDialog>
#include <QHash>
#include <QImage>
#include <QStringList>
#include <atomic>

class QLabel;
class QSlider;
class QThreadPool;
class QTimer;
class TCallRelay;
struct TAppStrings;

// Crop edges in the source's pixels.
struct TCropEdges {
    int Top = 0, Bottom = 0, Left = 0, Right = 0;
    bool operator==(const TCropEdges&) const = default;
};

// Where the edge nearest `at` (in the picture's own pixels) goes when dragged there: even
// values, never past the opposite edge. `edge`: 0 top, 1 bottom, 2 left, 3 right.
TCropEdges DragCropEdge(TCropEdges crop, int edge, QPoint at, QSize picture);
// The edge within `reach` picture pixels of `at`, -1 for none.
int CropEdgeNear(const TCropEdges& crop, QPoint at, QSize picture, int reach);

// A frame scaled to fit with its true display aspect; over the source, the crop edges, which
// the mouse can drag.
class TPreviewPicture : public QWidget {
    Q_OBJECT

public:
    explicit TPreviewPicture(QWidget* parent);
    void SetFrame(const QImage& image, QSize displaySize);
    void SetCrop(const TCropEdges& crop, bool shown);
    const QImage& Image() const { return Frame; }

Q_SIGNALS:
    void CropDragged(const TCropEdges& crop);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect Target() const;              // where the frame is drawn
    QPoint ToPicture(QPoint at) const; // a widget point in the frame's pixels
    QImage Frame;
    QSize Display;
    TCropEdges Crop;
    bool CropShown = false;
    int Dragging = -1;
};

// One frame of the selected file, side by side as it is and as the current settings make it.
// Renders run off the window's thread a moment after the last change; a newer one stops the
// older, and the pictures stay until the new ones are there.
class TFormPreview : public QDialog {
    Q_OBJECT

public:
    TFormPreview(const TAppStrings& strings, QWidget* owner);
    ~TFormPreview() override; // stops the renders and waits for them

    // The encoder that renders.
    QString FFmpeg;
    // The file (none: empty), its duration and whether it has a video stream.
    void ShowFile(const QString& path, double seconds, bool hasVideo);
    // The picture chain of the current settings for that file.
    void SetChain(const QStringList& chain);
    void SetCrop(const TCropEdges& crop, bool editable);
    void SetLang(const TAppStrings& strings);

    // For the tests.
    double Moment() const;
    int RendersStarted() const { return Started; }
    int RendersStopped() const { return Stopped; }
    QString StatusText() const;
    const QImage& SourceImage() const;
    const QImage& ResultImage() const;

Q_SIGNALS:
    // The user dragged a crop edge.
    void CropDragged(const TCropEdges& crop);
    // A render ended (shown, stopped or too late).
    void Rendered();

private:
    void Schedule();
    void Render();
    void Show(quint64 round, const QString& sourceKey, const TPreviewFrame& frame);
    void ShowStatus(const TPreviewFrame& frame);

    const TAppStrings* Strings;
    TPreviewPicture* imgSource;
    TPreviewPicture* imgResult;
    QLabel* lblSourceSize;
    QLabel* lblResultSize;
    QLabel* lblMoment;
    QLabel* lblPreviewStatus;
    QSlider* tbMoment;
    QTimer* Pause;
    QThreadPool* Pool;
    TCallRelay* Calls;
    std::atomic<quint64> Round{0};
    QString Path;
    bool HasVideo = false;
    QStringList Chain;
    QHash<QString, TPreviewFrame> SourceFrames; // by file and moment
    int Started = 0;
    int Stopped = 0;
};
