#include "ui/QtText.h"

#include <QFile>

namespace morvane {

std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

namespace {

// The length of the valid UTF-8 sequence at the start of `bytes` and its code point; 0 when
// it is not one (overlong forms, surrogates and values past U+10FFFF included).
std::size_t DecodeUtf8(std::string_view bytes, char32_t* cp) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *cp = value;
    return length;
}

void AppendUtf8(char32_t cp, std::string* out) {
    if (cp < 0x80) {
        out->push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

QString NameForEditing(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    while (!bytes.empty()) {
        char32_t cp = 0;
        std::size_t length = DecodeUtf8(bytes, &cp);
        if (length == 0) {
            const auto b = static_cast<unsigned char>(bytes[0]);
            cp = b < 0x80 ? b : 0xDC00 + b;
            length = 1;
        }
        if (cp > 0xFFFF) {
            text.append(QChar(QChar::highSurrogate(cp)));
            text.append(QChar(QChar::lowSurrogate(cp)));
        } else {
            text.append(QChar(static_cast<char16_t>(cp)));
        }
        bytes.remove_prefix(length);
    }
    return text;
}

std::string NameBytes(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            AppendUtf8(QChar::surrogateToUcs4(unit, text[i + 1].unicode()), &bytes);
            ++i;
        } else if (unit >= 0xDC80 && unit <= 0xDCFF) {
            bytes.push_back(static_cast<char>(unit - 0xDC00));
        } else if (QChar::isSurrogate(unit)) {
            AppendUtf8(0xFFFD, &bytes);  // half of a pair, which no name can hold
        } else {
            AppendUtf8(unit, &bytes);
        }
    }
    return bytes;
}

int ProgressPosition(float fraction) {
    const double position = static_cast<double>(fraction) * 2147483648.0;
    if (!(position > 0.0))  // also NaN
        return 0;
    if (position >= static_cast<double>(kProgressMaximum))
        return kProgressMaximum;
    return static_cast<int>(position);
}

}  // namespace morvane
