#include "structview/StructViewCopyText.h"

#include "platform/AppLocation.h"
#include "structpattern/PatternLoader.h"
#include "structpattern/StructRows.h"

#include <gtest/gtest.h>

#include <memory>

namespace tvx {
namespace {

StructViewLabels EnglishLabels() {
    StringTable strings(platform::ExecutableDirectory(), [] { return std::u16string(); });
    strings.SetLanguage(Language::English);
    return LoadStructViewLabels(strings);
}

TEST(StructViewLabels, EveryKeyIsInBothTables) {
    for (const Language language : {Language::English, Language::Japanese}) {
        StringTable strings(platform::ExecutableDirectory(), [] { return std::u16string(); });
        strings.SetLanguage(language);
        const StructViewLabels labels = LoadStructViewLabels(strings);
        for (const std::u16string* text :
             {&labels.title, &labels.definitionHeader, &labels.nameColumn, &labels.sizeColumn, &labels.offsetColumn,
              &labels.typeColumn, &labels.valueColumn, &labels.emptyMessage, &labels.openButton, &labels.reloadButton,
              &labels.closeButton, &labels.infoButton, &labels.errorPrefix, &labels.byteArrayMenu, &labels.byteArrayHex,
              &labels.byteArrayAscii, &labels.endianMenu, &labels.endianLittle, &labels.endianBig,
              &labels.numericBaseMenu, &labels.numericBaseHex, &labels.numericBaseDec})
            EXPECT_FALSE(text->empty() || text->starts_with(u"structview.")) << static_cast<int>(language);
    }
}

TEST(StructViewCopyText, DefinitionLineNamesThePatternOrADash) {
    const StructViewLabels labels = EnglishLabels();
    EXPECT_EQ(FormatDefinitionLine(labels, u"bmp.tvsd"), u"Definition: bmp.tvsd");
    EXPECT_EQ(FormatDefinitionLine(labels, u""), u"Definition: -");
}

TEST(StructViewCopyText, EmptyMessage) {
    const StructViewLabels labels = EnglishLabels();
    EXPECT_EQ(BuildStructViewCopyText(labels, StructViewState::Message, u"", u"", {}),
              u"Struct View\r\nDefinition: -\r\n\r\n");
}

TEST(StructViewCopyText, MessageAndError) {
    const StructViewLabels labels = EnglishLabels();
    EXPECT_EQ(BuildStructViewCopyText(labels, StructViewState::Message, u"", labels.emptyMessage, {}),
              u"Struct View\r\nDefinition: -\r\n\r\n" + labels.emptyMessage);
    // A failed load keeps the file's name, and its error follows the prefix.
    EXPECT_EQ(BuildStructViewCopyText(labels, StructViewState::Error, u"bad.tvsd", u"Line 3, column 7: expected ';'", {}),
              u"Struct View\r\nDefinition: bad.tvsd\r\n\r\n"
              u"The struct pattern could not be loaded: Line 3, column 7: expected ';'");
    EXPECT_EQ(FormatStructViewMessage(labels, StructViewState::Error, u"oops"),
              u"The struct pattern could not be loaded: oops");
    EXPECT_EQ(FormatStructViewMessage(labels, StructViewState::Message, u"oops"), u"oops");
}

TEST(StructViewCopyText, LoadedWithoutRowsGivesTheHeadings) {
    const StructViewLabels labels = EnglishLabels();
    EXPECT_EQ(BuildStructViewCopyText(labels, StructViewState::Loaded, u"x.tvsd", u"ignored", {}),
              u"Struct View\r\nDefinition: x.tvsd\r\n\r\nOffset\tValue\tSize\tName");
}

// The table of a BMP header, as the rows are built for the window.
TEST(StructViewCopyText, BmpHeaderTable) {
    StructPatternFile file;
    std::u16string error;
    ASSERT_TRUE(LoadStructPatternFile(platform::ExecutableDirectory() + u"/patterns/bmp.tvsd", file, error)) << "load";
    StructEvalRequest request;
    request.baseOffset = 0;
    request.data = {'B', 'M', 0x46, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0, 40, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0,
                    1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    request.file = std::make_shared<const StructPatternFile>(file);
    request.unavailableText = u"n/a";
    const std::vector<StructViewRow> rows = BuildStructRows(request);
    const std::u16string text = BuildStructViewCopyText(EnglishLabels(), StructViewState::Loaded, u"bmp.tvsd", u"", rows);
    EXPECT_EQ(text,
              u"Struct View\r\nDefinition: bmp.tvsd\r\n\r\n"
              u"Offset\tValue\tSize\tName\r\n"
              u"0x0\t\t14\tfile : BITMAPFILEHEADER\r\n"
              u"0x0\t0x4D42\t2\t  bfType\r\n"
              u"0x2\t0x00000046\t4\t  bfSize\r\n"
              u"0x6\t0x0000\t2\t  bfReserved1\r\n"
              u"0x8\t0x0000\t2\t  bfReserved2\r\n"
              u"0xA\t0x00000036\t4\t  bfOffBits\r\n"
              u"0xE\t\t40\tinfo : BITMAPINFOHEADER\r\n"
              u"0xE\t0x00000028\t4\t  biSize\r\n"
              u"0x12\t0x00000004\t4\t  biWidth\r\n"
              u"0x16\t0x00000002\t4\t  biHeight\r\n"
              u"0x1A\t0x0001\t2\t  biPlanes\r\n"
              u"0x1C\t0x0018\t2\t  biBitCount\r\n"
              u"0x1E\t0x00000000\t4\t  biCompression\r\n"
              u"0x22\t0x00000010\t4\t  biSizeImage\r\n"
              u"0x26\t0x00000B13\t4\t  biXPelsPerMeter\r\n"
              u"0x2A\t0x00000B13\t4\t  biYPelsPerMeter\r\n"
              u"0x2E\t0x00000000\t4\t  biClrUsed\r\n"
              u"0x32\t0x00000000\t4\t  biClrImportant");
}

}  // namespace
}  // namespace tvx
