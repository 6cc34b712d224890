#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "TempDir.h"
#include "TestPaths.h"
#include "UiDriver.h"

TEST(UiDriver, ReadsSelectsClicksAnswersAndShoots)
{
    UiDriver driver;
    ASSERT_TRUE(driver.Start(BesideTests("uifixture.exe"), ""));
    HWND window = driver.WaitForWindow("TrelunUiFixture", "Ventana de prueba", 10000);
    ASSERT_NE(nullptr, window);
    HWND list = GetDlgItem(window, 100);
    ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 3; }, 5000));

    const auto rows = driver.ListViewRows(list, 2);
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ("Corvel 5520", rows[1][0]);
    EXPECT_EQ("VANTO Corvel PS", rows[1][1]);
    EXPECT_EQ("Impresora ajena", rows[2][0]);

    EXPECT_TRUE(driver.SetListViewSelection(list, 0, true));
    EXPECT_TRUE(driver.SetListViewSelection(list, 2, true));

    TempDir dir;
    EXPECT_TRUE(UiDriver::Screenshot(window, dir.Join("fixture.bmp")));
    EXPECT_GT(ReadWholeFile(dir.Join("fixture.bmp")).size(), 1000u);

    UiDriver::Click(window, 101);
    FoundMessageBox box;
    ASSERT_TRUE(driver.WaitForMessageBox(box, 10000));
    EXPECT_EQ("\xBFSeguro?", box.text);
    EXPECT_EQ("Prueba", box.caption);
    UiDriver::Answer(box.window, IDNO);
    EXPECT_EQ(27u, driver.WaitForExit(10000));
}
