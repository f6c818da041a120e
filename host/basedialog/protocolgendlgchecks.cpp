#include "protocolgendlg.h"

#include "basedialognames.h"
#include "idecore.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>

namespace IPSERDESIP {

namespace {

void showErrorBox(QWidget *parent, const QString &text)
{
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("Error"));
    box.setText(text);
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.setWindowIcon(QIcon(QStringLiteral(":/image/module.png")));
    box.setIconPixmap(QPixmap(QStringLiteral(":/image/exclamation.png")));
    box.exec();
}

} // namespace

QString protocolGenDlg::createPath() const
{
    const QString dir = Core::IdeCore::projectDirectory();
    return QDir::cleanPath(dir.isEmpty() ? QDir::currentPath() : dir);
}

QStringList protocolGenDlg::checkFileOptions() const
{
    QStringList problems = BaseDialogNames::fileNameProblems(fileName());
    if (moduleName().isEmpty())
        problems << QStringLiteral("The module name is empty.");
    return problems;
}

bool protocolGenDlg::checkFileExisting()
{
    if (fileName().isEmpty()) {
        showErrorMsg({QStringLiteral("The file name is empty.")});
        return false;
    }
    const QString path = createPath() + QLatin1Char('/') + fileName();
    if (!QFileInfo::exists(path))
        return true;

    QMessageBox box(this);
    box.setWindowTitle(QStringLiteral("Question"));
    box.setText(
        QStringLiteral("\"%1\" already exists. Overwrite it?").arg(QDir::toNativeSeparators(path)));
    box.setIcon(QMessageBox::Question);
    box.setWindowIcon(QIcon(QStringLiteral(":/image/module.png")));
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes)
        return false;
    m_fileChecked = true;
    return true;
}

bool protocolGenDlg::checkModuleName()
{
    const QString problem = BaseDialogNames::moduleNameProblem(moduleName());
    if (problem.isEmpty())
        return true;
    showErrorBox(this, problem);
    return false;
}

void protocolGenDlg::showErrorMsg(const QStringList &problems)
{
    if (!problems.isEmpty())
        showErrorBox(this, problems.join(QLatin1Char('\n')));
}

void protocolGenDlg::showHelp()
{
    QMessageBox box(this);
    box.setWindowTitle(QStringLiteral("Help"));
    box.setText(m_helpText.isEmpty() ? QStringLiteral("No help is available for this core.")
                                     : m_helpText);
    box.setIcon(QMessageBox::Information);
    box.setWindowIcon(QIcon(QStringLiteral(":/image/module.png")));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace IPSERDESIP
