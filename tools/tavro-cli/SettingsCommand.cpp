// tavro-cli settings: the settings record as Tavro reads it from a file, for checking a
// hand-edited file.

#include "platform/AppLocation.h"
#include "platform/File.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLifecycle.h"
#include "settings/SettingsNames.h"
#include "tools/tavro-cli/Command.h"

#include <cstdio>
#include <ostream>

namespace tvx::cli {
namespace {

// UTF-8 with control characters spelled out, so that every entry stays on its line.
std::string Printable(const std::u16string& text) {
    std::string out;
    for (const char c : Narrow(text)) {
        if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
            out += escape;
        } else {
            out += c;
        }
    }
    return out;
}

const char* Shown(bool visible) { return visible ? "shown" : "hidden"; }

void PrintRecord(std::ostream& out, const AppSettings& s) {
    out << "appVersion:    " << Printable(s.appVersion) << "\n"
        << "encoding:      " << EncodingName(s.encoding) << "\n"
        << "theme:         " << ThemeName(s.theme) << "\n"
        << "language:      " << LanguageName(s.language) << "\n"
        << "font:          " << Printable(s.fontFamily) << ", " << s.fontSize << " pt" << (s.bold ? ", bold" : "")
        << (s.italic ? ", italic" : "") << "\n"
        << "dataInspector: " << Shown(s.dataInspectorVisible) << "\n"
        << "structView:    " << Shown(s.structViewVisible) << "; byte arrays " << ByteArrayFormatName(s.byteArrayFormat)
        << ", byte order " << ByteOrderName(s.byteOrder) << ", numbers " << NumericBaseName(s.numericBase) << "\n"
        << "recentFiles:   " << s.recentFiles.size() << "\n";
    for (std::size_t i = 0; i < s.recentFiles.size(); ++i)
        out << "  " << i + 1 << "  " << Printable(s.recentFiles[i]) << "\n";
    out << "searchHistory: " << s.searchHistory.size() << "\n";
    for (std::size_t i = 0; i < s.searchHistory.size(); ++i)
        out << "  " << i + 1 << "  " << Printable(s.searchHistory[i].kind) << "  "
            << Printable(s.searchHistory[i].query) << "\n";
}

int RunSettings(CommandContext& context) {
    if (context.args.size() > 1) return UsageError(context, kSettingsCommand, "expected at most one path");
    if (!context.args.empty() && context.args[0].starts_with(u"--"))
        return UsageError(context, kSettingsCommand, "unexpected argument '" + Narrow(context.args[0]) + "'");
    const std::u16string path =
        context.args.empty() ? ComputeSettingsPath(platform::ExecutableDirectory()) : context.args[0];

    // Values the file lacks or Tavro does not understand keep the defaults, as at start-up.
    AppSettings settings;
    if (!ReadSettingsFile(settings, path)) {
        const std::u16string reason = platform::SystemErrorText(platform::LastError());
        context.err << "tavro-cli: cannot read '" << Narrow(path) << "'"
                    << (reason.empty() ? "" : ": " + Narrow(reason)) << "\n";
        return kExitFailure;
    }
    context.out << "file:          " << Narrow(path) << "\n";
    PrintRecord(context.out, settings);
    if (settings.appVersion != kAppVersion)
        context.out << "note: the version is not " << Narrow(kAppVersion) << "; Tavro rewrites the file at its next start\n";
    return kExitOk;
}

}  // namespace

const Command kSettingsCommand{"settings", "[PATH]",
                               "Prints the settings Tavro reads from PATH (default: tavro.settings.json where "
                               "Tavro keeps it); values the file lacks show their defaults.",
                               RunSettings};

}  // namespace tvx::cli
