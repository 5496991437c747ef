#include "app/CommandLine.h"

#include <ostream>
#include <string_view>
#include <utility>

namespace {

constexpr std::string_view kHelp =
    "Edits a cable list: a table of cable types, each with a name, a velocity, a cable loss and a\n"
    "frequency in MHz, kept in a plain text file (by default CableList.ini). FILE, when given, is\n"
    "imported at start, as the Import button would import it.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "\n"
    "The editor needs a graphical session.\n";

}  // namespace

CCommandLine::CCommandLine(const std::vector<std::string>& args) {
    bool optionsEnded = false;
    int files = 0;
    for (const std::string& arg : args) {
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            if (++files == 1) m_fileName = arg;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            m_action = EAction::ShowHelp;
            return;
        } else if (arg == "--version") {
            m_action = EAction::ShowVersion;
            return;
        } else {
            Refuse("unknown option '" + arg + "'");
            return;
        }
    }
    if (files > 1) Refuse("only one FILE can be imported at start");
}

void CCommandLine::Refuse(std::string error) {
    m_action = EAction::Refuse;
    m_fileName.clear();
    m_error = std::move(error);
}

int CCommandLine::Answer(const std::string& programName, std::ostream& out, std::ostream& err) const {
    switch (m_action) {
        case EAction::ShowHelp:
            out << "Usage: " << programName << " [OPTION] [FILE]\n" << kHelp;
            return 0;
        case EAction::ShowVersion:
            out << programName << ' ' << QUORLIS_VERSION << '\n';
            return 0;
        case EAction::Refuse:
            err << programName << ": " << m_error << " (see '" << programName << " --help')\n";
            return 2;
        case EAction::Run:
            break;
    }
    return 0;
}
