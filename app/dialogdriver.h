#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace IPSERDESIP {
class protocolGenDlg;
}

namespace HostProgram {

// Runs a protocol's dialog without a person: while it lives it answers every message box that
// opens (keeping "Title: text" for the caller to print) and, once the configuration dialog runs
// modally, acts on it once. Create it before calling the protocol's create or edit.
class DialogDriver : public QObject
{
public:
    enum class Action {
        Accept,    // press OK; a refusal closes the dialog as cancelled
        Calculate, // press Calculate; success closes the dialog as accepted
        Inspect    // hand the dialog to the inspector, then close it as cancelled
    };
    using Inspector = std::function<bool(IPSERDESIP::protocolGenDlg *dialog)>;

    // `answer` answers question boxes (Yes or No).
    DialogDriver(Action action, QMessageBox::StandardButton answer, Inspector inspector = {});
    ~DialogDriver() override;

    bool dialogSeen() const { return m_dialogSeen; }
    // OK accepted, the calculation succeeded or the inspector succeeded.
    bool succeeded() const { return m_succeeded; }
    QStringList messages() const { return m_messages; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void answer(QMessageBox *box);
    void drive(IPSERDESIP::protocolGenDlg *dialog);

    Action m_action;
    QMessageBox::StandardButton m_answer;
    Inspector m_inspector;
    bool m_dialogSeen = false;
    bool m_succeeded = false;
    QStringList m_messages;
};

} // namespace HostProgram
