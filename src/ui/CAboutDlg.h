#pragma once
// "Morvane について": banner, program icon, version and one line about the program.

#include <QDialog>

namespace morvane {

class CAboutDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent);
};

}  // namespace morvane
