#include "dialogdriver.h"
#include "commandsupport.h"

#include <protocolgendlg.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

namespace HostProgram {

DialogDriver::DialogDriver(Action action, QMessageBox::StandardButton answer, Inspector inspector)
    : m_action(action), m_answer(answer), m_inspector(std::move(inspector))
{
    QCoreApplication::instance()->installEventFilter(this);
}

DialogDriver::~DialogDriver()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool DialogDriver::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    // Act once the window's own modal loop runs, not inside its show.
    if (auto *box = qobject_cast<QMessageBox *>(watched)) {
        QPointer<QMessageBox> guarded(box);
        QTimer::singleShot(0, this, [this, guarded] {
            if (guarded && guarded->isVisible())
                answer(guarded);
        });
    } else if (auto *dialog = qobject_cast<IPSERDESIP::protocolGenDlg *>(watched)) {
        if (m_dialogSeen)
            return false;
        m_dialogSeen = true;
        QPointer<IPSERDESIP::protocolGenDlg> guarded(dialog);
        QTimer::singleShot(0, this, [this, guarded] {
            if (guarded)
                drive(guarded);
        });
    }
    return false;
}

void DialogDriver::answer(QMessageBox *box)
{
    const QString line = printable(box->windowTitle() + QStringLiteral(": ") +
                                   box->text().split(QLatin1Char('\n')).join(' '));
    m_messages << line;

    QAbstractButton *button = nullptr;
    const QMessageBox::StandardButtons buttons = box->standardButtons();
    if (buttons.testFlag(QMessageBox::Yes) || buttons.testFlag(QMessageBox::No))
        button = box->button(m_answer);
    if (!button)
        button = box->button(QMessageBox::Ok);
    if (!button && !box->buttons().isEmpty())
        button = box->buttons().constFirst();
    if (button)
        button->click();
    else
        box->done(0);
}

void DialogDriver::drive(IPSERDESIP::protocolGenDlg *dialog)
{
    switch (m_action) {
    case Action::Accept:
        dialog->accept();
        // A refusing check leaves the dialog open; nobody is there to correct it.
        m_succeeded = !dialog->isVisible() && dialog->result() == QDialog::Accepted;
        if (dialog->isVisible())
            dialog->reject();
        break;
    case Action::Calculate: {
        bool proven = false;
        const bool invoked = QMetaObject::invokeMethod(
            dialog, "onButtonCalculateClicked", Qt::DirectConnection, Q_RETURN_ARG(bool, proven));
        m_succeeded = invoked && proven;
        // The calculation has recorded the parameter set; hand it back as the result.
        dialog->done(m_succeeded ? QDialog::Accepted : QDialog::Rejected);
        break;
    }
    case Action::Inspect:
        m_succeeded = m_inspector && m_inspector(dialog);
        dialog->reject();
        break;
    }
}

} // namespace HostProgram
