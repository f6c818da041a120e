#include "idecore.h"

#include <QApplication>
#include <QMessageBox>
#include <QTextStream>

#include <cstdio>

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
