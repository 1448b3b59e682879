#pragma once

// Result codes, type codes and flags of the report calls; the values are
// fixed by the calling code.
namespace report {

constexpr int LL_OK = 0;
constexpr int LL_WRN_REPEAT_DATA = -998;
constexpr int LL_ERR_USER_ABORTED = -99;
constexpr int LL_ERR_GENERAL = -1;
constexpr int LL_ERR_NO_PRINTER = -11;
constexpr int LL_ERR_PRINTING_FAILED = -12;
constexpr int LL_ERR_NO_PREVIEW_FILES = -17;
constexpr int LL_ERR_LAYOUT = -22;
constexpr int LL_ERR_EXPRESSION = -23;
constexpr int LL_ERR_NO_TABLE = -28;
constexpr int LL_ERR_NOTHING_PRINTABLE = -29;

constexpr int LL_PROJECT_LABEL = 1;
constexpr int LL_PROJECT_LIST = 2;
constexpr int LL_PROJECT_CARD = 3;
constexpr int LL_FUNCTION_CREATE_IF_MISSING = 0x1000;

constexpr int LL_PRINT_NORMAL = 0x100;
constexpr int LL_PRINT_PREVIEW = 0x200;

// The dialog-box style and the job options the print manager sets on the
// jobs it opens; their meaning belongs to the engine, which keeps them.
constexpr int LL_DLGBOXMODE_PRINT_MANAGER = 10;
constexpr int LL_OPTION_JOB_STANDARD = 0;
constexpr int LL_OPTION_RUN_STANDARD = 20;
constexpr int LL_OPTION_ON = 1;

constexpr int LL_PRNOPT_COPIES = 0;
constexpr int LL_PRNOPT_LASTPAGE = 6;
constexpr int LL_DEFAULT_LASTPAGE = 9999;
// The document name a printer queue shows and the built-in PDF printer names its file after.
constexpr int LL_PRNOPTSTR_PRINTJOBNAME = 1;

constexpr int LL_TYPE_MASK = 0x7fff0fff;
constexpr int LL_TEXT = 0x10000000;
constexpr int LL_NUMERIC = 0x08000000;
constexpr int LL_BOOLEAN = 0x02000000;
constexpr int LL_DRAWING_HBITMAP = 0x20000004;
constexpr int LL_BARCODE = 0x40000000;
constexpr int LL_BARCODE_EAN13 = 0x40000000;
constexpr int LL_BARCODE_EAN8 = 0x40000001;
constexpr int LL_BARCODE_UPCA = 0x40000002;
constexpr int LL_BARCODE_UPCE = 0x40000003;
constexpr int LL_BARCODE_3OF9 = 0x40000004;
constexpr int LL_BARCODE_25INDUSTRIAL = 0x40000005;
constexpr int LL_BARCODE_25DATALOGIC = 0x40000007;
constexpr int LL_BARCODE_25MATRIX = 0x40000008;
constexpr int LL_BARCODE_POSTNET = 0x40000009;
constexpr int LL_BARCODE_FIM = 0x4000000a;
constexpr int LL_BARCODE_CODABAR = 0x4000000b;
constexpr int LL_BARCODE_EAN128 = 0x4000000c;
constexpr int LL_BARCODE_CODE128 = 0x4000000d;

constexpr int LL_TABLE_HEADERFIELD = 0x2000;
constexpr int LL_TABLE_FOOTERFIELD = 0x8000;

inline int baseType(int type)
{
    return type & ~(LL_TABLE_HEADERFIELD | LL_TABLE_FOOTERFIELD);
}

inline bool isBarcodeType(int type)
{
    return (baseType(type) & 0xf0000000) == LL_BARCODE;
}

}
