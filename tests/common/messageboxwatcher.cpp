#include "messageboxwatcher.h"

#include <QAbstractButton>
#include <QApplication>

MessageBoxWatcher::MessageBoxWatcher(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxWatcher::poll);
    m_timer.start();
}

QStringList MessageBoxWatcher::lines() const
{
    QStringList out;
    for (const Box &b : m_boxes)
        out << b.title + QStringLiteral(": ") + b.text;
    return out;
}

void MessageBoxWatcher::poll()
{
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *w : widgets) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box || !box->isVisible() || box->property("jesdAnswered").toBool())
            continue;
        box->setProperty("jesdAnswered", true);
        Box seen;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.buttons = box->standardButtons();
        seen.hasIconPixmap = !box->iconPixmap().isNull();
        m_boxes.append(seen);

        QAbstractButton *button = nullptr;
        if (seen.buttons.testFlag(QMessageBox::Yes) || seen.buttons.testFlag(QMessageBox::No))
            button = box->button(m_answers.isEmpty() ? m_defaultAnswer : m_answers.takeFirst());
        if (!button)
            button = box->button(QMessageBox::Ok);
        if (!button && !box->buttons().isEmpty())
            button = box->buttons().first();
        if (button)
            button->click();
        else
            box->done(0);
    }
}
