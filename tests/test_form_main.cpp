#include "core/AppParams.h"
#include "windows/FormMain.h"

#include <gtest/gtest.h>

TEST(FormMain, OpensWithTitleAndSizes) {
    TFormMain form;
    form.show();
    EXPECT_EQ(form.windowTitle(), ProductTitle());
    EXPECT_EQ(form.size(), QSize(934, 712));
    EXPECT_EQ(form.minimumSize(), QSize(650, 400));
    EXPECT_EQ(form.Strings().LanguageName, QStringLiteral("English"));
    // The paths follow the executable's folder.
    EXPECT_EQ(AppParams.IniName, AppDir + QStringLiteral("/zorvane.ini"));
}
