#include "lib/data/Qkpict.h"
#include <cstdio>
int main(int argc, char **argv)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        TqkPictureValidator v(QString::fromUtf8(argv[i]), false);
        QString t = QString::fromUtf8(argv[i + 1]);
        int r = v.Picture(t, false);
        printf("%s / %s -> %d %s\n", argv[i], argv[i + 1], r, qPrintable(t));
    }
}
