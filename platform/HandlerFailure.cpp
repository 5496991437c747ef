#include "platform/HandlerFailure.h"

#include "platform/DebuggerOutput.h"
#include "platform/MessageBox.h"

#include <cxxabi.h>

#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
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

}  // namespace

void ReportHandlerFailure(int dialogId, std::string_view event, std::optional<unsigned> eventId) {
    // A throw from here would leave the entry point's catch block and end the program.
    try {
        std::string line = GetProgramName() + ": dialog " + std::to_string(dialogId) + ": " + std::string(event);
        if (eventId) line += " " + std::to_string(*eventId);
        line += " failed: " + DescribeCurrentException() + "\n";
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
        WriteDebuggerOutput(line);
    } catch (...) {
    }
    assert(!"a dialog's handler failed: see the line above");
}
