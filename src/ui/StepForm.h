#pragma once
// The form of one name step: a field for each of its settings, built from the step's field
// list, so the form, the presets file and the step itself cannot drift apart.

#include <QWidget>
#include <vector>

#include "names/NameStep.h"

namespace morvane {

class StepForm final : public QWidget {
    Q_OBJECT
public:
    StepForm(const NameStep& step, QWidget* parent);

    // The step with the fields' values; `enabled` as it was given.
    NameStep Step() const;
    // The first field, where the focus goes when the form is shown.
    QWidget* FirstField() const { return fields_.empty() ? nullptr : fields_.front(); }
    const std::vector<QWidget*>& Fields() const { return fields_; }

    // The Japanese name of a kind of step, by its index in NameStep; with its access key,
    // for the 追加 menu.
    static QString KindLabel(std::size_t kind);
    static QString KindMenuText(std::size_t kind);
    // A step of that kind as the 追加 menu adds it.
    static NameStep NewStep(std::size_t kind);

signals:
    void changed();

private:
    NameStep step_;
    std::vector<QWidget*> fields_;
};

}  // namespace morvane
