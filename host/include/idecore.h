#pragma once

#include "hostexport.h"

#include <QString>

class QWidget;

namespace DEV {
class DeviceDb;
}

namespace Core {

// The IDE's services that a protocol plug-in may reach.
class IPSERDESHOST_EXPORT IdeCore
{
public:
    static DEV::DeviceDb *deviceDataBase();

    // The open project's directory; the dialogs' createPath() answers it.
    static QString projectDirectory();
    static void setProjectDirectory(const QString &dir);
};

class IPSERDESHOST_EXPORT ViewManager
{
public:
    // Parent for the plug-ins' dialogs and for file messages; null when the host runs headless.
    static QWidget *dialogParent();
    static void setDialogParent(QWidget *parent);
};

// The host's one place where file and generation failures are reported: a message box on
// the given parent when the host runs a GUI, standard error otherwise.
class IPSERDESHOST_EXPORT MessageSink
{
public:
    using Handler = void (*)(const QString &title, const QString &text, QWidget *parent);

    static void report(const QString &title, const QString &text, QWidget *parent);
    // Replaces the sink (tests, headless jobs); nullptr restores the default.
    static void setHandler(Handler handler);
};

} // namespace Core
