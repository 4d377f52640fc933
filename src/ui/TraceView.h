#pragma once
// The activity log pane: plain text the user can read, select and scroll but not change.
// The text itself lives in the core; this view is told what was appended or cleared.

#include <QPlainTextEdit>
#include <string>

namespace morvane {

class TraceView final : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TraceView(QWidget* parent);

    // Adds text at the end; a view scrolled to the end stays at the end.
    void Append(const std::string& text);
    void Clear();
};

}  // namespace morvane
