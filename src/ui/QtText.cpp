#include "ui/QtText.h"

#include <QFile>

namespace morvane {

std::string PathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
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
