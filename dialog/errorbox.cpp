#include "jesd204bdlg.h"

#include <QIcon>
#include <QMessageBox>
#include <QPixmap>

namespace IPJESD204B {

void jesd204bdlg::showErrorBox(const QString &text, const QString &imageRoot, bool fixedSize)
{
    QMessageBox box(this);
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(QStringLiteral("Error"));
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    if (fixedSize)
        box.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.setWindowIcon(QIcon(imageRoot + QStringLiteral("module.png")));
    box.setIconPixmap(QPixmap(imageRoot + QStringLiteral("exclamation.png")));
    box.exec();
}

} // namespace IPJESD204B
