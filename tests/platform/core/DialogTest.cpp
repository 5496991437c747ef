#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/ListCtrl.h"
#include "platform/ListSource.h"
#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "platform/headless/HeadlessWindowing.h"
#include "res/Resources.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <functional>
#include <stdexcept>

namespace {

using testing::HasSubstr;

// Debug builds stop at an assertion when a handler fails; the others log it and go on.
#ifdef NDEBUG
constexpr bool kFailingHandlersStop = false;
#else
constexpr bool kFailingHandlersStop = true;
#endif

// Two rows of one cell each, the second selected; what the list is told goes nowhere.
class CTwoRowSource : public IListSource {
public:
    int GetItemCount() const override { return 2; }
    int GetColumnCount() const override { return 1; }
    std::string_view GetCellTextView(int row, int) const override { return row == 0 ? "first" : "second"; }
    int GetSelectedRow() const override { return m_selected; }
    void SelectRow(int row) override { m_selected = row; }
    void SetObserver(IListObserver* observer) override { m_observer = observer; }
    IListObserver* m_observer = nullptr;

private:
    int m_selected = 1;
};

// A dialog on the main window's layout whose Import button runs onImport, and whose data exchange
// binds a list and the numbers of the parameter dialog's fields where the layout has them.
class CTestDlg : public CDialog {
public:
    explicit CTestDlg(int layoutId = IDD_QUORLIS_DIALOG) : CDialog(layoutId) {}
    std::function<void()> onImport;
    std::function<bool()> onInit;
    CTwoRowSource rows;
    CListCtrl list{rows};
    double velocity = 0.66, cableLoss = 0, frequency = 1e20;

protected:
    void OnImport() { onImport(); }
    bool OnInitDialog() override { return onInit ? onInit() : CDialog::OnInitDialog(); }
    void OnSysCommand(unsigned, long) override { throw std::runtime_error("sys"); }
    int OnQueryDragIcon() override { throw 1; }
    void DoDataExchange(CDataExchange* pDX) override {
        if (GetLayoutId() == IDD_QUORLIS_DIALOG) DDX_Control(pDX, IDC_CABLE_LIST, list);
        if (GetLayoutId() != IDD_CABLE_PARAMETER) return;
        DDX_Text(pDX, IDC_VELOCITY, velocity);
        DDX_Text(pDX, IDC_CABLE_LOSS, cableLoss);
        DDX_Text(pDX, IDC_FREQUENCY, frequency);
    }
    QUORLIS_DECLARE_MESSAGE_MAP()
};

QUORLIS_BEGIN_MESSAGE_MAP(CTestDlg)
ON_BN_CLICKED(IDC_IMPORT, &CTestDlg::OnImport)
QUORLIS_END_MESSAGE_MAP()

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { SetWindowing(&ui); }
    void TearDown() override {
        SetWindowing(nullptr);
        EXPECT_TRUE(ui.GetFailures().empty()) << ui.GetFailures().front();
        EXPECT_EQ(CDialog::GetActiveDialog(), nullptr);
    }
    CHeadlessWindowing ui;
};

TEST_F(DialogTest, CommandsGoThroughTheMessageMapAndFailingHandlersAreLoggedAndTheDialogGoesOn) {
    if (kFailingHandlersStop) GTEST_SKIP() << "debug builds stop at a failing handler";
    CTestDlg dlg;
    int imports = 0;
    dlg.onImport = [&] {
        if (++imports == 1) throw std::out_of_range("row 7 of 3");
        throw 42;
    };
    ui.Click(IDC_IMPORT);
    ui.Click(IDC_IMPORT);
    ui.SelectListRow(IDC_CABLE_LIST, -1);
    ui.Check([&] {
        EXPECT_EQ(dlg.HandleQueryDragIcon(), 0);
        dlg.HandleSysCommand(IDM_ABOUTBOX, 0);
    });
    ui.PressEnter();  // in the list: OK, which is not in the map, runs OnOK
    testing::internal::CaptureStderr();
    EXPECT_EQ(dlg.DoModal(), kIdOk);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(imports, 2);

    const std::string dialog = "PlatformCoreTest: dialog " + std::to_string(IDD_QUORLIS_DIALOG) + ": ";
    EXPECT_THAT(log, HasSubstr(dialog + "command 1000 failed: std::out_of_range: row 7 of 3\n"));
    EXPECT_THAT(log, HasSubstr(dialog + "command 1000 failed: unknown exception\n"));
    EXPECT_THAT(log, HasSubstr(dialog + "drag icon failed: unknown exception\n"));
    EXPECT_THAT(log, HasSubstr(dialog + "system command 16 failed: std::runtime_error: sys\n"));
}

TEST(DialogDeathTest, AFailingHandlerStopsADebugBuildAfterLoggingIt) {
    if (!kFailingHandlersStop) GTEST_SKIP() << "only debug builds stop";
    CTestDlg dlg;
    EXPECT_DEATH(dlg.HandleSysCommand(IDM_ABOUTBOX, 0), "system command 16 failed: std::runtime_error: sys");
}

TEST_F(DialogTest, ModalRunsNestAndMessageBoxesBelongToTheInnermost) {
    CTestDlg outer, inner(IDD_ABOUTBOX);
    outer.onImport = [&] {
        EXPECT_EQ(inner.DoModal(), kIdCancel);
        EXPECT_EQ(CDialog::GetActiveDialog(), &outer);
        ShowMessageBox("after");
    };
    ui.Click(IDC_IMPORT);
    ui.Check([&] {
        EXPECT_EQ(CDialog::GetActiveDialog(), &inner);
        EXPECT_EQ(ShowMessageBox("inside", EMsgBoxType::YesNo), kIdYes);
    });
    ui.AnswerMessageBox(kIdYes);
    ui.PressEscape();
    ui.PressEscape();
    EXPECT_EQ(outer.DoModal(), kIdCancel);
    EXPECT_EQ(ShowMessageBox(IDP_PARSE_REAL), kIdOk);

    const auto& boxes = ui.GetMessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].ownerLayoutId, IDD_ABOUTBOX);
    EXPECT_EQ(boxes[0].icon, EMsgBoxIcon::Question);
    EXPECT_EQ(boxes[1].ownerLayoutId, IDD_QUORLIS_DIALOG);
    EXPECT_EQ(boxes[1].icon, EMsgBoxIcon::Warning);
    EXPECT_EQ(boxes[2].ownerLayoutId, 0);
    EXPECT_EQ(boxes[2].text, "Enter a number.");
    EXPECT_EQ(boxes[2].caption, "PlatformCoreTest");
    ASSERT_EQ(ui.GetDialogs().size(), 2u);
    EXPECT_EQ(ui.GetDialogs()[1].ownerLayoutId, IDD_QUORLIS_DIALOG);
}

TEST_F(DialogTest, DoModalGivesMinusOneWhenTheWindowCannotBeMade) {
    CTestDlg dlg, unknown(999);
    ui.FailNextDialogWindow();
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(unknown.DoModal(), -1);
    EXPECT_EQ(dlg.GetWindow(), nullptr);
}

TEST_F(DialogTest, InitialFocusIsTheFirstEnabledTabStopOnlyWhenInitReturnsTrue) {
    CTestDlg dlg;
    dlg.onInit = [&] {
        dlg.EnableControl(IDC_IMPORT, false);
        return true;
    };
    ui.Check([&] { EXPECT_EQ(dlg.GetWindow()->GetFocusedControl(), IDC_EXPORT); });
    ui.PressEscape();
    dlg.DoModal();
    if (!kFailingHandlersStop) {
        dlg.onInit = []() -> bool { throw std::runtime_error("init"); };
        ui.Check([&] { EXPECT_EQ(dlg.GetWindow()->GetFocusedControl(), IDC_IMPORT); });
        ui.PressEscape();
        testing::internal::CaptureStderr();
        dlg.DoModal();
        EXPECT_THAT(testing::internal::GetCapturedStderr(),
                    HasSubstr("initialisation failed: std::runtime_error: init"));
    }
    dlg.onInit = [] { return false; };
    ui.Check([&] { EXPECT_EQ(dlg.GetWindow()->GetFocusedControl(), 0); });
    ui.PressEscape();
    dlg.DoModal();
}

// Switches LC_NUMERIC to a locale whose decimal point is a comma, built by the test's CMake file.
class CCommaLocale {
public:
    CCommaLocale() : m_before(std::setlocale(LC_NUMERIC, nullptr)) {
        if (const char* dir = std::getenv("QUORLIS_TEST_BINARY_DIR"))
            setenv("LOCPATH", (std::string(dir) + "/locale").c_str(), 1);
        m_active = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    }
    ~CCommaLocale() {
        std::setlocale(LC_NUMERIC, m_before.c_str());
        unsetenv("LOCPATH");
    }
    bool IsActive() const { return m_active; }

private:
    std::string m_before;
    bool m_active;
};

TEST_F(DialogTest, NumbersLoadAsFifteenDigitsWhateverTheNumericLocale) {
    CCommaLocale comma;
    if (!comma.IsActive()) GTEST_SKIP() << "no locale with a decimal comma could be built";
    CTestDlg dlg(IDD_CABLE_PARAMETER);
    dlg.cableLoss = 1.0 / 3;
    ui.Check([&] {
        EXPECT_EQ(dlg.GetFieldText(IDC_VELOCITY), "0.66");
        EXPECT_EQ(dlg.GetFieldText(IDC_CABLE_LOSS), "0.333333333333333");
        EXPECT_EQ(dlg.GetFieldText(IDC_FREQUENCY), "1e+20");
        dlg.velocity = 0;
        dlg.UpdateData(false);
        EXPECT_EQ(dlg.GetFieldText(IDC_VELOCITY), "0");
        ui.ActiveWindow()->SetControlText(IDC_VELOCITY, "1,5");
        EXPECT_TRUE(dlg.UpdateData(true));
        EXPECT_EQ(dlg.velocity, 1);
    });
    ui.PressEscape();
    dlg.DoModal();
}

TEST_F(DialogTest, AFailingFieldEndsThePassWithItsMessageAndFocus) {
    CTestDlg dlg(IDD_CABLE_PARAMETER);
    ui.Type(IDC_VELOCITY, "2.5");
    ui.Type(IDC_CABLE_LOSS, "x1");
    ui.Type(IDC_FREQUENCY, "7");
    ui.Check([&] {
        EXPECT_FALSE(dlg.UpdateData(true));
        EXPECT_EQ(dlg.velocity, 2.5);
        EXPECT_EQ(dlg.frequency, 1e20) << "later fields are not looked at";
        EXPECT_EQ(dlg.GetWindow()->GetFocusedControl(), IDC_CABLE_LOSS);
        EXPECT_TRUE(ui.ActiveWindow()->IsTextSelected(IDC_CABLE_LOSS));
    });
    ui.PressEnter();  // OnOK: the pass fails again and the dialog stays
    ui.Type(IDC_CABLE_LOSS, "3");
    ui.PressEnter();
    EXPECT_EQ(dlg.DoModal(), kIdOk);
    EXPECT_EQ(dlg.frequency, 7);
    EXPECT_EQ(ui.GetMessageBoxes().size(), 2u);
}

TEST_F(DialogTest, TheListShowsTheControlsTableAndKeepsItsStyles) {
    CTestDlg dlg;
    dlg.list.SetExtendedStyle(kLvsExGridLines);
    EXPECT_EQ(dlg.list.InsertColumn(0, "early", kLvcfmtLeft, 10), -1);
    ui.Check([&] {
        CHeadlessDialogWindow& window = *ui.ActiveWindow();
        EXPECT_EQ(window.GetListTable(IDC_CABLE_LIST), &dlg.rows);
        EXPECT_FALSE(dlg.list.EnsureVisible(2, false)) << "the source has two rows";
        EXPECT_TRUE(dlg.list.EnsureVisible(1, false));
        EXPECT_EQ(window.GetListExtendedStyle(IDC_CABLE_LIST), kLvsExGridLines);
        dlg.list.SetExtendedStyle(dlg.list.GetExtendedStyle() | kLvsExFullRowSelect);
        EXPECT_EQ(window.GetListExtendedStyle(IDC_CABLE_LIST), kLvsExGridLines | kLvsExFullRowSelect);
        EXPECT_EQ(dlg.list.InsertColumn(0, "Cable Name", kLvcfmtLeft, 220), 0);
        ASSERT_EQ(window.GetListColumns(IDC_CABLE_LIST).size(), 1u);
        EXPECT_EQ(window.GetListColumns(IDC_CABLE_LIST)[0].width, 220);
    });
    ui.PressEscape();
    dlg.DoModal();
    EXPECT_EQ(dlg.list.GetExtendedStyle(), kLvsExGridLines | kLvsExFullRowSelect);
}

class CTestApp : public CWinApp {
public:
    std::string ctype;
    bool InitInstance() override {
        ctype = std::setlocale(LC_CTYPE, nullptr);
        CTestDlg dlg;
        static_cast<CHeadlessWindowing&>(GetWindowing()).PressEscape();
        return dlg.DoModal() == kIdCancel && CWinApp::InitInstance();
    }
};

TEST(WinApp, RunTakesTheCharacterSetMakesTheBackendAndRunsTheApp) {
    CTestApp app;
    ASSERT_EQ(CWinApp::GetApp(), &app);
    setenv("LC_ALL", "C.UTF-8", 1);
    char name[] = "quorlis";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(RunWinApp(1, argv), 0);
    unsetenv("LC_ALL");
    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(app.ctype, "C.UTF-8");
    EXPECT_THROW(GetWindowing(), std::logic_error);
}

class CFailingApp : public CWinApp {
public:
    bool InitInstance() override { throw std::length_error("no room for the window"); }
};

TEST(WinApp, AStartThatThrowsEndsWithOneAndSaysWhatWasCaught) {
    CFailingApp app;
    char name[] = "quorlis";
    char* argv[] = {name, nullptr};
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunWinApp(1, argv), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "PlatformCoreTest: the program's start failed: std::length_error: no room for the window\n");
    std::setlocale(LC_CTYPE, "C");
    EXPECT_THROW(GetWindowing(), std::logic_error);
}

}  // namespace
