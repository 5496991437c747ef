#pragma once
// Message boxes of the program: modal, owned by the active dialog, captioned with the program
// file's name without folder and extension; OK boxes show the warning icon, Yes/No boxes the
// question icon.

#include "platform/Windowing.h"

#include <string>

// Shows text; returns kIdOk, kIdYes or kIdNo.
int ShowMessageBox(const std::string& text, EMsgBoxType type = EMsgBoxType::Ok);
// Shows string stringId of the string table.
int ShowMessageBox(int stringId, EMsgBoxType type = EMsgBoxType::Ok);

// The program file's name without folder and extension ("quorlis").
std::string GetProgramName();
