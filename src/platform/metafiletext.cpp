#include "metafileplayer.h"

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

} // namespace Metafile
