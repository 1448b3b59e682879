#include "FuzzInput.h"
#include "PropertyHolders.h"

#include "lib/data/Qkcommon.h"

// The input's lines as every list property at once; the field names asked
// for are the first parts of its own lines.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = fuzzText(data, size).split(QLatin1Char('\n'));
    fixture::ListHolder holder;
    holder.PictureMasks = lines;
    holder.ControlType = lines;
    holder.LookupFields = lines;
    holder.LookupLinks = lines;
    for (const QString &line : lines) {
        const QString field = line.section(QLatin1Char('\t'), 0, 0);
        qkGetPictureMask(&holder, field, false);
        QString type;
        QString parameters;
        qkGetControlType(&holder, line.section(QLatin1Char(';'), 0, 0), type, parameters);
        int index = 0;
        qkFindFieldInList(lines, field, index);
        for (int pos = 1; pos <= line.size() + 1;) {
            const int before = pos;
            QString token;
            qkGetQuotedToken(line, pos, token);
            if (pos <= before)
                break;
        }
    }
    qkSetPictureMask(&holder, QStringLiteral("Nr"), QStringLiteral("#*#"), true, false, true, true, true);
    return 0;
}
