#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "core/AppParams.h"
#include "core/IniFile.h"
#include "filelist/AnalysisCache.h"
#include "filelist/FileList.h"
#include "windows/FormMain.h"
#include "windows/Widgets.h"
#include "windows/dialogs/FormCmdLine.h"
#include "windows/dialogs/FormFileInfo.h"
#include "windows/panels/FileListModel.h"
#include "windows/panels/FileListPanel.h"
#include "windows/panels/FooterBar.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

class FileListWindowTest : public TMainWindowTest {
protected:
    TFileListPanel* List() const { return Form->FileList(); }
    const std::vector<TFileListRow>& Rows() const { return List()->Model()->Rows(); }
    QStringList Names() const {
        QStringList names;
        for (const TFileListRow& row : Rows())
            names.append(row.FileName());
        return names;
    }
};

} // namespace

TEST_F(FileListWindowTest, ADozenFilesAreAddedAnalysedAndTotalled) {
    const char* media[] = {"clip.flv",  "clip15.flv",    "clip640.flv", "clip.mp4",
                           "clip.mkv",  "interlaced.ts", "odd.avi",     "audio.mp3",
                           "audio.wav", "videoonly.mp4"};
    QStringList files;
    for (const char* m : media)
        files.append(CopyMedia(QString::fromLatin1(m), u"videos/"_s + QString::fromLatin1(m)));
    files.append(CopyMedia(u"clip.flv"_s, u"videos/<img src=x>.flv"_s));
    WriteFile(Dir.Path(u"videos/notes.txt"_s), "not media");
    WriteFile(Dir.Path(u"videos/empty.mp4"_s), {});
    Form->AddDropped({Dir.Path(u"videos"_s)});
    WaitIdle();
    ASSERT_EQ(Rows().size(), 12u);
    for (const TFileListRow& row : Rows()) {
        EXPECT_EQ(row.Analysis, TRowAnalysis::Done) << row.Path.toStdString();
        EXPECT_EQ(row.Status, u"Ready");
    }
    const auto row = [&](const QString& name) {
        for (const TFileListRow& r : Rows())
            if (r.FileName() == name)
                return r;
        ADD_FAILURE() << name.toStdString();
        return TFileListRow{};
    };
    EXPECT_EQ(row(u"clip.flv"_s).VideoResolution, u"320 x 240");
    EXPECT_FALSE(row(u"clip.flv"_s).Audio.isEmpty());
    EXPECT_GT(row(u"videoonly.mp4"_s).DurationMs, 0); // the full analysis gives video its time
    EXPECT_TRUE(row(u"empty.mp4"_s).Video.isEmpty()); // "Ready" with empty cells
    const TGridInfo g = Form->GridInfo();
    EXPECT_EQ(g.RowCount, 12);
    EXPECT_EQ(g.CheckedCount, 12);
    EXPECT_TRUE(Form->Action(u"actConvert"_s)->isEnabled());
    EXPECT_FALSE(Form->Action(u"actCheckAll"_s)->isEnabled());
    EXPECT_TRUE(Form->Action(u"actUncheckAll"_s)->isEnabled());
    const auto footer = List()->findChild<TFooterBar*>()->Texts();
    EXPECT_EQ(footer[0], u"12");
    EXPECT_FALSE(footer[5].isEmpty());
    EXPECT_FALSE(footer[6].isEmpty());
    EXPECT_EQ(Form->AnalysisCache().Size(), 12);

    // Sorting by size is numeric.
    QTableView* view = List()->View();
    view->sortByColumn(5, Qt::AscendingOrder);
    qint64 previous = -1;
    for (int r = 0; r < view->model()->rowCount(); ++r) {
        const qint64 size = view->model()->index(r, 5).data(TFileListModel::SortRole).toLongLong();
        EXPECT_GE(size, previous);
        previous = size;
    }

    // Unchecking a row changes the counts and the actions.
    List()->Model()->SetChecked({0}, false);
    EXPECT_TRUE(Form->Action(u"actCheckAll"_s)->isEnabled());
    EXPECT_EQ(List()->findChild<TFooterBar*>()->Texts()[1], u"11");

    // The properties of a file whose name looks like markup show that name as text.
    int rowOfTag = -1;
    for (int r = 0; r < view->model()->rowCount(); ++r)
        if (view->model()->index(r, 3).data().toString() == u"<img src=x>.flv")
            rowOfTag = r;
    ASSERT_GE(rowOfTag, 0);
    view->selectRow(rowOfTag);
    Form->Action(u"actShowHideFileInfo"_s)->trigger();
    auto* info = Form->findChild<TFormFileInfo*>();
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->isVisible());
    auto* name = info->findChild<QLabel*>(u"lblFileName"_s);
    EXPECT_TRUE(name->text().contains(u"&lt;img src=x&gt;.flv"_s)) << name->text().toStdString();
    EXPECT_FALSE(info->findChild<QLabel*>(u"lblVideoCodec"_s)->text().isEmpty());
    EXPECT_TRUE(info->ReportText().contains(u"<img src=x>.flv"_s));
    EXPECT_TRUE(Warnings.isEmpty());

    if (const QString shots = qEnvironmentVariable("ZORVANE_SCREENSHOT_DIR"); !shots.isEmpty()) {
        Form->resize(1270, 860);
        QTest::qWait(200);
        Form->grab().save(shots + u"/file-list.png"_s);
        info->grab().save(shots + u"/file-properties.png"_s);
    }
}

TEST_F(FileListWindowTest, TwoTrackFileOffersThreeAudioItemsAndItsStreams) {
    const QString mkv = CopyMedia(u"clip.mkv"_s, u"two tracks.mkv"_s);
    List()->AddFiles({mkv});
    WaitIdle();
    List()->View()->selectRow(0);
    auto* tracks = Form->findChild<QComboBox*>(u"cbAudioTrackNo"_s);
    for (int i = 0; i < 100 && tracks->count() != 3; ++i)
        QTest::qWait(50);
    ASSERT_EQ(tracks->count(), 3);
    EXPECT_TRUE(tracks->itemText(1).startsWith(u"1: "_s));

    Form->Action(u"actShowHideFileInfo"_s)->trigger();
    auto* info = Form->findChild<TFormFileInfo*>();
    auto* audio = info->findChild<QComboBox*>(u"cbAudioStreamNo"_s);
    ASSERT_EQ(audio->count(), 2);
    EXPECT_TRUE(audio->isEnabled());
    EXPECT_FALSE(info->findChild<QComboBox*>(u"cbVideoStreamNo"_s)->isEnabled());
    const QString first = info->findChild<QLabel*>(u"lblSamplingRate"_s)->text();
    audio->setCurrentIndex(1);
    EXPECT_NE(info->findChild<QLabel*>(u"lblSamplingRate"_s)->text(), first);
    EXPECT_GE(info->findChild<QTableWidget*>(u"ng"_s)->rowCount(), 4);
    Form->Action(u"actShowHideFileInfo"_s)->trigger();
    EXPECT_FALSE(info->isVisible());
}

TEST_F(FileListWindowTest, EachFileOnceWhateverLeadsToIt) {
    const QString root = Dir.Path(u"tree"_s);
    const QString a = CopyMedia(u"clip.flv"_s, u"tree/Clip.flv"_s);
    CopyMedia(u"clip15.flv"_s, u"tree/clip.flv"_s); // differs only in letter case: another file
    CopyMedia(u"audio.mp3"_s, u"tree/sub/song.mp3"_s);
    ASSERT_TRUE(QFile::link(root, root + u"/sub/loop"_s));
    ASSERT_TRUE(QFile::link(a, root + u"/sub/again.flv"_s)); // the same file under two names
    ASSERT_EQ(::mkfifo(QFile::encodeName(root + u"/pipe.flv"_s).constData(), 0600), 0);
    List()->AddFolder(root);
    WaitIdle();
    QStringList names = Names();
    names.sort();
    EXPECT_EQ(names, (QStringList{u"Clip.flv"_s, u"clip.flv"_s, u"song.mp3"_s}));
    List()->AddFiles({a, root + u"/sub/again.flv"_s, root + u"/./Clip.flv"_s});
    EXPECT_EQ(Rows().size(), 3u);

    // Without folders on drop, a dropped folder adds nothing.
    List()->Clear();
    AppParams.DragAcceptDirectories = false;
    Form->AddDropped({root});
    WaitIdle();
    EXPECT_TRUE(Rows().empty());
    AppParams.DragAcceptDirectories = true;
}

// A long add is looked at off the window's thread; what is added after it, however short,
// waits for its turn.
TEST_F(FileListWindowTest, LongAddsKeepTheirTurn) {
    AppParams.FileAnalysis = TFileAnalysis::faNone;
    const QString first = CopyMedia(u"clip.flv"_s, u"folder/a.flv"_s);
    CopyMedia(u"audio.mp3"_s, u"folder/b.mp3"_s);
    QStringList many;
    for (int i = 0; i < 250; ++i) {
        many.append(Dir.Path(u"many/f%1.flv"_s.arg(249 - i, 3, 10, QChar(u'0'))));
        WriteFile(many.last(), "x");
    }
    many.insert(100, first); // already on the list by then
    const QString last = CopyMedia(u"clip.mp4"_s, u"last.mp4"_s);
    List()->AddFolder(Dir.Path(u"folder"_s));
    List()->AddFiles(many);
    List()->AddFiles({last});
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(List()->Busy());
    WaitIdle();
    const QStringList names = Names();
    ASSERT_EQ(names.size(), 253);
    EXPECT_EQ(names.mid(0, 3), (QStringList{u"a.flv"_s, u"b.mp3"_s, u"f249.flv"_s}));
    EXPECT_EQ(names.at(251), u"f000.flv"_s);
    EXPECT_EQ(names.last(), u"last.mp4"_s);
    EXPECT_EQ(Rows().back().Number, 253);
}

// The keyboard does what the mouse does: Alt+Down and Alt+Up move the current row, Enter opens
// its file as a click on its icon does.
TEST_F(FileListWindowTest, TheKeyboardMovesRowsAndOpensFiles) {
    AppParams.FileAnalysis = TFileAnalysis::faNone;
    List()->AddFiles(
        {CopyMedia(u"clip.flv"_s, u"k/a.flv"_s), CopyMedia(u"audio.mp3"_s, u"k/b.mp3"_s)});
    QTableView* view = List()->View();
    view->setCurrentIndex(view->model()->index(0, 3));
    QTest::keyClick(view, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(List()->DisplayOrder(), (QList<int>{1, 0}));
    QTest::keyClick(view, Qt::Key_Down, Qt::AltModifier); // already last
    EXPECT_EQ(List()->DisplayOrder(), (QList<int>{1, 0}));
    QTest::keyClick(view, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(List()->DisplayOrder(), (QList<int>{0, 1}));
    QSignalSpy opened(List(), &TFileListPanel::IconClicked);
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first().first().toInt(), 0);
}

TEST_F(FileListWindowTest, RowsRemovedDuringAnalysisTakeNoResults) {
    QStringList files;
    for (int i = 0; i < 40; ++i)
        files.append(CopyMedia(u"clip.mp4"_s, u"many/clip%1.mp4"_s.arg(i)));
    List()->AddFiles(files);
    ASSERT_EQ(Rows().size(), 40u);
    List()->CheckAll(false);
    List()->Model()->SetChecked({3, 5}, true);
    List()->RemoveChecked();
    EXPECT_EQ(Rows().size(), 38u);
    EXPECT_EQ(Rows().at(3).Number, 4);
    List()->Clear();
    WaitIdle();
    EXPECT_TRUE(Rows().empty());
    List()->AddFiles(files.mid(0, 2));
    WaitIdle();
    EXPECT_EQ(Rows().size(), 2u);
    EXPECT_EQ(Rows().at(0).Analysis, TRowAnalysis::Done);
}

TEST_F(FileListWindowTest, ListFilesAndColumnSettingsSurvive) {
    const QString a = CopyMedia(u"clip.flv"_s, u"l/a.flv"_s);
    const QString b = CopyMedia(u"audio.mp3"_s, u"l/b.mp3"_s);
    List()->AddFiles({a, b});
    const QString list = Dir.Path(u"saved.lst"_s);
    int leftOut = -1;
    ASSERT_TRUE(List()->SaveListFile(list, &leftOut, nullptr));
    EXPECT_EQ(leftOut, 0);
    List()->Clear();
    WriteFile(Dir.Path(u"garbage.lst"_s), RandomBytes(100000, 2));
    Form->AddDropped({list, Dir.Path(u"garbage.lst"_s)});
    WaitIdle();
    EXPECT_EQ(Names(), (QStringList{u"a.flv"_s, u"b.mp3"_s}));

    // A row dragged to another place is saved in its new place.
    QHeaderView* indicator = List()->View()->verticalHeader();
    EXPECT_TRUE(indicator->sectionsMovable());
    indicator->moveSection(1, 0);
    ASSERT_TRUE(List()->SaveListFile(list, &leftOut, nullptr));
    EXPECT_EQ(ReadFileListFile(list), (QStringList{b, a}));

    // A column hidden after a resize keeps its width in the settings file.
    QTableView* view = List()->View();
    EXPECT_EQ(view->columnWidth(2), 24); // the icon column, narrower than the header's minimum
    Form->Action(u"actColVideoCodecVisible"_s)->trigger(); // shown
    EXPECT_FALSE(view->isColumnHidden(8));
    view->setColumnWidth(8, 123);
    Form->Action(u"actColVideoCodecVisible"_s)->trigger(); // hidden again
    EXPECT_TRUE(view->isColumnHidden(8));
    view->horizontalHeader()->moveSection(view->horizontalHeader()->visualIndex(28), 0);
    Form->close();
    const TIniFile ini(Dir.Path(u"app/zorvane.ini"_s));
    EXPECT_EQ(ini.ReadInteger(u"MAIN"_s, u"colVideoCodec_Width"_s, 0), 123);
    EXPECT_EQ(ini.ReadString(u"MAIN"_s, u"colVideoCodec_Visible"_s, {}), u"0");
    EXPECT_EQ(ini.ReadInteger(u"MAIN"_s, u"colStatus_Position"_s, -1), 0);
    Form.reset();
    Form = std::make_unique<TFormMain>(TFormMainOptions{Dir.Path(u"app"_s), {}, NoDesktopBuses()});
    EXPECT_EQ(Form->FileList()->View()->horizontalHeader()->visualIndex(28), 0);
    EXPECT_TRUE(Form->FileList()->View()->isColumnHidden(8));

    // A column the file names no position for stays where it is: only the video codec moves
    // to the end, and the status column, last before, is now last but one.
    Form.reset();
    WriteFile(Dir.Path(u"app/zorvane.ini"_s), "[MAIN]\r\ncolVideoCodec_Position=99\r\n");
    Form = std::make_unique<TFormMain>(TFormMainOptions{Dir.Path(u"app"_s), {}, NoDesktopBuses()});
    const QHeaderView* header = Form->FileList()->View()->horizontalHeader();
    EXPECT_EQ(header->visualIndex(8), 28);
    EXPECT_EQ(header->visualIndex(28), 27);
    EXPECT_EQ(header->visualIndex(27), 26);
    EXPECT_EQ(header->visualIndex(9), 8);
}

TEST_F(FileListWindowTest, BadFilesBecomeReadyRowsWithEmptyCells) {
    const QString gone = CopyMedia(u"clip.flv"_s, u"bad/gone.flv"_s);
    QByteArray mkv = ReadFile(MediaFile(u"clip.mkv"_s));
    mkv.truncate(mkv.size() / 3);
    WriteFile(Dir.Path(u"bad/truncated.mkv"_s), mkv);
    WriteFile(Dir.Path(u"bad/zero.mp4"_s), {});
    List()->AddFiles({gone, Dir.Path(u"bad/truncated.mkv"_s), Dir.Path(u"bad/zero.mp4"_s)});
    QFile::remove(gone); // between adding and analysis
    WaitIdle();
    ASSERT_EQ(Rows().size(), 3u);
    for (const TFileListRow& row : Rows()) {
        EXPECT_EQ(row.Analysis, TRowAnalysis::Done) << row.Path.toStdString();
        EXPECT_EQ(row.Status, u"Ready");
    }
    EXPECT_TRUE(Rows().at(0).Video.isEmpty());

    // 100,000 lines of missing paths add nothing and the list stays usable.
    QByteArray lines;
    for (int i = 0; i < 100000; ++i)
        lines += "/no/such/folder/clip" + QByteArray::number(i) + ".flv\r\n";
    WriteFile(Dir.Path(u"missing.lst"_s), lines);
    QString error;
    EXPECT_TRUE(List()->LoadListFile(Dir.Path(u"missing.lst"_s), &error));
    EXPECT_EQ(Rows().size(), 3u);
    EXPECT_FALSE(List()->LoadListFile(Dir.Path(u"none.lst"_s), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(FileListWindowTest, CommandPreviewFollowsTheSelectedRow) {
    Form->Action(u"actShowCmdLine"_s)->trigger();
    auto* preview = Form->findChild<TFormCmdLine*>();
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_TRUE(preview->Text().startsWith(u"-y -i <input_file> -c:v libxvid"_s))
        << preview->Text().toStdString();
    const QString a = CopyMedia(u"clip.flv"_s, u"p/first clip.flv"_s);
    const QString b = CopyMedia(u"audio.mp3"_s, u"p/second.mp3"_s);
    List()->AddFiles({a, b});
    WaitIdle();
    List()->View()->selectRow(0);
    EXPECT_TRUE(preview->Text().contains(u"-i \""_s + a + u'"')) << preview->Text().toStdString();
    List()->View()->selectRow(1);
    EXPECT_TRUE(preview->Text().contains(b));
    EXPECT_TRUE(preview->Text().endsWith(u"<output_file>"_s));
    if (const QString shots = qEnvironmentVariable("ZORVANE_SCREENSHOT_DIR"); !shots.isEmpty())
        preview->grab().save(shots + u"/command-preview.png"_s);
    Form->Action(u"actShowCmdLine"_s)->trigger();
    EXPECT_FALSE(preview->isVisible());
}

TEST_F(FileListWindowTest, AFileThatCrashesMediaInfoCostsOnlyItsOwnReport) {
    // MediaInfo reads in a helper process: the library crashing on one file leaves the window,
    // its list and the other files' analyses as they were.
    const QString good = CopyMedia(u"clip.flv"_s, u"good.flv"_s);
    const QString crash = CopyMedia(u"clip.flv"_s, u"crash.flv"_s);
    AppParams.MediaInfoDll = QStringLiteral(ZORVANE_MISBEHAVING_MEDIAINFO);
    List()->AddFiles({good, crash});
    WaitIdle();
    ASSERT_EQ(Names(), QStringList({u"good.flv"_s, u"crash.flv"_s}));
    for (const TFileListRow& row : Rows()) {
        EXPECT_EQ(row.Analysis, TRowAnalysis::Done);
        EXPECT_EQ(row.VideoResolution, u"320 x 240"); // the encoder's description still counts
    }
    const std::optional<TVideoFileInfo> info = Form->AnalysisCache().Find(crash);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->MediaInfoFailure, TMediaInfoFailure::Crashed);
    EXPECT_EQ(info->MediaInfoFailureValue, 11);
    EXPECT_EQ(Form->AnalysisCache().Find(good)->MediaInfoFailure, TMediaInfoFailure::None);
}
