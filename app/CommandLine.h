#pragma once
// The program's command-line options, parsed into CommandLineOptions. The
// parser only reads the words; the application acts on the result.
//
//   -play              play back the demo file
//   -record            record a demo file
//   -playnum=<n>       play back "demo<n>.dmo" (implies -play)
//   -recnum=<n>        record into "demo<n>.dmo" (implies -record)
//   -demofile=<name>   the demo file to play or record (default "demo.dmo";
//                      wins over the numbered names)
//   -crash             provoke a crash after start-up (tests the crash report)
//   -screensaver       run as a screen saver
//   -changedir         change the working folder to the program's folder
//
// Option names are matched without regard to case; a value follows '=' in the
// same word (n is a decimal number >= 0, a name is not empty). Anything else -
// an unknown word, a flag given a value, a value option without one - makes
// the parse fail with the error text "Invalid command line parameter: " +
// that word, which the application shows as a fatal error.
#include <string>
#include <vector>

namespace Lumo {

struct CommandLineOptions
{
    bool play = false;
    bool record = false;
    int playNumber = -1;   // -playnum, -1 when not given
    int recordNumber = -1; // -recnum, -1 when not given
    std::string demoFile;  // -demofile, "" when not given
    bool crash = false;
    bool screenSaver = false;
    bool changeDir = false;

    // The demo file to use: -demofile, else "demo<n>.dmo" from -playnum (when
    // playing) or -recnum, else "demo.dmo".
    std::string GetDemoFileName() const;
};

// Parses the words after the program name. On failure returns false with the
// error text set; options then holds what was parsed before the bad word.
[[nodiscard]] bool ParseCommandLine(const std::vector<std::string>& args, CommandLineOptions& options,
                                    std::string& error);
// The same for main's arguments (argv[0], the program, is skipped).
[[nodiscard]] bool ParseCommandLine(int argc, const char* const* argv, CommandLineOptions& options,
                                    std::string& error);

} // namespace Lumo
