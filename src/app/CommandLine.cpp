#include "app/CommandLine.h"

Options ParseOptions(const std::vector<std::string>& args) {
    static const std::string kFlag = "--settings-dir";
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == kFlag) {
            if (i + 1 >= args.size()) {
                options.error = kFlag + " needs a folder";
                return options;
            }
            options.settingsDir = args[++i];
        } else if (arg.compare(0, kFlag.size() + 1, kFlag + "=") == 0) {
            options.settingsDir = arg.substr(kFlag.size() + 1);
        } else {
            options.error = "unknown argument: " + arg;
        }
    }
    return options;
}
