// korvo-cli: the headless crossword builder. Each subcommand lives in its
// own file; this table routes to it.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/convert_command.h"
#include "cli/fill_command.h"

namespace {

struct Command {
    const char* name;                                                           // subcommand word
    int (*run)(const std::vector<std::string>&, std::ostream&, std::ostream&);  // its entry point
    const char* (*usage)();                                                     // its usage lines
};

const Command kCommands[] = {
    {"fill", &korvo::cli::RunFillCommand, &korvo::cli::FillUsage},
    {"convert", &korvo::cli::RunConvertCommand, &korvo::cli::ConvertUsage},
};

void PrintUsage(std::ostream& out) {
    out << "usage: korvo-cli COMMAND [OPTIONS]\n";
    for (const Command& c : kCommands) out << c.usage();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(std::cerr);
        return 2;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(std::cout);
        return 0;
    }
    if (name == "--version") {
        std::cout << "korvo-cli " << KORVO_VERSION << "\n";
        return 0;
    }
    for (const Command& c : kCommands)
        if (name == c.name) return c.run(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
    std::cerr << "korvo-cli: unknown command '" << name << "'\n";
    PrintUsage(std::cerr);
    return 2;
}
