#include "app/CommandLine.h"

#include "app/Common.h"

namespace Lumo {

namespace {

const char kInvalidParameter[] = "Invalid command line parameter: ";

// One word: name and (after '=') value.
bool ApplyOption(const std::string& name, const std::string* value, CommandLineOptions& options)
{
    bool* flag = nullptr;
    if (name == "-play")
        flag = &options.play;
    else if (name == "-record")
        flag = &options.record;
    else if (name == "-crash")
        flag = &options.crash;
    else if (name == "-screensaver")
        flag = &options.screenSaver;
    else if (name == "-changedir")
        flag = &options.changeDir;
    if (flag != nullptr)
    {
        if (value != nullptr)
            return false;
        *flag = true;
        return true;
    }

    if (value == nullptr || value->empty())
        return false;
    if (name == "-demofile")
    {
        options.demoFile = *value;
        return true;
    }
    int number = 0;
    if (!StringToInt(*value, number) || number < 0 || value->find_first_not_of("0123456789") != std::string::npos)
        return false;
    if (name == "-playnum")
    {
        options.playNumber = number;
        options.play = true;
        return true;
    }
    if (name == "-recnum")
    {
        options.recordNumber = number;
        options.record = true;
        return true;
    }
    return false;
}

} // namespace

std::string CommandLineOptions::GetDemoFileName() const
{
    if (!demoFile.empty())
        return demoFile;
    const int number = play && playNumber >= 0 ? playNumber : recordNumber >= 0 ? recordNumber : playNumber;
    if (number >= 0)
        return FormatString("demo%d.dmo", number);
    return "demo.dmo";
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLineOptions& options, std::string& error)
{
    error.clear();
    for (const std::string& word : args)
    {
        const size_t equals = word.find('=');
        const std::string name = ToLowerCase(word.substr(0, equals));
        const std::string value = equals == std::string::npos ? std::string() : word.substr(equals + 1);
        if (!ApplyOption(name, equals == std::string::npos ? nullptr : &value, options))
        {
            error = kInvalidParameter + word;
            return false;
        }
    }
    return true;
}

bool ParseCommandLine(int argc, const char* const* argv, CommandLineOptions& options, std::string& error)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i] != nullptr ? argv[i] : "");
    return ParseCommandLine(args, options, error);
}

} // namespace Lumo
