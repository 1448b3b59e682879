#pragma once

#include "platform/report/Page.h"

namespace report {

// Encodes `data` in the symbology of a barcode type code. "|" separators are
// removed and EAN check digits computed; bad data gives an invalid shape
// with the library's reason.
BarcodeShape encodeBarcode(int symbology, const QString &data, bool withText);

}
