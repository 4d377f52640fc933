#include "ui/QtText.h"

#include <QFile>

#include "platform/Utf16.h"

namespace morvane {

std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString NameForEditing(std::string_view bytes) {
    // The program's own UTF-16 view of a name already turns a stray byte into U+DC00 + byte.
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    ForEachUtf16Unit(bytes, [&](std::uint16_t unit) { text.append(QChar(unit)); });
    return text;
}

std::string NameBytes(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    qsizetype run = 0;  // start of the text not yet written
    const auto flush = [&](qsizetype end) {
        bytes += QStringView(text).mid(run, end - run).toUtf8().toStdString();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit >= 0xDC80 && unit <= 0xDCFF && (i == 0 || !text[i - 1].isHighSurrogate())) {
            flush(i);
            bytes.push_back(static_cast<char>(unit - 0xDC00));
            run = i + 1;
        }
    }
    flush(text.size());
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
