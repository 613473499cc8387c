#include "WindowTestSupport.h"
#include "windows/dialogs/FormPreview.h"
#include "windows/panels/FileListModel.h"

#include <QAction>
#include <QSpinBox>
#include <QTableView>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(PreviewCrop, DraggedEdgesStayEvenAndApart) {
    const QSize picture(320, 240);
    TCropEdges crop;
    crop = DragCropEdge(crop, 0, {100, 23}, picture); // top, to y = 23
    EXPECT_EQ(crop, (TCropEdges{22, 0, 0, 0}));
    crop = DragCropEdge(crop, 3, {301, 100}, picture); // right edge to x = 301
    EXPECT_EQ(crop.Right, 18);
    crop = DragCropEdge(crop, 1, {5, 10}, picture); // bottom dragged above the top: stops
    EXPECT_EQ(crop.Bottom, 240 - 22 - 2);
    crop = DragCropEdge(crop, 2, {-40, 5}, picture); // outside the picture
    EXPECT_EQ(crop.Left, 0);
    EXPECT_EQ(CropEdgeNear(TCropEdges{22, 0, 0, 18}, {150, 25}, picture, 4), 0);
    EXPECT_EQ(CropEdgeNear(TCropEdges{22, 0, 0, 18}, {300, 120}, picture, 4), 3);
    EXPECT_EQ(CropEdgeNear(TCropEdges{22, 0, 0, 18}, {150, 120}, picture, 4), -1);
}

namespace {

class PreviewWindowTest : public TMainWindowTest {
protected:
    TFormPreview* Preview() const { return Form->findChild<TFormPreview*>(); }
    // Lets the window run until every render asked for has ended.
    void WaitRendered(int renders) {
        for (int i = 0; i < 200 && (!Preview() || Preview()->RendersStarted() < renders || Busy());
             ++i)
            QTest::qWait(25);
        QTest::qWait(50);
    }
    bool Busy() const {
        return Preview()->RendersStarted() > Rendered; // counted through the signal
    }
    int Rendered = 0;
};

} // namespace

// F6 shows the selected file twice; a change of the settings renders the result only, once,
// after a short pause; dragging a crop edge sets the crop boxes.
TEST_F(PreviewWindowTest, FollowsTheSettingsAndSetsTheCrop) {
    const QString clip = CopyMedia(u"clip.flv"_s, u"clip.flv"_s);
    Form->FileList()->AddFiles({clip});
    WaitIdle();
    Form->FileList()->View()->selectRow(0);
    Form->Action(u"actPreview"_s)->trigger();
    ASSERT_TRUE(Preview());
    QObject::connect(Preview(), &TFormPreview::Rendered, Preview(), [this] { ++Rendered; });
    WaitRendered(2);
    EXPECT_EQ(Preview()->RendersStarted(), 2); // the source and the result
    EXPECT_EQ(Preview()->SourceImage().size(), QSize(320, 240));
    EXPECT_EQ(Preview()->ResultImage().size(), QSize(320, 240));
    EXPECT_TRUE(Preview()->StatusText().isEmpty()) << Preview()->StatusText().toStdString();

    auto* top = Form->findChild<QSpinBox*>(u"edCropTop"_s);
    top->setValue(16);
    top->setValue(32); // within the pause: one render for both
    WaitRendered(3);
    EXPECT_EQ(Preview()->RendersStarted(), 3);
    EXPECT_EQ(Preview()->ResultImage().size(), QSize(320, 208));
    EXPECT_EQ(Preview()->SourceImage().size(), QSize(320, 240)); // kept, not made again

    // Dragging the top edge down on the source picture.
    auto* picture = Preview()->findChild<QWidget*>(u"imgSource"_s);
    Preview()->resize(900, 420);
    QTest::qWait(50);
    const QRect area = picture->rect();
    // The picture fits the widget's height or width; its top edge at 32 of 240 lines.
    const QSize shown = QSize(320, 240).scaled(area.size(), Qt::KeepAspectRatio);
    const QPoint origin((area.width() - shown.width()) / 2, (area.height() - shown.height()) / 2);
    const auto at = [&](double x, double y) {
        return origin + QPoint(int(x * shown.width() / 320), int(y * shown.height() / 240));
    };
    QTest::mousePress(picture, Qt::LeftButton, {}, at(160, 32));
    QTest::mouseMove(picture, at(160, 64));
    QTest::mouseRelease(picture, Qt::LeftButton, {}, at(160, 64));
    EXPECT_NEAR(top->value(), 64, 2);
    EXPECT_EQ(top->value() % 2, 0);
}

TEST_F(PreviewWindowTest, AFileWithoutVideoIsSaidSo) {
    const QString sound = CopyMedia(u"audio.mp3"_s, u"sound.mp3"_s);
    Form->FileList()->AddFiles({sound});
    WaitIdle();
    Form->FileList()->View()->selectRow(0);
    Form->Action(u"actPreview"_s)->trigger();
    for (int i = 0; i < 40 && Preview()->StatusText().isEmpty(); ++i)
        QTest::qWait(25);
    EXPECT_EQ(Preview()->StatusText(), u"The file has no video stream.");
    EXPECT_EQ(Preview()->RendersStarted(), 0);
}
