#pragma once
// The program's own command-line arguments as UTF-16 text.

#include <string>
#include <vector>

namespace tvx::platform {

// Windows reads the wide command line (argv is in the ANSI code page there);
// elsewhere argv is decoded by DecodeUtf8Bytes, so that file names
// reach the file system byte for byte. The first element is the program.
[[nodiscard]] std::vector<std::u16string> CommandLineArguments(int argc, char** argv);

}  // namespace tvx::platform
