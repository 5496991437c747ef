#pragma once
// What a dialog's entry point does with a failure that its handler let through: the program goes
// on, but the failure is never silent.

#include <optional>
#include <string_view>

// Logs the exception being handled (its type and message, or "unknown exception" for one not
// derived from std::exception) as one line naming the dialog's layout id, the event and its id
// ("dialog 102: command 1000 failed: std::out_of_range: ..."), to standard error and the debugger
// output; debug builds then stop at an assertion. Call it only inside a catch block. Never throws.
void ReportHandlerFailure(int dialogId, std::string_view event, std::optional<unsigned> eventId = std::nullopt);

// Logs the exception being handled by a catch-all that must let nothing through (a toolkit's event,
// the system's dialog procedure, the program's start) as one line naming where it was caught
// ("window procedure failed: std::bad_alloc: ...") to standard error and the debugger output, and
// goes on: what the user sees is left to the caller. Call it only inside a catch block. Never throws.
void ReportCaughtFailure(std::string_view where);
