#pragma once
// The main window on the headless backend, with a scratch folder for cable list files.

#include "ui/QuorlisDlg.h"

#include "platform/MessageBox.h"
#include "platform/headless/HeadlessWindowing.h"
#include "res/Resources.h"

#include "SystemFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace QuorlisText;

constexpr int kEditCommands[] = {IDC_ADD_CABLE, IDC_EDIT_CABLE, IDC_EXPORT, IDC_DELETE_CABLE};

inline const char* const kTwoRows =
    "/*!!!DO NOT MODIFY!!!!*/\n[CableList] Version=1 CableCount=2\n"
    "CableName1 = RG58\nVelocity1 = 0.66\nCableLoss1 = 0.5\nFrequency1 = 100\n"
    "CableName2 = LMR400\nVelocity2 = 0.85\nCableLoss2 = 0.2\nFrequency2 = 900\n";

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class QuorlisDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetWindowing(&ui);
        ui.SetFailureHandler([](const std::string& failure) { ADD_FAILURE() << failure; });
        dir = fs::temp_directory_path() / ("quorlis-dlg-" + std::to_string(CurrentProcessId()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        SetWindowing(nullptr);
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        MakeRemovable(dir);
        fs::remove_all(dir);
    }

    std::string MakeFile(const std::string& name, const std::string& text) {
        const fs::path path = dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    void Import(const std::string& path) {
        ui.AnswerFileChooser(path);
        ui.Click(IDC_IMPORT);
    }
    // Runs the window with the script queued so far, then leaves it through Escape and Yes.
    int RunAndExit() {
        ui.PressEscape();
        ui.AnswerMessageBox(kIdYes);
        return dlg.DoModal();
    }
    // The texts of the message boxes shown, without the final exit question.
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : ui.GetMessageBoxes()) texts.push_back(box.text);
        if (!texts.empty() && texts.back() == kExitQuestion) texts.pop_back();
        return texts;
    }
    void ExpectEditCommandsEnabled(bool enabled) {
        ui.Check([this, enabled] {
            for (int id : kEditCommands) EXPECT_EQ(dlg.IsControlEnabled(id), enabled) << "control " << id;
            EXPECT_TRUE(dlg.IsControlEnabled(IDC_IMPORT));
        });
    }
    std::vector<std::string> Row(int row) const {
        std::vector<std::string> cells;
        for (int column = 0; column < 4; ++column) cells.push_back(dlg.m_table.GetCellText(row, column));
        return cells;
    }

    CHeadlessWindowing ui;
    CQuorlisDlg dlg{[] {
        CDialog aboutBox(IDD_ABOUTBOX);
        aboutBox.DoModal();
    }};
    fs::path dir;
};
