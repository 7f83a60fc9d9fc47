#include "app/CommandLine.h"

#include "Version.h"
#include "app/StartUp.h"

Options ParseOptions(const std::vector<std::string>& args) {
    static const std::string kFlag = "--settings-dir";
    Options options;
    for (size_t i = 0; i < args.size() && options.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (arg == kFlag) {
            if (i + 1 >= args.size()) {
                options.error = kFlag + " needs a folder";
                return options;
            }
            options.settingsDir = args[++i];
        } else if (arg.compare(0, kFlag.size() + 1, kFlag + "=") == 0) {
            options.settingsDir = arg.substr(kFlag.size() + 1);
        } else if (arg == "--help" || arg == "-h" || arg == "/?") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else {
            options.error = "unknown argument: " + arg;
        }
    }
    return options;
}

std::string UsageText() {
    return "Usage: skyslate2 [--settings-dir FOLDER]\n"
           "Short text notes straight on the desktop.\n"
           "\n"
           "  --settings-dir FOLDER  keep the notes in FOLDER/TextSetting.ini\n"
           "  --help                 show this text and exit\n"
           "  --version              show the version and exit\n"
           "\n"
           "Without --settings-dir the notes are TextSetting.ini in the current folder when it has one,\n"
           "otherwise in the user's own settings folder.\n";
}

std::string VersionText() { return "Skyslate2 " SKYSLATE_VERSION "\n"; }

std::optional<int> AnswerCommandLine(const Options& options, Console& console) {
    if (!options.error.empty()) {
        console.Print("skyslate2: " + options.error + "\n" + UsageText(), true);
        return kExitBadArguments;
    }
    if (options.help) {
        console.Print(UsageText(), false);
        return kExitOk;
    }
    if (options.version) {
        console.Print(VersionText(), false);
        return kExitOk;
    }
    return std::nullopt;
}
