#pragma once
// Menu command identifiers (the WM_COMMAND low word) and the application-defined window
// messages through which the hex view, the side windows and the workers reach the main
// window.

#include "hexview/HexViewMessages.h"
#include "inspector/InspectorMessages.h"
#include "structview/StructViewMessages.h"

#include <cstdint>

namespace tvx {

enum CommandId : std::uint16_t {
    kCmdOpen = 1001,
    kCmdSave = 1002,
    kCmdClose = 1003,
    kCmdReadOnly = 1004,
    kCmdFind = 1005,
    kCmdGoTo = 1006,
    kCmdEncodingAscii = 1007,
    kCmdEncodingUtf8 = 1008,
    kCmdEncodingUtf16Le = 1009,
    kCmdEncodingUtf16Be = 1010,
    kCmdThemeLight = 1011,
    kCmdThemeDarkBlue = 1012,
    kCmdThemeBlack = 1013,
    kCmdZoomOut = 1014,
    kCmdZoomIn = 1015,
    kCmdZoomReset = 1016,
    kCmdFont = 1017,
    kCmdDataInspector = 1018,
    kCmdStructView = 1019,
    kCmdExit = 1020,
    kCmdLanguageSystem = 1021,
    kCmdLanguageEnglish = 1022,
    kCmdLanguageJapanese = 1023,
    kCmdAbout = 1024,
    kCmdUndo = 1030,
    kCmdRedo = 1031,
    kCmdCut = 1032,
    kCmdCopy = 1033,
    kCmdPaste = 1034,
    kCmdSelectAll = 1035,
    kCmdReplace = 1036,
    kCmdFindNextAgain = 1037,
    kCmdFindPreviousAgain = 1038,
    kCmdSaveAs = 1039,
    kCmdCopyAsHexSpaced = 1040,  // to kCmdCopyAsBase64 in the order of CopyFormat
    kCmdCopyAsHexCompact = 1041,
    kCmdCopyAsCArray = 1042,
    kCmdCopyAsPythonBytes = 1043,
    kCmdCopyAsBase64 = 1044,
    kCmdFillSelection = 1045,
    kCmdInsertBytes = 1046,
    kCmdChecksums = 1047,
    kCmdSaveSelectionAs = 1048,
    kCmdRecentFileFirst = 4000,  // 4000 + index into the recent-files list
};

// Offsets from WM_APP (0x8000) of the workers' results; the windows' own messages are in
// the headers above, in ranges apart.
enum AppMessageOffset : std::uint32_t {
    kAppInspectorResult = 10,
    kAppStructResult = 14,
    kAppCheckDiskChange = 18,  // the window was activated: has the file changed on disk?
};

}  // namespace tvx
