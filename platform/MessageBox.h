#pragma once
// Message boxes of the program: modal, owned by the active dialog, captioned with the program
// file's name without folder and extension; OK boxes show the warning icon, Yes/No boxes the
// question icon.

#include "platform/Windowing.h"

#include <string>

// Shows text; returns kIdOk, kIdYes or kIdNo. Enter presses defaultButton of a Yes/No box.
int ShowMessageBox(const std::string& text, EMsgBoxType type = EMsgBoxType::Ok,
                   EMsgBoxDefault defaultButton = EMsgBoxDefault::Yes);
// Shows string stringId of the string table.
int ShowMessageBox(int stringId, EMsgBoxType type = EMsgBoxType::Ok);

// The program file's name without folder and extension ("quorlis").
std::string GetProgramName();
