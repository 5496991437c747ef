#include "platform/HandlerFailure.h"

#include "platform/DebuggerOutput.h"
#include "platform/MessageBox.h"

#include <cxxabi.h>

#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <sstream>
#include <string>
#include <typeinfo>

namespace {

// The type's name as written in the source ("std::out_of_range"), or the compiler's own name.
std::string ReadableTypeName(const std::type_info& type) {
    int status = -1;
    const std::unique_ptr<char, decltype(&std::free)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                           &std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}

std::string DescribeCurrentException() {
    if (!std::current_exception()) return "no exception";
    try {
        throw;
    } catch (const std::exception& failure) {
        return ReadableTypeName(typeid(failure)) + ": " + failure.what();
    } catch (...) {
        return "unknown exception";
    }
}

// Writes "<program>: <where> failed: <the exception>" to standard error and the debugger output.
void LogCurrentException(const std::string& where) noexcept {
    // A throw from here would leave the caller's catch block and end the program.
    try {
        const std::string text = GetProgramName() + ": " + where + " failed: " + DescribeCurrentException() + '\n';
        std::fputs(text.c_str(), stderr);
        std::fflush(stderr);
        WriteDebuggerOutput(text);
    } catch (...) {
    }
}

}  // namespace

void ReportHandlerFailure(int dialogId, std::string_view event, std::optional<unsigned> eventId) {
    try {
        std::ostringstream where;
        where << "dialog " << dialogId << ": " << event;
        if (eventId) where << ' ' << *eventId;
        LogCurrentException(where.str());
    } catch (...) {
    }
    assert(!"a dialog's handler failed: see the line above");
}

void ReportCaughtFailure(std::string_view where) {
    try {
        LogCurrentException(std::string(where));
    } catch (...) {
    }
}
