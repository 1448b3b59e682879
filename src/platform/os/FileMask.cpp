#include "platform/os/FileMask.h"

#include "platform/os/Paths.h"

#include <QDir>

#include <algorithm>

namespace os {

namespace {

bool wildcardMatch(const QString &name, const QString &mask)
{
    int n = 0, m = 0, starMask = -1, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == QLatin1Char('*')) {
            starMask = m++;
            starName = n;
        } else if (m < mask.size()
                   && (mask[m] == QLatin1Char('?') || mask[m].toCaseFolded() == name[n].toCaseFolded())) {
            ++m;
            ++n;
        } else if (starMask >= 0) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == QLatin1Char('*'))
        ++m;
    return m == mask.size();
}

} // namespace

bool matchesMask(const QString &name, const QString &mask)
{
    if (mask == QLatin1String("*.*") || wildcardMatch(name, mask))
        return true;
    return mask.endsWith(QLatin1Char('.')) && !name.contains(QLatin1Char('.')) && wildcardMatch(name, mask.chopped(1));
}

QStringList findFiles(const QString &pathWithMask)
{
    QString normal = pathWithMask;
    normal.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const int slash = normal.lastIndexOf(QLatin1Char('/'));
    const QString mask = normal.mid(slash + 1);
    const QString folder = slash < 0 ? QString() : resolvePath(normal.left(slash + 1));
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.erase(
        std::remove_if(names.begin(), names.end(), [&](const QString &name) { return !matchesMask(name, mask); }),
        names.end());
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QStringList paths;
    for (const QString &name : names)
        paths << folder + name;
    return paths;
}

} // namespace os
