#include "idecore.h"

#include "devicedb.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTextStream>
#include <QWidget>
#include <cstdio>

namespace Core {

namespace {

// A guarded pointer: a parent window that goes away must not leave a dangling parent.
QPointer<QWidget> &dialogParentSlot()
{
    static QPointer<QWidget> parent;
    return parent;
}

QString &projectDirectorySlot()
{
    static QString dir;
    return dir;
}

} // namespace

DEV::DeviceDb *IdeCore::deviceDataBase()
{
    static DEV::DeviceDb db;
    return &db;
}

QString IdeCore::projectDirectory()
{
    return projectDirectorySlot();
}

void IdeCore::setProjectDirectory(const QString &dir)
{
    projectDirectorySlot() = dir;
}

QWidget *ViewManager::dialogParent()
{
    return dialogParentSlot().data();
}

void ViewManager::setDialogParent(QWidget *parent)
{
    dialogParentSlot() = parent;
}

} // namespace Core

namespace Core {

namespace {

void defaultReport(const QString &title, const QString &text, QWidget *parent)
{
    // A message box needs a widget application; headless hosts tell standard error.
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        QMessageBox::critical(parent, title, text);
        return;
    }
    QTextStream(stderr) << title << ": " << text << '\n';
}

MessageSink::Handler currentHandler = defaultReport;

} // namespace

void MessageSink::report(const QString &title, const QString &text, QWidget *parent)
{
    currentHandler(title, text, parent);
}

void MessageSink::setHandler(Handler handler)
{
    currentHandler = handler ? handler : defaultReport;
}

} // namespace Core
