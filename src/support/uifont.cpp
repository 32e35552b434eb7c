#include "uifont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QRect>
#include <QStringList>

#include <algorithm>

namespace Quorvath::UiFont {

namespace {

QStringList textLines(const QString &text)
{
    QStringList lines = text.split(QLatin1String("\r\n"));
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();   // the break that ends the text opens no line of its own
    return lines;
}

bool allFit(const QFont &font, const std::vector<Text> &texts)
{
    return std::all_of(texts.begin(), texts.end(), [&font](const Text &t) { return fits(font, t); });
}

} // namespace

int lineWidth(const QFont &font, const QString &line)
{
    qsizetype end = line.size();
    while (end > 0 && line.at(end - 1) == QLatin1Char(' '))
        --end;
    return QFontMetrics(font).horizontalAdvance(line.left(end));
}

bool fits(const QFont &font, const Text &t)
{
    const QFontMetrics metrics(font);
    switch (t.fit) {
    case Fit::OneLine:
        return metrics.horizontalAdvance(t.text) <= t.box.width() && metrics.height() <= t.box.height();
    case Fit::Wrapped: {
        const QRect needed = metrics.boundingRect(QRect(QPoint(0, 0), t.box),
                                                  Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, t.text);
        return needed.width() <= t.box.width() && needed.height() <= t.box.height();
    }
    case Fit::Lines:
    case Fit::LinesAndHeight: {
        const QStringList lines = textLines(t.text);
        // Every line but the last ends where the text breaks it; the last may
        // wrap in a box without a height of its own.
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            if (lineWidth(font, lines.at(i)) >= t.box.width())
                return false;
        }
        if (t.fit == Fit::Lines)
            return true;
        int rows = 0;
        for (const QString &line : lines) {
            const QRect r = metrics.boundingRect(QRect(0, 0, t.box.width(), 1 << 20), Qt::TextWordWrap, line);
            rows += std::max(1, (r.height() + metrics.lineSpacing() / 2) / metrics.lineSpacing());
        }
        return rows * metrics.lineSpacing() <= t.box.height();
    }
    }
    return false;
}

QFont preferredFont()
{
#ifdef Q_OS_WIN
    // The face and size the windows were designed with, which every Windows
    // has. (Wine has it only as a bitmap font that Qt is not offered; there
    // the program falls back to Wine's Tahoma.)
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    return font;
#else
    // Linux desktops default to faces that run a tenth to a fifth wider than
    // the design's. DejaVu Sans Condensed has the design's height and line
    // spacing (13 px at 8.25 points) and comes closest to its widths; the
    // design's longest captions ("Effect(s) of Equipping:" in 105 px) still
    // need it 6% narrower. Qt scales a face by the requested stretch over the
    // face's own (87 for this one), so 82 it is. Naming the family also
    // keeps the locale's choice of sans-serif face (a CJK face with taller
    // lines, say) out of boxes measured for 13-pixel lines.
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPointSizeF(8.25);
    font.setStretch(82);
    return font;
#endif
}

QFont choose(const std::vector<Text> &texts)
{
    // The preferred face was chosen for these texts, and the tests hold it to
    // them: measuring it again would only cost start-up time.
    const QFont preferred = preferredFont();
    if (QFontDatabase::hasFamily(preferred.family()))
        return preferred;

    // The nearest installed face that fits: on Windows the faces that later
    // versions use for the same dialogs, elsewhere the desktop's sans-serif.
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setFamily(font.defaultFamily());
#ifdef Q_OS_WIN
    for (const char *family : {"Microsoft Sans Serif", "Tahoma", "Segoe UI", "Arial"}) {
        if (QFontDatabase::hasFamily(QLatin1String(family))) {
            font.setFamily(QLatin1String(family));
            break;
        }
    }
#endif
    font.setPointSizeF(8.25);
    for (int stretch = QFont::Unstretched; stretch >= QFont::ExtraCondensed; stretch -= 5) {
        font.setStretch(stretch);
        if (allFit(font, texts))
            break;
    }
    return font;
}

} // namespace Quorvath::UiFont
