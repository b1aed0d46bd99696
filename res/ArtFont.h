#pragma once

#include <QFont>
#include <QString>

// The face the program's pictures are drawn in, fully hinted so that small sizes stay crisp.
inline QFont ArtFont(int pixelSize, QFont::Weight weight) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}
