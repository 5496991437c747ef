#include "platform/Dialog.h"
#include "platform/headless/HeadlessWindowing.h"
#include "res/Resources.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class CCountingDlg : public CDialog {
public:
    explicit CCountingDlg(int layoutId) : CDialog(layoutId) {}
    std::vector<int> commands;
    std::vector<unsigned> sysCommands;

protected:
    bool OnInitDialog() override {
        GetWindow()->AppendSystemMenuItem(IDM_ABOUTBOX, "&About Quorlis...");
        return CDialog::OnInitDialog();
    }
    void OnSysCommand(unsigned id, long) override { sysCommands.push_back(id); }
    void OnExport() { commands.push_back(IDC_EXPORT); }
    void OnOK() override { commands.push_back(kIdOk); }
    QUORLIS_DECLARE_MESSAGE_MAP()
};

QUORLIS_BEGIN_MESSAGE_MAP(CCountingDlg)
ON_BN_CLICKED(IDC_EXPORT, &CCountingDlg::OnExport)
QUORLIS_END_MESSAGE_MAP()

class HeadlessWindowingTest : public ::testing::Test {
protected:
    void SetUp() override { SetWindowing(&ui); }
    void TearDown() override { SetWindowing(nullptr); }
    CHeadlessWindowing ui;
};

TEST_F(HeadlessWindowingTest, ControlsActLikeRealOnes) {
    CCountingDlg dlg(IDD_QUORLIS_DIALOG);
    ui.Check([&] { dlg.EnableControl(IDC_EXPORT, false); });
    ui.Click(IDC_EXPORT);  // disabled: nothing
    ui.Check([&] { dlg.EnableControl(IDC_EXPORT, true); });
    ui.Focus(IDC_EXPORT);
    ui.PressEnter();                    // on a button: clicks it
    ui.SysCommand(IDM_ABOUTBOX | 0x2);  // the low four bits are the platform's
    ui.SysCommand(0xF000);              // not in the menu: a failure
    ui.Click(4242);                     // no such control: a failure
    ui.PressEscape();
    EXPECT_EQ(dlg.DoModal(), kIdCancel);
    EXPECT_THAT(dlg.commands, ElementsAre(IDC_EXPORT));
    EXPECT_THAT(dlg.sysCommands, ElementsAre(IDM_ABOUTBOX | 0x2));
    ASSERT_EQ(ui.GetFailures().size(), 2u);
    EXPECT_THAT(ui.GetFailures()[0], HasSubstr("61440"));
    EXPECT_THAT(ui.GetFailures()[1], HasSubstr("4242"));
}

TEST_F(HeadlessWindowingTest, FieldsDropLineBreaksAndNulAndFocusSelectsTheirText) {
    CCountingDlg dlg(IDD_CABLE_PARAMETER);
    ui.Type(IDC_NAME, std::string("a\r\n\0b\n", 6));
    ui.Check([&] {
        CHeadlessDialogWindow& window = *ui.ActiveWindow();
        EXPECT_EQ(window.GetControlText(IDC_NAME), "ab");
        EXPECT_EQ(window.GetFocusedControl(), IDC_NAME);
        EXPECT_FALSE(window.IsTextSelected(IDC_NAME));
        window.SetControlText(IDC_VELOCITY, std::string("1\r\0"
                                                        "2",
                                                        4));
        EXPECT_EQ(window.GetControlText(IDC_VELOCITY), "12");
    });
    ui.Focus(IDC_VELOCITY);
    ui.Check([&] { EXPECT_TRUE(ui.ActiveWindow()->IsTextSelected(IDC_VELOCITY)); });
    ui.PressEnter();  // in a field: the default button, OK
    ui.Check([&] { dlg.EnableControl(kIdCancel, false); });
    ui.PressEscape();  // Cancel disabled: nothing
    ui.Check([&] { dlg.EndDialog(kIdCancel); });
    EXPECT_EQ(dlg.DoModal(), kIdCancel);
    EXPECT_THAT(dlg.commands, ElementsAre(kIdOk));
    EXPECT_TRUE(ui.GetFailures().empty());
}

TEST_F(HeadlessWindowingTest, AnswersComeFromTheirQueuesAndUnansweredQuestionsFail) {
    ui.AnswerMessageBox(kIdYes);
    EXPECT_EQ(ui.ShowMessageBox(nullptr, "note", "c", EMsgBoxType::Ok, EMsgBoxIcon::Warning, EMsgBoxDefault::Yes),
              kIdOk);
    EXPECT_EQ(ui.ShowMessageBox(nullptr, "sure?", "c", EMsgBoxType::YesNo, EMsgBoxIcon::Question, EMsgBoxDefault::Yes),
              kIdYes);
    EXPECT_TRUE(ui.GetFailures().empty()) << "an OK box leaves a Yes for the question";
    EXPECT_EQ(ui.ShowMessageBox(nullptr, "again?", "c", EMsgBoxType::YesNo, EMsgBoxIcon::Question, EMsgBoxDefault::Yes),
              kIdNo);
    ASSERT_EQ(ui.GetFailures().size(), 1u);
    EXPECT_THAT(ui.GetFailures()[0], HasSubstr("again?"));

    // Enter presses whichever button is the default.
    ui.AnswerMessageBoxWithEnter();
    ui.AnswerMessageBoxWithEnter();
    EXPECT_EQ(ui.ShowMessageBox(nullptr, "keep?", "c", EMsgBoxType::YesNo, EMsgBoxIcon::Question, EMsgBoxDefault::No),
              kIdNo);
    EXPECT_EQ(ui.ShowMessageBox(nullptr, "go?", "c", EMsgBoxType::YesNo, EMsgBoxIcon::Question, EMsgBoxDefault::Yes),
              kIdYes);
    EXPECT_EQ(ui.GetMessageBoxes().back().defaultButton, EMsgBoxDefault::Yes);
    EXPECT_EQ(ui.GetFailures().size(), 1u);

    SFileChooser request;
    request.fileName = "CableList.ini";
    ui.AnswerFileChooser("/tmp/a.ini");
    EXPECT_EQ(ui.ChooseFile(nullptr, request), "/tmp/a.ini");
    EXPECT_EQ(ui.ChooseFile(nullptr, request), std::nullopt);
    ASSERT_EQ(ui.GetFileChoosers().size(), 2u);
    EXPECT_EQ(ui.GetFileChoosers()[0].request.fileName, "CableList.ini");
}

TEST_F(HeadlessWindowingTest, AScriptThatRunsOutEndsTheOpenDialogsWithAFailure) {
    CCountingDlg outer(IDD_QUORLIS_DIALOG);
    CCountingDlg inner(IDD_CABLE_PARAMETER);
    int innerResult = 0;
    ui.Check([&] { innerResult = inner.DoModal(); });
    EXPECT_EQ(outer.DoModal(), -1);
    EXPECT_EQ(innerResult, -1);
    EXPECT_EQ(ui.GetFailures().size(), 2u);
    ASSERT_EQ(ui.GetDialogs().size(), 2u);
    EXPECT_EQ(ui.GetDialogs()[1].layoutId, IDD_CABLE_PARAMETER);
    EXPECT_EQ(ui.GetDialogs()[1].result, -1);
}

}  // namespace
