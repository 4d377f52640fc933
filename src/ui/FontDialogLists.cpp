#include "ui/FontDialogLists.h"

#include <QFontDialog>
#include <QListView>
#include <QStringListModel>

namespace morvane {

void ListEachEntryOnce(QFontDialog& dialog) {
    for (QListView* view : dialog.findChildren<QListView*>()) {
        auto* model = qobject_cast<QStringListModel*>(view->model());
        if (model == nullptr)
            continue;
        // The dialog refills a list by resetting its model and only then picks the current
        // entry by its text, so a repeat dropped here is never chosen.
        QObject::connect(model, &QAbstractItemModel::modelReset, model, [model] {
            QStringList entries = model->stringList();
            if (entries.removeDuplicates() > 0)
                model->setStringList(entries);
        });
    }
}

}  // namespace morvane
