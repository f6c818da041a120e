#pragma once

#include "devicedb.h"
#include "hostexport.h"
#include "parametermap.h"
#include "pinfigure.h"

#include <QDialog>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class QTabWidget;

namespace IPSERDESIP {

// Base of every protocol's configuration dialog: label, file and module names, synthesis tool
// and language, the protocol's tabs, the module symbol, help, OK and Cancel.
class IPSERDESHOST_EXPORT protocolGenDlg : public QDialog
{
    Q_OBJECT

public:
    explicit protocolGenDlg(QWidget *parent = nullptr);
    ~protocolGenDlg() override;

    // Protocol hooks, run by setCreating and setOpening.
    virtual void initDialog();
    virtual bool loadParameters(const ParameterMap &params);
    // Takes the device from a stored set's "target_device".
    virtual void setDevice(const ParameterMap &params);

    // New core: the device is known, then initDialog runs.
    void setCreating(const QString &name, const DEV::DeviceArg &device);
    // Stored core: device from the set, initDialog, then loadParameters; its answer.
    bool setOpening(const ParameterMap &params);

    void uiSetLabelText(const QString &text);
    void uiSetModuleName(const QString &name);
    void uiSetDefaultFileName(const QString &name);
    void uiAddTab(QWidget *page, const QString &title);
    void uiSetFigurePins(const QList<Utils::PinFigure> &pins);
    void uiSetSynthesisTool(const QString &tool);
    void uiSetLanguageIndex(int index);
    QString uiSynthesisTool() const;
    int uiLanguageIndex() const;
    QString moduleName() const;
    QString fileName() const;
    // The project directory the dialog's files belong to.
    QString createPath() const;
    DEV::DeviceArg device() const { return m_device; }
    // Keeps the module name following the file name until the user edits the module name.
    void fileNameConnectCreatIn();

    // Problems with the output file options; empty when there are none.
    QStringList checkFileOptions() const;
    // The output already exists: asks before overwriting. Tells the user itself.
    bool checkFileExisting();
    // A legal Verilog identifier that is no keyword. Tells the user itself.
    bool checkModuleName();
    void showErrorMsg(const QStringList &problems);

    // What the host program and tests read back.
    QString labelText() const;
    QList<Utils::PinFigure> figurePins() const { return m_figurePins; }
    QString helpText() const { return m_helpText; }
    // The tab area and the module symbol (built on first use: a dialog that is never shown,
    // as in batch runs, does without it).
    QTabWidget *tabWidget() const;
    QWidget *figureWidget() const;
    // True while typing a file name still renames the module (see fileNameConnectCreatIn).
    bool moduleNameFollowsFileName() const;
    // The Help button: shows the protocol's help text in a modal box.
    void showHelp();

    // Builds the module symbol before the first show lays the dialog out.
    void setVisible(bool visible) override;

protected:
    // On the first show, widens the dialog until every tab title fits whole.
    void showEvent(QShowEvent *event) override;

    DEV::DeviceArg m_device;
    QString m_helpText;
    // Set once the user agreed to overwrite the current output; accept skips checkFileExisting.
    bool m_fileChecked = false;

private:
    struct Private;
    void ensureSymbol() const;

    std::unique_ptr<Private> d;
    QList<Utils::PinFigure> m_figurePins;
};

} // namespace IPSERDESIP
