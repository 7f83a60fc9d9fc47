#include "app/CommandLine.h"

#include "Version.h"
#include "app/StartUp.h"

namespace {

// The value of "--notes-on X" or "--notes-on=X" at args[i] (i moves past it); nothing when args[i] is
// another argument.
std::optional<std::string> NotesOnValue(const std::vector<std::string>& args, size_t& i) {
    static const std::string kFlag = "--notes-on";
    if (args[i].compare(0, kFlag.size() + 1, kFlag + "=") == 0) return args[i].substr(kFlag.size() + 1);
    if (args[i] != kFlag) return std::nullopt;
    return i + 1 < args.size() ? args[++i] : std::string();
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& args, bool offersNotesOn) {
    static const std::string kFlag = "--settings-dir";
    Options options;
    options.offersNotesOn = offersNotesOn;
    for (size_t i = 0; i < args.size() && options.error.empty(); ++i) {
        const std::string& arg = args[i];
        const std::optional<std::string> notesOn = offersNotesOn ? NotesOnValue(args, i) : std::nullopt;
        if (notesOn) {
            if (*notesOn == "x11") options.notesOn = NotesOn::X11;
            else if (*notesOn == "wayland") options.notesOn = NotesOn::Wayland;
            else options.error = "--notes-on needs x11 or wayland";
        } else if (arg == kFlag) {
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

std::string UsageText(bool offersNotesOn) {
    std::string text = offersNotesOn ? "Usage: skyslate2 [--settings-dir FOLDER] [--notes-on x11|wayland]\n"
                                     : "Usage: skyslate2 [--settings-dir FOLDER]\n";
    text += "Short text notes straight on the desktop.\n"
            "\n"
            "  --settings-dir FOLDER  keep the notes in FOLDER/TextSetting.ini\n";
    if (offersNotesOn)
        text += "  --notes-on wayland     notes of the Wayland compositor's own (its layer shell)\n"
                "  --notes-on x11         notes as X11 windows (also through XWayland)\n";
    text += "  --help                 show this text and exit\n"
            "  --version              show the version and exit\n"
            "\n"
            "Without --settings-dir the notes are TextSetting.ini in the current folder when it has one,\n"
            "otherwise in the user's own settings folder.\n";
    if (offersNotesOn)
        text += "Without --notes-on the notes are the compositor's own where it offers a layer shell\n"
                "(KDE Plasma, sway and the other wlroots compositors), X11 windows elsewhere.\n";
    return text;
}

std::string VersionText() { return "Skyslate2 " SKYSLATE_VERSION "\n"; }

std::optional<int> AnswerCommandLine(const Options& options, Console& console) {
    if (!options.error.empty()) {
        console.Print("skyslate2: " + options.error + "\n" + UsageText(options.offersNotesOn), true);
        return kExitBadArguments;
    }
    if (options.help) {
        console.Print(UsageText(options.offersNotesOn), false);
        return kExitOk;
    }
    if (options.version) {
        console.Print(VersionText(), false);
        return kExitOk;
    }
    return std::nullopt;
}
