#include "cli/cli_options.h"

#include <array>
#include <charconv>
#include <utility>

namespace zevo::cli {
namespace {

struct CommandName {
    std::string_view Name;
    Command Cmd;
};

constexpr std::array<CommandName, 6> Commands = {{
    {"ports", Command::Ports},
    {"status", Command::Status},
    {"read", Command::Read},
    {"verify", Command::Verify},
    {"program", Command::Program},
    {"ign-normalize", Command::IgnNormalize},
}};

std::optional<Command> FindCommand(std::string_view name) {
    for (const CommandName& c : Commands)
        if (c.Name == name)
            return c.Cmd;
    return std::nullopt;
}

std::optional<int> ParseNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::string_view NameOf(Command cmd) {
    for (const CommandName& c : Commands)
        if (c.Cmd == cmd)
            return c.Name;
    return {};
}

bool Takes(Command cmd, std::string_view option) {
    const bool linked =
        cmd == Command::Status || cmd == Command::Read || cmd == Command::Verify || cmd == Command::Program;
    if (option == "--port")
        return linked;
    if (option == "--count" || option == "--csv")
        return cmd == Command::Status;
    if (option == "--image")
        return cmd == Command::Read;
    if (option == "--base")
        return cmd == Command::IgnNormalize;
    return false;
}

ParseResult Fail(std::string error) {
    return {std::nullopt, std::move(error)};
}

constexpr std::string_view ExitCodes = R"(
Exit codes:
  0  done
  1  verify found differences, or a transfer failed after its retries (or was interrupted)
  2  usage error, or a file that cannot be read or written
  3  a parameter file of another format version
  4  no port could be opened, or no unit answered
  5  the unit runs another program version (nothing was written to it)
)";

constexpr std::string_view PortHelp =
    "  --port P   COM number as the tool counts ports (COM3 or 3), or a device path;\n"
    "             without it the tool searches COM1..COM21 for a unit\n";

} // namespace

std::optional<PortArgument> ParsePort(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    std::string_view number = text;
    if (number.size() > 3 && (number[0] == 'C' || number[0] == 'c') &&
        (number[1] == 'O' || number[1] == 'o') && (number[2] == 'M' || number[2] == 'm'))
        number.remove_prefix(3);
    // A COM number must be one the tool has; any other word is taken as a device path.
    if (const std::optional<int> n = ParseNumber(number)) {
        if (*n < 1 || *n > 20)
            return std::nullopt;
        return PortArgument{*n, {}};
    }
    return PortArgument{0, std::string(text)};
}

ParseResult ParseArguments(const std::vector<std::string>& args) {
    Options options;
    std::optional<Command> command;
    std::vector<std::string> positional;
    if (args.size() == 1 && args.front() == "--version") {
        options.Version = true;
        return {options, {}};
    }
    for (const std::string& arg : args)
        if (arg == "--help" || arg == "-h")
            options.Help = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h")
            continue;
        if (!command) {
            command = FindCommand(arg);
            if (!command)
                return options.Help ? ParseResult{options, {}} : Fail("unknown command '" + arg + "'");
            options.Cmd = *command;
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            if (!Takes(*command, arg)) {
                if (options.Help)
                    continue;
                return Fail("unknown option '" + arg + "' for " + std::string(NameOf(*command)));
            }
            if (arg == "--csv") {
                options.Csv = true;
                continue;
            }
            if (i + 1 >= args.size())
                return Fail("option '" + arg + "' needs a value");
            const std::string& value = args[++i];
            if (arg == "--port") {
                options.Port = ParsePort(value);
                if (!options.Port)
                    return Fail("'" + value + "' is no port: give COM1..COM20, 1..20 or a device path");
            } else if (arg == "--count") {
                const std::optional<int> count = ParseNumber(value);
                if (!count || *count < 1)
                    return Fail("'" + value + "' is no frame count: give a number from 1 on");
                options.Count = *count;
            } else if (arg == "--image") {
                options.Image = value;
            } else if (arg == "--base") {
                options.Base = value;
            }
            continue;
        }
        positional.push_back(arg);
    }
    if (options.Help)
        return {options, {}};
    if (!command)
        return Fail("no command given");
    const bool takesFile = *command == Command::Read || *command == Command::Verify ||
                           *command == Command::Program || *command == Command::IgnNormalize;
    if (takesFile && positional.size() != 1)
        return Fail(positional.empty() ? "a parameter file (.ign) is needed" : "more than one file given");
    if (!takesFile && !positional.empty())
        return Fail("unexpected argument '" + positional.front() + "'");
    if (takesFile)
        options.File = positional.front();
    return {options, {}};
}

std::string HelpText(std::optional<Command> command) {
    std::string text;
    if (!command) {
        text =
            "Usage: zevo-cli COMMAND [options]\n"
            "\n"
            "The ZEVO unit from the command line: results on standard output, messages on standard error.\n"
            "\n"
            "Commands:\n"
            "  ports          the serial ports with the COM numbers the tool gives them\n"
            "  status         the unit's status frames, one line each\n"
            "  read           read the unit's parameter set into an ign file\n"
            "  verify         compare an ign file with the unit's parameter set\n"
            "  program        program an ign file into the unit\n"
            "  ign-normalize  an ign file as the tool writes it\n"
            "\n"
            "'zevo-cli COMMAND --help' describes each command; 'zevo-cli --version' prints the release.\n";
        return text + std::string(ExitCodes);
    }
    switch (*command) {
    case Command::Ports:
        text = "Usage: zevo-cli ports\n\n"
               "Lists every serial port present: its COM number, its device path and, for USB adapters,\n"
               "vendor and product identifiers, names and serial number.\n";
        break;
    case Command::Status:
        text = "Usage: zevo-cli status [--port P] [--count N] [--csv]\n\n"
               "Prints one line per status frame of the unit: time, RPM, TP % (\"error\" for a sensor\n"
               "fault), TP mV, supply V, desired and measured mV of servo 1 and 2, programming counter,\n"
               "storing countdown, data-error flag and the unit's program version.\n"
               "Runs until N frames were printed, or until Ctrl+C (which ends it with exit code 0).\n\n" +
               std::string(PortHelp) +
               "  --count N  stop after N frames\n"
               "  --csv      comma-separated values with a header line and ISO-8601 times\n";
        break;
    case Command::Read:
        text = "Usage: zevo-cli read [--port P] OUT.ign [--image OUT.img]\n\n"
               "Reads the unit's parameter set, then verifies it against the unit. Only when the verify\n"
               "pass succeeds is OUT.ign written (and OUT.img, the whole 400-byte image in the tool's\n"
               "parameter image file format).\n\n" +
               std::string(PortHelp) + "  --image F  also write the parameter image file F\n";
        break;
    case Command::Verify:
        text = "Usage: zevo-cli verify [--port P] FILE.ign\n\n"
               "Reads the unit and compares every field FILE.ign carries with the unit's value. Prints each\n"
               "difference with its name and place in the units the editor shows, then their count.\n"
               "Exit code 1 when anything differs.\n\n" +
               std::string(PortHelp);
        break;
    case Command::Program:
        text = "Usage: zevo-cli program [--port P] FILE.ign\n\n"
               "Reads the unit first (its identification page and the bytes no ign file carries are kept),\n"
               "applies FILE.ign as the tool's Open does, programs, verifies, and waits until the unit\n"
               "reports that it has finished storing. Exit code 0 only then.\n\n" +
               std::string(PortHelp);
        break;
    case Command::IgnNormalize:
        text = "Usage: zevo-cli ign-normalize FILE.ign [--base IMAGE]\n\n"
               "Reads FILE.ign onto the default parameter set (or onto the parameter image file IMAGE),\n"
               "repairs it as the tool's Open does, and writes the resulting ign text to standard output.\n\n"
               "  --base F   start from the parameter image file F instead of the defaults\n";
        break;
    }
    return text + std::string(ExitCodes);
}

} // namespace zevo::cli
