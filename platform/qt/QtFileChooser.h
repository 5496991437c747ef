#pragma once
// The open/save file chooser: the desktop's own where the platform offers one, else Qt's file
// dialog (always on the offscreen and minimal platforms, where tests run).

#include "platform/Windowing.h"

#include <QStringList>

#include <optional>
#include <string>

class CLocaleCodec;
class QWidget;

// The Qt name filters for filter, "description|patterns|...||": each entry shows its description
// as it stands and matches its patterns (";"-separated) in any case of their letters; "*.*"
// matches every file, with or without a dot. Used with QFileDialog::HideNameFilterDetails, which shows only the
// descriptions.
QStringList ToQtNameFilters(const std::string& filter, const CLocaleCodec& codec);

// Runs the chooser for request, modal over owner (may be nullptr). Returns the chosen file's full
// path as the file system's bytes, or nothing when the user cancels.
std::optional<std::string> RunFileChooser(QWidget* owner, const SFileChooser& request, const CLocaleCodec& codec);
