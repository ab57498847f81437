// tavro-cli settings: the settings record as Tavro reads it from a file, for checking a
// hand-edited file.

#include "platform/AppLocation.h"
#include "platform/File.h"
#include "platform/FileContents.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLifecycle.h"
#include "settings/SettingsNames.h"
#include "tools/tavro-cli/Command.h"
#include "tools/tavro-cli/SettingsCheck.h"
#include "tools/tavro-cli/TerminalText.h"

#include <optional>
#include <ostream>

namespace tvx::cli {
namespace {

constexpr std::size_t kMaxCheckedBytes = 64u << 20;  // as much as the reader takes

const char* Shown(bool visible) { return visible ? "shown" : "hidden"; }

void PrintRecord(std::ostream& out, const AppSettings& s) {
    out << "appVersion:    " << TerminalText(s.appVersion) << "\n"
        << "encoding:      " << EncodingName(s.encoding) << "\n"
        << "theme:         " << ThemeName(s.theme) << "\n"
        << "language:      " << LanguageName(s.language) << "\n"
        << "font:          " << TerminalText(s.fontFamily) << ", " << s.fontSize << " pt" << (s.bold ? ", bold" : "")
        << (s.italic ? ", italic" : "") << "\n"
        << "dataInspector: " << Shown(s.dataInspectorVisible) << "\n"
        << "structView:    " << Shown(s.structViewVisible) << "; byte arrays " << ByteArrayFormatName(s.byteArrayFormat)
        << ", byte order " << ByteOrderName(s.byteOrder) << ", numbers " << NumericBaseName(s.numericBase) << "\n"
        << "recentFiles:   " << s.recentFiles.size() << "\n";
    for (std::size_t i = 0; i < s.recentFiles.size(); ++i)
        out << "  " << i + 1 << "  " << TerminalText(s.recentFiles[i]) << "\n";
    out << "searchHistory: " << s.searchHistory.size() << "\n";
    for (std::size_t i = 0; i < s.searchHistory.size(); ++i)
        out << "  " << i + 1 << "  " << TerminalText(s.searchHistory[i].kind) << "  "
            << TerminalText(s.searchHistory[i].query) << "\n";
}

int RunSettings(CommandContext& context) {
    std::optional<std::u16string> given;
    ArgumentReader reader(context.args);
    while (reader.Next()) {
        if (reader.IsOption()) return UsageError(context, kSettingsCommand, "unexpected argument " + Quoted(reader.Current()));
        if (given) return UsageError(context, kSettingsCommand, "expected at most one path");
        given = reader.Current();
    }
    const std::u16string path = given ? *given : ComputeSettingsPath(platform::ExecutableDirectory());

    // Values the file lacks or Tavro does not understand keep the defaults, as at start-up.
    AppSettings settings;
    if (!ReadSettingsFile(settings, path)) {
        const std::u16string reason = platform::SystemErrorText(platform::LastError());
        return Failure(context, "cannot read " + Quoted(path) + (reason.empty() ? "" : ": " + TerminalText(reason)));
    }
    context.out << "file:          " << TerminalText(path) << "\n";
    PrintRecord(context.out, settings);
    // The editor passes over whatever it does not understand; here it is named.
    std::string bytes;
    const SettingsCheck check =
        platform::ReadFileContents(path, kMaxCheckedBytes, bytes) ? CheckSettingsText(bytes) : SettingsCheck{};
    for (const std::string& problem : check.problems) context.err << "tavro-cli: warning: " << problem << "\n";
    if (settings.appVersion != kAppVersion)
        context.out << "note: the version is not " << TerminalText(kAppVersion) << "; Tavro rewrites the file at its next start\n";
    return check.validJson ? kExitOk : kExitFailure;
}

}  // namespace

const Command kSettingsCommand{"settings", "[PATH]",
                               "Prints the settings Tavro reads from PATH (default: tavro.settings.json where "
                               "Tavro keeps it); values the file lacks show their defaults. Values Tavro does not understand are "
                               "named on standard error; exit code 1 when the file is not valid JSON.",
                               "", RunSettings};

}  // namespace tvx::cli
