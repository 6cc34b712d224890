#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "ProductText.h"
#include "ProgramSandbox.h"
#include "RemovalScenario.h"
#include "resource.h"

// Pick one printer, press "Desinstalar", accept the completion message: the
// printer and its driver go, the other printer of the package and the
// foreign one stay.
TEST(RemovalSmoke, OnePrinterOfTwoOnWindowsXp)
{
    ProgramSandbox run(kTwoOfThePackage, kTwoOfThePackageScript);
    ASSERT_TRUE(run.Start("", "winxp"));
    HWND main = run.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    HWND list = run.SelectionList(main);
    ASSERT_NE(nullptr, list);
    const auto rows = run.Driver().ListViewRows(list, 6);
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ("Corvel Oficina", rows[0][0]);
    EXPECT_FALSE(UiDriver::IsEnabled(main, 1080));

    ASSERT_TRUE(run.Driver().SetListViewSelection(list, 1, true));
    ASSERT_TRUE(WaitUntil([&] { return UiDriver::IsEnabled(main, 1080); }, 5000));
    UiDriver::Click(main, 1080);

    unsigned long exitCode = 0;
    const auto boxes = run.AnswerUntilExit(IDOK, 60000, &exitCode);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(ProductText(IDS_FINISHED), boxes[0].text);
    EXPECT_EQ(ProductText(IDS_CAPTION), boxes[0].caption);
    EXPECT_EQ(1u, exitCode);

    EXPECT_EQ((std::vector<std::string>{"Corvel Oficina", "Ajena"}), PrinterNames(run.Spooler().Read()));
}
