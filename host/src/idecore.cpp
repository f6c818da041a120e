#include "idecore.h"

#include "devicedb.h"

#include <QPointer>
#include <QWidget>

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
