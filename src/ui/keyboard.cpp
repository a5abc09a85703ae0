#include "ui/keyboard.h"

#include <QAbstractButton>
#include <QButtonGroup>

namespace mitoran {

void tabToCheckedButton(QButtonGroup* group) {
    const auto update = [group] {
        const QList<QAbstractButton*> buttons = group->buttons();
        QAbstractButton* stop = group->checkedButton();
        if (!stop && !buttons.isEmpty()) stop = buttons.front();
        // A click still gives any of them the focus; only Tab passes the others by.
        for (QAbstractButton* b : buttons)
            b->setFocusPolicy(b == stop ? Qt::StrongFocus : Qt::ClickFocus);
    };
    QObject::connect(group, &QButtonGroup::buttonToggled, group, update);
    update();
}

}  // namespace mitoran
