#pragma once

// What the pages of a PDF that Qt's writer made draw, read back from the file for tests to judge
// by: the runs of text with their words, font and place, and the shapes with their pen or fill.
// Places are in the writer's units from the top left of the area within the page's margins, as
// the painter drew them: the writer maps that area onto the page by one matrix at the start of
// each page and draws everything else in those units, so the reader leaves matrices aside.

#include <QColor>
#include <QFile>
#include <QHash>
#include <QList>
#include <QPolygonF>
#include <QRectF>
#include <QRegularExpression>
#include <QString>

#include <algorithm>

struct PdfText {
    QString text;
    QPointF at; // the first glyph's origin, on the baseline
    qreal size; // the font's size in the writer's units, as the writer rounds it
    bool bold;
    QColor colour;
};

struct PdfShape {
    QRectF bounds; // of every point of the path, the curves' control points included
    bool filled;   // else stroked
    bool curved;
    qreal width; // the pen's, for a stroke
    QColor colour;
    QRectF clip; // the bounds of the clip it is drawn within; none when null
};

struct PdfPage {
    QSizeF points; // the media box
    QList<PdfText> texts;
    QList<PdfShape> shapes;
};

namespace pdf_pages {

// The file's objects by number: their dictionaries and their streams, inflated where deflated.
struct PdfObject {
    QByteArray dictionary;
    QByteArray stream;
};

inline QHash<int, PdfObject> ReadObjects(const QByteArray& file) {
    static const QRegularExpression start(QStringLiteral("(?:^|\\n)(\\d+) 0 obj\\s*"));
    QHash<int, PdfObject> objects;
    const QString text = QString::fromLatin1(file);
    for (const QRegularExpressionMatch& m : start.globalMatch(text)) {
        const qsizetype from = m.capturedEnd(), end = file.indexOf("endobj", from);
        const QByteArray body = file.mid(from, end - from);
        PdfObject object;
        const qsizetype stream = body.indexOf("stream\n");
        object.dictionary = stream < 0 ? body : body.left(stream);
        if (stream >= 0) {
            object.stream = body.mid(stream + 7, body.lastIndexOf("endstream") - stream - 7);
            // The size told first is only where inflating starts; the buffer grows as needed.
            if (object.dictionary.contains("/FlateDecode"))
                object.stream = qUncompress(QByteArray("\0\0\x10\0", 4) + object.stream);
        }
        objects.insert(m.captured(1).toInt(), object);
    }
    return objects;
}

inline int Reference(const QByteArray& dictionary, const char* key) {
    const QRegularExpression re(QStringLiteral("%1\\s+(\\d+) 0 R").arg(QLatin1String(key)));
    return re.match(QString::fromLatin1(dictionary)).captured(1).toInt();
}

// A font's glyph codes to its characters, from its ToUnicode map's ranges and single codes.
inline QHash<int, QString> ReadCharacters(const QByteArray& map) {
    QHash<int, QString> characters;
    const auto hex = [](const QString& s) { return s.toInt(nullptr, 16); };
    static const QRegularExpression range(
        QStringLiteral("<(\\w+)>\\s*<(\\w+)>\\s*(\\[[^\\]]*\\]|<\\w+>)"));
    static const QRegularExpression code(QStringLiteral("<(\\w+)>"));
    for (const QRegularExpressionMatch& m : range.globalMatch(QString::fromLatin1(map))) {
        const int low = hex(m.captured(1)), high = hex(m.captured(2));
        QList<int> targets;
        for (const QRegularExpressionMatch& t : code.globalMatch(m.captured(3)))
            targets << hex(t.captured(1));
        for (int c = low; c <= high; ++c)
            characters.insert(c, QString(QChar(targets.size() > 1 ? targets.value(c - low)
                                                                  : targets.value(0) + c - low)));
    }
    return characters;
}

struct Font {
    bool bold = false;
    QHash<int, QString> characters;
};

// The page's fonts by their resource names.
inline QHash<QString, Font> ReadFonts(const QHash<int, PdfObject>& objects,
                                      const QByteArray& resources) {
    static const QRegularExpression entry(QStringLiteral("/(F\\d+)\\s+(\\d+) 0 R"));
    QHash<QString, Font> fonts;
    for (const QRegularExpressionMatch& m : entry.globalMatch(QString::fromLatin1(resources))) {
        const QByteArray font = objects.value(m.captured(2).toInt()).dictionary;
        fonts.insert(m.captured(1),
                     {font.contains("-Bold"),
                      ReadCharacters(objects.value(Reference(font, "/ToUnicode")).stream)});
    }
    return fonts;
}

// Runs a page's content stream: operands are gathered until the operator that takes them.
class ContentReader {
public:
    ContentReader(PdfPage& page, const QHash<QString, Font>& fonts) : page_(page), fonts_(fonts) {}

    void read(const QByteArray& content) {
        static const QRegularExpression token(
            QStringLiteral("(/\\w+)|<([0-9A-Fa-f]*)>|([-+]?[0-9.]+)|([A-Za-z*'\"]+)|[\\[\\]]"));
        for (const QRegularExpressionMatch& m : token.globalMatch(QString::fromLatin1(content))) {
            if (!m.captured(4).isEmpty()) {
                run(m.captured(4));
                operands_.clear();
            } else if (!m.captured(0).startsWith('[') && !m.captured(0).startsWith(']')) {
                operands_ << m.captured(0);
            }
        }
    }

private:
    struct Pens {
        qreal width = 1;
        QColor stroke = Qt::black, fill = Qt::black;
        QRectF clip;
    };

    qreal number(int i) const { return operands_.value(i).toDouble(); }
    QColor colour() const {
        const qsizetype n = operands_.size();
        return QColor::fromRgbF(float(number(n - 3)), float(number(n - 2)), float(number(n - 1)));
    }
    void point(qreal x, qreal y) { path_ << QPointF(x, y); }

    void run(const QString& op) {
        if (op == "q") {
            saved_ << pens_;
        } else if (op == "Q" && !saved_.isEmpty()) {
            pens_ = saved_.takeLast();
        } else if (op == "w") {
            pens_.width = number(0);
        } else if (op == "SCN" && operands_.size() >= 3) {
            pens_.stroke = colour();
        } else if (op == "scn" && operands_.size() >= 3) {
            pens_.fill = colour();
        } else if (op == "m" || op == "l") {
            point(number(0), number(1));
        } else if (op == "c") {
            curved_ = true;
            for (int i = 0; i < 6; i += 2)
                point(number(i), number(i + 1));
        } else if (op == "re") {
            point(number(0), number(1));
            point(number(0) + number(2), number(1) + number(3));
        } else if (op == "W" || op == "W*") {
            clipping_ = true; // by the path, once it is ended
        } else if (op == "S" || op == "s" || op == "f" || op == "f*" || op == "n") {
            if (op != "n" && !path_.isEmpty())
                page_.shapes << PdfShape{path_.boundingRect(),
                                         op.startsWith('f'),
                                         curved_,
                                         pens_.width,
                                         op.startsWith('f') ? pens_.fill : pens_.stroke,
                                         pens_.clip};
            if (clipping_)
                pens_.clip =
                    pens_.clip.isNull() ? path_.boundingRect() : pens_.clip & path_.boundingRect();
            clipping_ = false;
            path_.clear();
            curved_ = false;
        } else if (op == "BT") {
            text_ = PdfText{QString(), QPointF(), 0, false, pens_.fill};
            placed_ = false;
        } else if (op == "Tf") {
            font_ = fonts_.value(operands_.value(0).mid(1));
            text_.size = number(1);
            text_.bold = font_.bold;
        } else if (op == "Td" && !placed_) {
            text_.at = QPointF(number(0), -number(1)); // the text matrix turns y over
            placed_ = true;
        } else if (op == "Tj") {
            const QString codes = operands_.value(0);
            for (qsizetype i = 0; i + 4 <= codes.size() - 1; i += 4)
                text_.text += font_.characters.value(codes.mid(i + 1, 4).toInt(nullptr, 16));
        } else if (op == "ET") {
            // The writer's map gives a blank's glyph as a tab, and a ligature as its own sign.
            text_.text.replace('\t', ' ').replace(QChar(0xFB01), QStringLiteral("fi"));
            page_.texts << text_;
        }
    }

    PdfPage& page_;
    const QHash<QString, Font>& fonts_;
    QStringList operands_;
    Pens pens_;
    QList<Pens> saved_;
    QPolygonF path_;
    bool curved_ = false;
    bool clipping_ = false;
    Font font_;
    PdfText text_{QString(), QPointF(), 0, false, Qt::black};
    bool placed_ = false;
};

} // namespace pdf_pages

// The pages of the PDF at path, in their order; none when it can't be read.
inline QList<PdfPage> ReadPdfPages(const QString& path) {
    using namespace pdf_pages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QHash<int, PdfObject> objects = ReadObjects(file.readAll());
    static const QRegularExpression kid(QStringLiteral("(\\d+) 0 R"));
    static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 (\\S+) (\\S+)\\]"));
    const auto tree = std::find_if(objects.begin(), objects.end(), [](const PdfObject& o) {
        return o.dictionary.contains("/Type /Pages");
    });
    if (tree == objects.end())
        return {};
    QList<PdfPage> pages;
    for (const QRegularExpressionMatch& k :
         kid.globalMatch(QString::fromLatin1(tree->dictionary))) {
        const QByteArray page = objects.value(k.captured(1).toInt()).dictionary;
        if (!page.contains("/Type /Page\n"))
            continue;
        const QRegularExpressionMatch size = box.match(QString::fromLatin1(page));
        pages << PdfPage{QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble()), {}, {}};
        const QByteArray resources = objects.value(Reference(page, "/Resources")).dictionary;
        ContentReader(pages.back(), ReadFonts(objects, resources))
            .read(objects.value(Reference(page, "/Contents")).stream);
    }
    return pages;
}
