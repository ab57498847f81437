#include "structview/StructViewLabels.h"

namespace tvx {

StructViewLabels LoadStructViewLabels(StringTable& strings) {
    StructViewLabels labels;
    labels.title = strings.GetText("structview.title");
    labels.definitionHeader = strings.GetText("structview.header.definition");
    labels.nameColumn = strings.GetText("structview.column.name");
    labels.sizeColumn = strings.GetText("structview.column.size");
    labels.offsetColumn = strings.GetText("structview.column.offset");
    labels.typeColumn = strings.GetText("structview.column.type");
    labels.valueColumn = strings.GetText("structview.column.value");
    labels.emptyMessage = strings.GetText("structview.empty.message");
    labels.openButton = strings.GetText("structview.open.button");
    labels.reloadButton = strings.GetText("structview.reload.button");
    labels.closeButton = strings.GetText("structview.close.button");
    labels.infoButton = strings.GetText("structview.info.button");
    labels.errorPrefix = strings.GetText("structview.error.prefix");
    labels.byteArrayMenu = strings.GetText("structview.valueformat.bytearray");
    labels.byteArrayHex = strings.GetText("structview.valueformat.bytearray.hex");
    labels.byteArrayAscii = strings.GetText("structview.valueformat.bytearray.ascii");
    labels.endianMenu = strings.GetText("structview.valueformat.endian");
    labels.endianLittle = strings.GetText("structview.valueformat.endian.little");
    labels.endianBig = strings.GetText("structview.valueformat.endian.big");
    labels.numericBaseMenu = strings.GetText("structview.valueformat.numericbase");
    labels.numericBaseHex = strings.GetText("structview.valueformat.numericbase.hex");
    labels.numericBaseDec = strings.GetText("structview.valueformat.numericbase.dec");
    return labels;
}

}  // namespace tvx
