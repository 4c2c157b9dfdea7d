#include "metafile/metafileplayer_p.h"

#include <QStringDecoder>

#include <algorithm>

namespace Metafile {

namespace {

const char *codecForCharset(int charset)
{
    switch (charset) {
    case 0: // ANSI_CHARSET
        return "windows-1252";
    case 1: // DEFAULT_CHARSET: the writing system's code page, Japanese for our pictures
    case 128: // SHIFTJIS_CHARSET
        return "windows-31j";
    case 2: // SYMBOL_CHARSET
        return "ISO-8859-1";
    case 77:
        return "macintosh";
    case 129:
        return "windows-949";
    case 134:
        return "GBK";
    case 136:
        return "Big5";
    case 161:
        return "windows-1253";
    case 162:
        return "windows-1254";
    case 163:
        return "windows-1258";
    case 177:
        return "windows-1255";
    case 178:
        return "windows-1256";
    case 186:
        return "windows-1257";
    case 204:
        return "windows-1251";
    case 222:
        return "windows-874";
    case 238:
        return "windows-1250";
    case 255:
        return "IBM437";
    default:
        return "windows-1252";
    }
}

} // namespace

QString decodeCharsetText(const char *bytes, qsizetype length, int charset, std::vector<int> *charStarts)
{
    // Text records are drawn up to a length; decoding more would only cost time.
    length = std::min<qsizetype>(length, 2 * MaxTextLength);
    QStringDecoder decoder(codecForCharset(charset));
    if (!decoder.isValid()) {
        decoder = QStringDecoder(QStringDecoder::Latin1);
    }
    QString text;
    text.reserve(length);
    if (charStarts) {
        charStarts->clear();
        charStarts->reserve(size_t(length));
    }
    // One byte at a time, so that every character is known by the byte it starts at; the
    // advances of a text record are given per byte.
    int start = 0;
    for (qsizetype i = 0; i < length; ++i) {
        const QString piece = decoder(QByteArrayView(bytes + i, 1));
        if (!piece.isEmpty()) {
            text += piece;
            if (charStarts) {
                charStarts->insert(charStarts->end(), size_t(piece.size()), start);
            }
            start = int(i + 1);
        }
    }
    return text;
}

namespace {

constexpr double MaxFontPixels = 20000;
constexpr double FarOffImage = 1e6;

} // namespace

// ---- Text ----

QFont Player::deviceFont(double *pixelSize) const
{
    const FontObject &f = m_state.font;
    QFont font;
    if (!f.face.isEmpty()) {
        font.setFamilies({f.face});
    }
    font.setWeight(QFont::Weight(std::clamp(f.weight == 0 ? 400 : f.weight, 100, 900)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    font.setStyleStrategy(QFont::PreferAntialias);
    const QTransform t = logicalToDevice() * m_deviceToImage;
    const double yScale = std::hypot(t.m21(), t.m22());
    double size =
        (f.height == 0 ? 12.0 * std::sqrt(std::abs(m_deviceToImage.determinant())) : std::abs(f.height) * yScale);
    if (!std::isfinite(size) || size < 0.5 || size > MaxFontPixels) {
        *pixelSize = 0;
        return font;
    }
    font.setPixelSize(std::max(1, qRound(size)));
    if (f.height > 0) {
        // A positive height is the character cell (ascent and descent), not the em.
        const QFontMetricsF metrics(font);
        if (metrics.height() > 0) {
            size = size * size / metrics.height();
            font.setPixelSize(std::max(1, qRound(size)));
        }
    }
    *pixelSize = size;
    return font;
}

void Player::textOut(QPointF reference,
    const QString &fullText,
    const std::vector<double> &advances,
    quint32 options,
    const std::optional<QRectF> &rect)
{
    if (m_path) {
        return;
    }
    const QTransform toImage = logicalToDevice() * m_deviceToImage;
    constexpr quint32 EtoOpaque = 0x2;
    constexpr quint32 EtoClipped = 0x4;
    if (rect && (options & EtoOpaque) != 0) {
        fillRect(*rect, m_state.bkColor);
    }
    const QString text = fullText.left(MaxTextLength);
    double pixelSize = 0;
    const QFont font = deviceFont(&pixelSize);
    if (text.isEmpty() || pixelSize <= 0) {
        return;
    }
    const bool updateCp = (m_state.textAlign & 1) != 0;
    const QPointF logicalOrigin = updateCp ? m_state.position : reference;
    if (!std::isfinite(logicalOrigin.x()) || !std::isfinite(logicalOrigin.y())) {
        return;
    }
    const QPointF origin = toImage.map(logicalOrigin);
    const QPointF deviceCheck = logicalToDevice().map(logicalOrigin);
    if (!finitePoint(deviceCheck)) {
        return;
    }
    const double xScale = std::hypot(toImage.m11(), toImage.m12());
    const QFontMetricsF metrics(font);

    // Where each character starts along the baseline, in image pixels.
    std::vector<double> positions;
    positions.reserve(size_t(text.size()) + 1);
    double x = 0;
    const bool useAdvances = advances.size() >= size_t(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        positions.push_back(x);
        const double advance = useAdvances ? advances[size_t(i)] * xScale : metrics.horizontalAdvance(text.at(i));
        x += std::isfinite(advance) ? std::clamp(advance, -CoordinateLimit, CoordinateLimit) : 0;
    }
    const double width = useAdvances ? x : metrics.horizontalAdvance(text);

    double dx = 0;
    switch (m_state.textAlign & 6) {
    case 2: // TA_RIGHT
        dx = -width;
        break;
    case 6: // TA_CENTER
        dx = -width / 2;
        break;
    default:
        break;
    }
    double dy = metrics.ascent(); // TA_TOP
    switch (m_state.textAlign & 24) {
    case 8: // TA_BOTTOM
        dy = -metrics.descent();
        break;
    case 24: // TA_BASELINE
        dy = 0;
        break;
    default:
        break;
    }

    m_painter.save();
    m_painter.resetTransform();
    if (rect && (options & EtoClipped) != 0) {
        QPointF a;
        QPointF b;
        if (mapPoint(rect->topLeft(), &a) && mapPoint(rect->bottomRight(), &b)) {
            m_painter.setClipRect(m_deviceToImage.mapRect(QRectF(a, b).normalized()), Qt::IntersectClip);
        }
    }
    m_painter.translate(origin);
    m_painter.rotate(-(m_state.font.escapement / 10.0));
    m_painter.setFont(font);
    if (m_state.opaqueBk) {
        m_painter.fillRect(QRectF(dx, dy - metrics.ascent(), width, metrics.height()), m_state.bkColor);
    }
    m_painter.setPen(m_state.textColor);
    if (useAdvances) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            qsizetype length = 1;
            if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                length = 2;
            }
            const double at = dx + positions[size_t(i)];
            // Characters pushed far off the picture by their advances are not drawn at all.
            if (std::abs(at) < FarOffImage) {
                m_painter.drawText(QPointF(at, dy), text.mid(i, length));
            }
            i += length - 1;
        }
    } else {
        m_painter.drawText(QPointF(dx, dy), text);
    }
    m_painter.restore();

    if (updateCp && xScale > 0) {
        const double angle = qDegreesToRadians(m_state.font.escapement / 10.0);
        const QPointF endImage = origin + QPointF(std::cos(angle), -std::sin(angle)) * width;
        const QPointF end = toImage.inverted().map(endImage);
        if (finitePoint(end)) {
            m_state.position = end;
        }
    }
}

} // namespace Metafile
