#pragma once
#include <QFont>
#include <QString>

namespace quorel {

// The station's default face. Windows stations name "ＭＳ Ｐゴシック"; where that
// face is missing (every Linux machine) the installed Japanese faces stand in, so
// captions never draw as boxes.
inline const QString kDefaultFace = QStringLiteral("ＭＳ Ｐゴシック");

QFont japaneseFont(const QString& family, int pointSize);

} // namespace quorel
