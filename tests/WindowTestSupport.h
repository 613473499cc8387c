#pragma once

#include "TestSupport.h"
#include "windows/FormMain.h"
#include "windows/Widgets.h"
#include "windows/panels/FileListPanel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// Buses where none answer: a test's window never reaches the user's desktop session.
inline TBusAddresses NoDesktopBuses() {
    return {QStringLiteral("unix:path=/nonexistent/zorvane-test-bus"),
            QStringLiteral("unix:path=/nonexistent/zorvane-test-bus")};
}

// A shown main window of its own for every test, in a program folder of the test's own; the
// warnings it would show are collected instead.
class TMainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetWarningHandler([this](const QString& text) { Warnings.append(text); });
        QDir().mkpath(Dir.Path(QStringLiteral("app")));
        Form = std::make_unique<TFormMain>(
            TFormMainOptions{Dir.Path(QStringLiteral("app")), {}, NoDesktopBuses()});
        Form->show();
    }
    void TearDown() override {
        Form.reset();
        SetWarningHandler({});
    }
    // A copy of a generated media file under a name of the test's own.
    QString CopyMedia(const QString& media, const QString& name) {
        const QString path = Dir.Path(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(QFile::copy(MediaFile(media), path)) << name.toStdString();
        return path;
    }
    // Waits until the list collects and analyses nothing any more.
    void WaitIdle() {
        for (int i = 0; i < 600 && Form->FileList()->Busy(); ++i)
            QTest::qWait(50);
        ASSERT_FALSE(Form->FileList()->Busy());
    }

    // Starts a batch as the window's actions do and lets the window run until it is over.
    TBatchResult RunBatch(const QString& scriptFileName = {}) {
        QSignalSpy finished(Form.get(), &TFormMain::BatchFinished);
        if (!Form->StartBatch(scriptFileName)) {
            ADD_FAILURE() << "no batch started";
            return {};
        }
        if (finished.isEmpty() && !finished.wait(120000)) {
            ADD_FAILURE() << "the batch did not end";
            return {};
        }
        return finished.first().first().value<TBatchResult>();
    }

    TScratchDir Dir;
    QStringList Warnings;
    std::unique_ptr<TFormMain> Form;
};
