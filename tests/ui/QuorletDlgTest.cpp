#include "ui/QuorletDlg.h"

#include "platform/MessageBox.h"
#include "platform/headless/HeadlessWindowing.h"
#include "res/Resources.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr const char* kEnterNumber = "Enter a number.";

class QuorletDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui.SetFailureHandler([](const std::string& failure) { ADD_FAILURE() << failure; });
        SetWindowing(&ui);
    }
    void TearDown() override {
        SetWindowing(nullptr);
        EXPECT_EQ(ui.GetPendingActionCount(), 0u) << "script steps left over";
    }

    void SetCallerTexts(const std::string& name, const std::string& velocity, const std::string& cableLoss,
                        const std::string& frequency) {
        dlg.m_strName = name;
        dlg.m_strVelocity = velocity;
        dlg.m_strCableLoss = cableLoss;
        dlg.m_strFrequency = frequency;
    }
    void TypeAll(const std::string& name, const std::string& velocity, const std::string& cableLoss,
                 const std::string& frequency) {
        ui.Type(IDC_NAME, name);
        ui.Type(IDC_VELOCITY, velocity);
        ui.Type(IDC_CABLE_LOSS, cableLoss);
        ui.Type(IDC_FREQUENCY, frequency);
    }
    void ExpectCallerTexts(const std::string& name, const std::string& velocity, const std::string& cableLoss,
                           const std::string& frequency) {
        EXPECT_EQ(dlg.m_strName, name);
        EXPECT_EQ(dlg.m_strVelocity, velocity);
        EXPECT_EQ(dlg.m_strCableLoss, cableLoss);
        EXPECT_EQ(dlg.m_strFrequency, frequency);
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : ui.GetMessageBoxes()) texts.push_back(box.text);
        return texts;
    }
    // A mid-script check that the dialog is still open with the focus in field id, its text selected.
    void CheckOpenWithFocusIn(int id) {
        ui.Check([this, id] {
            const CHeadlessDialogWindow* window = ui.ActiveWindow();
            ASSERT_NE(window, nullptr);
            EXPECT_FALSE(window->IsEnded());
            EXPECT_EQ(window->GetFocusedControl(), id);
            if (!window->GetControlText(id).empty()) {
                EXPECT_TRUE(window->IsTextSelected(id));
            }
        });
    }

    CHeadlessWindowing ui;
    CQuorletDlg dlg;
};

TEST_F(QuorletDlgTest, OpensWithTheCallersTextsAndTheFocusOnOk) {
    SetCallerTexts("RG58", "0.66", "0.5", "100");
    ui.Check([this] {
        const CHeadlessDialogWindow* window = ui.ActiveWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->GetLayout().id, IDD_CABLE_PARAMETER);
        EXPECT_EQ(window->GetControlText(IDC_NAME), "RG58");
        EXPECT_EQ(window->GetControlText(IDC_VELOCITY), "0.66");
        EXPECT_EQ(window->GetControlText(IDC_CABLE_LOSS), "0.5");
        EXPECT_EQ(window->GetControlText(IDC_FREQUENCY), "100");
        EXPECT_EQ(window->GetFocusedControl(), kIdOk);
    });
    ui.PressEnter();
    EXPECT_EQ(dlg.DoModal(), kIdOk);
    ExpectCallerTexts("RG58", "0.66", "0.5", "100");
    EXPECT_THAT(ui.GetMessageBoxes(), IsEmpty());
}

TEST_F(QuorletDlgTest, EnterAtOnceOnEmptyFieldsWarnsOnceAndFocusesVelocity) {
    ui.Check([this] { EXPECT_EQ(ui.ActiveWindow()->GetControlText(IDC_VELOCITY), ""); });
    ui.PressEnter();
    CheckOpenWithFocusIn(IDC_VELOCITY);
    ui.PressEscape();
    EXPECT_EQ(dlg.DoModal(), kIdCancel);

    ASSERT_EQ(ui.GetMessageBoxes().size(), 1u);
    const auto& box = ui.GetMessageBoxes()[0];
    EXPECT_EQ(box.text, kEnterNumber);
    EXPECT_EQ(box.caption, GetProgramName());
    EXPECT_EQ(box.caption, "QuorletDlgTest");
    EXPECT_EQ(box.type, EMsgBoxType::Ok);
    EXPECT_EQ(box.icon, EMsgBoxIcon::Warning);
    EXPECT_EQ(box.ownerLayoutId, IDD_CABLE_PARAMETER);
    ExpectCallerTexts("", "", "", "");
}

TEST_F(QuorletDlgTest, HandsBackTheTextsExactlyAsTyped) {
    const std::string longName(20000, 'n');
    TypeAll("  RG 58\xB5\xFF  ", "0.66 approx", " 0.5", "1" + std::string(5000, 'x'));
    ui.Click(kIdOk);
    EXPECT_EQ(dlg.DoModal(), kIdOk);
    ExpectCallerTexts("  RG 58\xB5\xFF  ", "0.66 approx", " 0.5", "1" + std::string(5000, 'x'));
    EXPECT_THAT(ui.GetMessageBoxes(), IsEmpty());

    CQuorletDlg second;
    ui.Type(IDC_NAME, longName);
    ui.Type(IDC_VELOCITY, "0.66");
    ui.Type(IDC_CABLE_LOSS, "0.5");
    ui.Type(IDC_FREQUENCY, "100");
    ui.PressEnter();  // in the Frequency field: OK is the default button
    EXPECT_EQ(second.DoModal(), kIdOk);
    EXPECT_EQ(second.m_strName, longName);
}

TEST_F(QuorletDlgTest, BadNumberWithAllFieldsFilledWarnsTwiceAndStaysOpen) {
    TypeAll("RG58", "fast", "0.5", "100");
    ui.Click(kIdOk);
    CheckOpenWithFocusIn(IDC_VELOCITY);
    ui.Check([this] { EXPECT_THAT(BoxTexts(), ElementsAre(kEnterNumber, kEnterNumber)); });
    ui.Type(IDC_VELOCITY, "0.7");
    ui.Click(kIdOk);
    EXPECT_EQ(dlg.DoModal(), kIdOk);
    ExpectCallerTexts("RG58", "0.7", "0.5", "100");
    EXPECT_EQ(ui.GetMessageBoxes().size(), 2u);
}

TEST_F(QuorletDlgTest, FocusGoesToTheFirstFailingNumericField) {
    TypeAll("RG58", "0.66", "low", "high");
    ui.Click(kIdOk);
    CheckOpenWithFocusIn(IDC_CABLE_LOSS);
    ui.Click(kIdCancel);
    EXPECT_EQ(dlg.DoModal(), kIdCancel);
    EXPECT_THAT(BoxTexts(), ElementsAre(kEnterNumber, kEnterNumber));
}

TEST_F(QuorletDlgTest, AnEmptyFieldStopsOkAfterOnePass) {
    struct SCase {
        const char* what;
        const char* name;
        const char* velocity;
        const char* frequency;
        std::size_t boxes;
        int focus;
    };
    const SCase cases[] = {
        {"bad velocity, empty name", "", "fast", "100", 1, IDC_VELOCITY},
        {"empty name, numbers valid", "", "0.66", "100", 0, kIdOk},
        {"empty frequency", "RG58", "0.66", "", 1, IDC_FREQUENCY},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        CHeadlessWindowing caseUi;
        caseUi.SetFailureHandler([](const std::string& failure) { ADD_FAILURE() << failure; });
        SetWindowing(&caseUi);
        CQuorletDlg caseDlg;
        caseDlg.m_strName = "caller";
        caseUi.Type(IDC_NAME, c.name);
        caseUi.Type(IDC_VELOCITY, c.velocity);
        caseUi.Type(IDC_CABLE_LOSS, "0.5");
        caseUi.Type(IDC_FREQUENCY, c.frequency);
        caseUi.Click(kIdOk);
        caseUi.Check([&caseUi, &c] {
            ASSERT_NE(caseUi.ActiveWindow(), nullptr);
            EXPECT_EQ(caseUi.ActiveWindow()->GetFocusedControl(), c.focus);
            EXPECT_EQ(caseUi.GetMessageBoxes().size(), c.boxes);
        });
        caseUi.PressEscape();
        EXPECT_EQ(caseDlg.DoModal(), kIdCancel);
        EXPECT_EQ(caseDlg.m_strName, "caller");
    }
    SetWindowing(&ui);
}

TEST_F(QuorletDlgTest, CancelButtonEscapeAndCloseBoxLeaveTheCallersTexts) {
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        CQuorletDlg edit;
        edit.m_strName = "RG58";
        edit.m_strVelocity = "0.66";
        ui.Type(IDC_NAME, "changed");
        ui.Type(IDC_VELOCITY, "1");
        if (way == 0) ui.Click(kIdCancel);
        if (way == 1) ui.PressEscape();
        if (way == 2) ui.CloseBox();
        EXPECT_EQ(edit.DoModal(), kIdCancel);
        EXPECT_EQ(edit.m_strName, "RG58");
        EXPECT_EQ(edit.m_strVelocity, "0.66");
    }
    EXPECT_THAT(ui.GetMessageBoxes(), IsEmpty());
}

// A NUL would end the file's text on the next Import, losing every later row.
TEST_F(QuorletDlgTest, FieldsDropLineBreaksAndNul) {
    SetCallerTexts(std::string("R\0G\r58", 6), "0.66", "0.5", "100");
    ui.Type(IDC_FREQUENCY, std::string("1\r\n0\0"
                                       "0\n",
                                       7));
    ui.Check([this] { EXPECT_EQ(ui.ActiveWindow()->GetControlText(IDC_NAME), "RG58"); });
    ui.Click(kIdOk);
    EXPECT_EQ(dlg.DoModal(), kIdOk);
    ExpectCallerTexts("RG58", "0.66", "0.5", "100");
}

// A backend whose fields keep the line breaks and NULs they are given, as a toolkit's field may.
class CLineBreakWindow : public CHeadlessDialogWindow {
public:
    using CHeadlessDialogWindow::CHeadlessDialogWindow;
    std::string GetControlText(int id) const override {
        const std::string text = CHeadlessDialogWindow::GetControlText(id);
        return id == IDC_NAME || id == IDC_FREQUENCY ? text + std::string("\r\0\n", 3) : text;
    }
};

class CLineBreakWindowing : public CHeadlessWindowing {
public:
    std::unique_ptr<IDialogWindow> CreateDialogWindow(CDialog& dialog, const SDialogLayout& layout,
                                                      IDialogWindow* owner) override {
        return std::make_unique<CLineBreakWindow>(*this, dialog, layout, owner);
    }
};

TEST_F(QuorletDlgTest, OkNeverHandsBackLineBreaksOrNul) {
    CLineBreakWindowing breaking;
    breaking.SetFailureHandler([](const std::string& failure) { ADD_FAILURE() << failure; });
    SetWindowing(&breaking);
    SetCallerTexts("RG58", "0.66", "0.5", "100");
    breaking.PressEnter();
    EXPECT_EQ(dlg.DoModal(), kIdOk);
    ExpectCallerTexts("RG58", "0.66", "0.5", "100");
    SetWindowing(&ui);
}

}  // namespace
