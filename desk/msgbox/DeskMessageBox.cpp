#include "desk/msgbox/DeskMessageBox.h"

#include <QMessageBox>

namespace desk {

void CQtDeskMessageBox::Show(QWidget* owner, const QString& caption, const QString& text,
                             MessageIcon icon) {
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    if (icon == MessageIcon::Warning)
        qtIcon = QMessageBox::Warning;
    else if (icon == MessageIcon::Error)
        qtIcon = QMessageBox::Critical;
    QMessageBox box(qtIcon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

} // namespace desk
