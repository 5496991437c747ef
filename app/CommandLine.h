#pragma once
// The program's command line: quorlis [-h | --help | --version] [FILE], where FILE is a cable list
// file to import at start. Toolkit options are not taken: the command line is the program's own.

#include <iosfwd>
#include <string>
#include <vector>

class CCommandLine {
public:
    enum class EAction { Run, ShowHelp, ShowVersion, Refuse };

    // Reads args, the arguments after the program's name, in order: the first --help or --version
    // decides, an unknown option is refused, "--" ends the options (a name after it is a file even
    // when it begins with "-"), and more than one file is refused.
    explicit CCommandLine(const std::vector<std::string>& args);

    EAction GetAction() const { return m_action; }
    // The file to import at start, or "" when none is named.
    const std::string& GetFileName() const { return m_fileName; }

    // For every action but Run: prints the help or the version to out, or a one-line error to err,
    // each line beginning with programName as Debian programs do. Returns the exit code: 0 for help
    // and version, 2 for a refused command line.
    int Answer(const std::string& programName, std::ostream& out, std::ostream& err) const;

private:
    void Refuse(std::string error);

    EAction m_action = EAction::Run;
    std::string m_fileName;
    std::string m_error;
};
