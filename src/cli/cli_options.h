#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zevo::cli {

// What zevo-cli tells its caller. Scripts test these numbers, so they never change meaning.
enum ExitCode : int {
    ExitDone = 0,
    ExitFailed = 1,      // verify found differences, or a transfer failed after its retries
    ExitUsage = 2,       // bad arguments, or a file that cannot be read or written
    ExitFileVersion = 3, // a parameter file of another format version (or no parameter file at all)
    ExitNoUnit = 4,      // no port could be opened, or no unit answered
    ExitUnitVersion = 5, // the unit runs another program version; nothing was written to it
};

enum class Command { Ports, Status, Read, Verify, Program, IgnNormalize };

// --port: a COM number as the tool counts ports, or a device path. Neither: the automatic search.
struct PortArgument {
    int Number = 0; // 1..20, or 0 when Path is given
    std::string Path;
    friend bool operator==(const PortArgument&, const PortArgument&) = default;
};

struct Options {
    Command Cmd = Command::Ports;
    bool Help = false;
    bool Version = false; // --version as the only argument: print the release and stop
    std::optional<PortArgument> Port;
    int Count = 0; // status: frames to print, 0 = until Ctrl+C
    bool Csv = false;
    std::string File;  // read: the ign file written; verify, program, ign-normalize: the file read
    std::string Image; // read --image: the parameter image file written
    std::string Base;  // ign-normalize --base: the parameter image file read first
};

struct ParseResult {
    std::optional<Options> Parsed; // empty: Error says why
    std::string Error;
};

// The arguments after the program name. "--help" anywhere asks for the help of the command given
// (or of the tool, when there is none) and skips every other check.
ParseResult ParseArguments(const std::vector<std::string>& args);

// "COM3", "com3" and "3" are COM3 (1..20); a number outside 1..20 is refused; any other text is a
// device path.
std::optional<PortArgument> ParsePort(std::string_view text);

// The help text of one command, or of the whole tool.
std::string HelpText(std::optional<Command> command);

} // namespace zevo::cli
