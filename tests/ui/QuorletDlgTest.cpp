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

// The four fields, in the order their numbers are checked (the name has none), with the caller's
// text of each and a valid text that no sibling shares, so that a mix-up between fields shows.
struct SField {
    const char* what;
    int id;
    std::string CQuorletDlg::*text;
    const char* valid;
    bool numeric;
};
const SField kFields[] = {
    {"name", IDC_NAME, &CQuorletDlg::m_strName, "RG58", false},
    {"velocity", IDC_VELOCITY, &CQuorletDlg::m_strVelocity, "0.66", true},
    {"cable loss", IDC_CABLE_LOSS, &CQuorletDlg::m_strCableLoss, "0.5", true},
    {"frequency", IDC_FREQUENCY, &CQuorletDlg::m_strFrequency, "100", true},
};
static_assert(std::size(kFields) == kCableColumnCount, "a field for each column, in their order");

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

// The main window hands a row to the dialog and takes one back by its cells: each column has its
// own member and its own field, numbered in the columns' order.
TEST_F(QuorletDlgTest, EachColumnOfARowHasAFieldOfItsOwn) {
    CableCellTexts cells;
    for (int column = 0; column < kCableColumnCount; ++column) cells[column] = std::to_string(column + 1) + " cell";
    dlg.SetCellTexts(CableCellViews(cells));
    EXPECT_EQ(dlg.GetCellTexts(), cells);
    for (const SField& field : kFields) EXPECT_EQ(dlg.*field.text, cells[&field - kFields]) << field.what;
    ui.Check([this, &cells] {
        for (int column = 0; column < kCableColumnCount; ++column)
            EXPECT_EQ(ui.ActiveWindow()->GetControlText(ParameterFieldId(column)), cells[column]) << column;
    });
    ui.PressEscape();
    EXPECT_EQ(dlg.DoModal(), kIdCancel);
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

// A backend whose field breakingId keeps the line breaks and NULs it is given, as a toolkit's
// field may, with one inside its text and one at its end.
class CLineBreakWindow : public CHeadlessDialogWindow {
public:
    CLineBreakWindow(CHeadlessWindowing& windowing, CDialog& dialog, const SDialogLayout& layout, IDialogWindow* owner,
                     int breakingId)
        : CHeadlessDialogWindow(windowing, dialog, layout, owner), m_breakingId(breakingId) {}
    std::string GetControlText(int id) const override {
        const std::string text = CHeadlessDialogWindow::GetControlText(id);
        if (id != m_breakingId || text.empty()) return text;
        return text.substr(0, 1) + std::string("\n\0", 2) + text.substr(1) + std::string("\r\0\n", 3);
    }

private:
    int m_breakingId;
};

class CLineBreakWindowing : public CHeadlessWindowing {
public:
    explicit CLineBreakWindowing(int breakingId) : m_breakingId(breakingId) {}
    std::unique_ptr<IDialogWindow> CreateDialogWindow(CDialog& dialog, const SDialogLayout& layout,
                                                      IDialogWindow* owner) override {
        return std::make_unique<CLineBreakWindow>(*this, dialog, layout, owner, m_breakingId);
    }

private:
    int m_breakingId;
};

TEST_F(QuorletDlgTest, OkNeverHandsBackLineBreaksOrNulFromAnyField) {
    for (const SField& field : kFields) {
        SCOPED_TRACE(field.what);
        CLineBreakWindowing breaking(field.id);
        breaking.SetFailureHandler([](const std::string& failure) { ADD_FAILURE() << failure; });
        SetWindowing(&breaking);
        CQuorletDlg edit;
        for (const SField& each : kFields) edit.*each.text = each.valid;
        breaking.PressEnter();
        EXPECT_EQ(edit.DoModal(), kIdOk);
        for (const SField& each : kFields) EXPECT_EQ(edit.*each.text, each.valid) << each.what;
        EXPECT_THAT(breaking.GetMessageBoxes(), IsEmpty());
    }
    SetWindowing(&ui);
}

// Each field on its own: shown without line breaks, typed text handed back to its own member, and
// an empty or (for a number) wrong text keeping the dialog open with the focus in that field.
TEST_F(QuorletDlgTest, EveryFieldIsShownCheckedAndHandedBackAlike) {
    for (const SField& field : kFields) {
        SCOPED_TRACE(field.what);
        CHeadlessWindowing fieldUi;
        fieldUi.SetFailureHandler([](const std::string& failure) { ADD_FAILURE() << failure; });
        SetWindowing(&fieldUi);
        CQuorletDlg edit;
        for (const SField& each : kFields) edit.*each.text = each.valid;
        edit.*field.text = std::string(
            "1\r\n2\0"
            "3\n",
            7);
        fieldUi.Check([&fieldUi, &field] { EXPECT_EQ(fieldUi.ActiveWindow()->GetControlText(field.id), "123"); });
        fieldUi.Type(field.id, "");
        fieldUi.Click(kIdOk);
        fieldUi.Check([&fieldUi, &field] {
            ASSERT_NE(fieldUi.ActiveWindow(), nullptr) << "an empty field keeps the dialog open";
            EXPECT_EQ(fieldUi.ActiveWindow()->GetFocusedControl(), field.numeric ? field.id : kIdOk);
            EXPECT_EQ(fieldUi.GetMessageBoxes().size(), field.numeric ? 1u : 0u);
        });
        if (field.numeric) {
            fieldUi.Type(field.id, "x1");
            fieldUi.Click(kIdOk);
            fieldUi.Check([&fieldUi, &field] {
                ASSERT_NE(fieldUi.ActiveWindow(), nullptr) << "a wrong number keeps the dialog open";
                EXPECT_EQ(fieldUi.ActiveWindow()->GetFocusedControl(), field.id);
                EXPECT_TRUE(fieldUi.ActiveWindow()->IsTextSelected(field.id));
                EXPECT_EQ(fieldUi.GetMessageBoxes().size(), 3u);
            });
        }
        fieldUi.Type(field.id, "7 typed");
        fieldUi.Click(kIdOk);
        EXPECT_EQ(edit.DoModal(), kIdOk);
        for (const SField& each : kFields)
            EXPECT_EQ(edit.*each.text, &each == &field ? "7 typed" : each.valid) << each.what;
    }
    SetWindowing(&ui);
}

// The numbers are checked in the order velocity, cable loss, frequency: of any wrong ones, the
// first takes the focus.
TEST_F(QuorletDlgTest, TheFirstWrongNumberInCheckOrderTakesTheFocus) {
    for (const SField& first : kFields) {
        for (const SField& later : kFields) {
            if (!first.numeric || &later <= &first) continue;
            SCOPED_TRACE(std::string(first.what) + " and " + later.what);
            CHeadlessWindowing pairUi;
            pairUi.SetFailureHandler([](const std::string& failure) { ADD_FAILURE() << failure; });
            SetWindowing(&pairUi);
            CQuorletDlg edit;
            for (const SField& each : kFields) edit.*each.text = each.valid;
            edit.*first.text = "wrong";
            edit.*later.text = "wrong too";
            pairUi.PressEnter();
            CHeadlessWindowing* checked = &pairUi;
            pairUi.Check([checked, &first] {
                ASSERT_NE(checked->ActiveWindow(), nullptr);
                EXPECT_EQ(checked->ActiveWindow()->GetFocusedControl(), first.id);
            });
            pairUi.PressEscape();
            EXPECT_EQ(edit.DoModal(), kIdCancel);
        }
    }
    SetWindowing(&ui);
}

}  // namespace
