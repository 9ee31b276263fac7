#include "windows/fonts.h"

#include <QStringList>

namespace quorel {

QFont japaneseFont(const QString& family, int pointSize) {
    QFont f;
    QStringList families{family};
    for (const char* fallback :
         {"IPAPGothic", "IPAGothic", "IPAexGothic", "Noto Sans CJK JP", "Noto Sans JP",
          "VL PGothic", "TakaoPGothic", "Droid Sans Japanese"})
        if (family != QLatin1String(fallback))
            families << QString::fromLatin1(fallback);
    f.setFamilies(families);
    if (pointSize > 0)
        f.setPointSize(pointSize);
    return f;
}

} // namespace quorel
