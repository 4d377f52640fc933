#pragma once
// A message box sized to its text. Qt's own box wraps any line wider than half the screen, and
// Japanese wraps between any two characters, so a phrase could break in the middle; here only
// the text's own line breaks start a new line.

#include <QMessageBox>

namespace morvane {

class LinedMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace morvane
