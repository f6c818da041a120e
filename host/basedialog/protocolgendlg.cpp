#include "protocolgendlg.h"

#include "basedialognames.h"
#include "devicedb.h"
#include "idecore.h"
#include "modulesymbol.h"
#include "protocolgendlgprivate.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace IPSERDESIP {

namespace {

const char *const titlePrefix = "IP Core Generator";

} // namespace

protocolGenDlg::protocolGenDlg(QWidget *parent) : QDialog(parent), d(std::make_unique<Private>())
{
    const QPixmap image = Private::moduleImage();
    setWindowIcon(QIcon(image));
    setWindowTitle(QLatin1String(titlePrefix));
    setSizeGripEnabled(true);

    auto *root = new QVBoxLayout(this);

    root->addLayout(d->buildHeader(this, image));

    // Both sides join the splitter while empty: the splitter measures its children on every
    // addition, and a filled side panel costs a full layout pass long before the first show.
    auto *splitter = d->splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    auto *side = new QWidget(splitter);
    d->tabs = new QTabWidget(splitter);
    splitter->addWidget(side);
    splitter->addWidget(d->tabs);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    // The tabs get room for a whole form row (the PHY tab's Calculate button sits at its right).
    splitter->setSizes({400, 700});

    d->buildSidePanel(side);

    d->tabs->setObjectName(QStringLiteral("protocolTabs"));
    // Every tab stays in sight; in a dialog made narrower than it opens, long titles are
    // shortened and shown whole as tool tips.
    d->tabs->setUsesScrollButtons(false);
    d->tabs->setElideMode(Qt::ElideRight);
    root->addWidget(splitter, 1);

    auto *buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    root->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, &protocolGenDlg::showHelp);
    // A confirmed overwrite holds for the name it was given for only.
    connect(d->fileEdit, &QLineEdit::textChanged, this, [this] { m_fileChecked = false; });
    // Clearing the module name hands it back to the file name.
    connect(d->moduleEdit, &QLineEdit::textEdited, this,
            [this](const QString &text) { d->moduleFollowsFile = text.isEmpty(); });

    resize(1120, 720);
}

protocolGenDlg::~protocolGenDlg() = default;

void protocolGenDlg::ensureSymbol() const
{
    if (d->symbol)
        return;
    QWidget *side = d->sideLayout->parentWidget();
    auto *scroll = new QScrollArea(side);
    scroll->setWidgetResizable(true);
    d->symbol = new Utils::ModuleSymbol(scroll);
    d->symbol->setModuleName(d->moduleEdit->text());
    d->symbol->setPins(m_figurePins);
    scroll->setWidget(d->symbol);
    d->sideLayout->addWidget(scroll, 1);
    connect(d->moduleEdit, &QLineEdit::textChanged, d->symbol, &Utils::ModuleSymbol::setModuleName);
}

void protocolGenDlg::setVisible(bool visible)
{
    if (visible)
        ensureSymbol();
    QDialog::setVisible(visible);
}

void protocolGenDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (d->tabTitlesFitted)
        return;
    d->tabTitlesFitted = true;
    // The layout has run, the window is not mapped yet: the tab bar's width is the one the
    // titles get, its size hint the one they need, in the font and style they are shown in.
    const QTabBar *bar = d->tabs->tabBar();
    const int shortfall = bar->sizeHint().width() - bar->width();
    if (shortfall <= 0)
        return;
    QList<int> sizes = d->splitter->sizes();
    resize(width() + shortfall, height());
    sizes.last() += shortfall;
    d->splitter->setSizes(sizes);
}

void protocolGenDlg::initDialog() {}

bool protocolGenDlg::loadParameters(const ParameterMap &)
{
    return true;
}

void protocolGenDlg::setDevice(const ParameterMap &params)
{
    const DEV::DeviceDb *db = Core::IdeCore::deviceDataBase();
    const QString id = params.value(QStringLiteral("target_device")).toString();
    m_device = db ? db->findDevice(id) : DEV::DeviceArg();
}

void protocolGenDlg::setCreating(const QString &name, const DEV::DeviceArg &device)
{
    m_device = device;
    if (!name.trimmed().isEmpty()) {
        uiSetDefaultFileName(name);
        uiSetModuleName(BaseDialogNames::moduleNameFromFileName(name));
        d->moduleFollowsFile = true;
    }
    if (!d->initialised) {
        d->initialised = true;
        initDialog();
    }
}

bool protocolGenDlg::setOpening(const ParameterMap &params)
{
    setDevice(params);
    const QString file = params.value(QStringLiteral("file")).toString();
    const QString module = params.value(QStringLiteral("module")).toString();
    if (!file.isEmpty()) {
        uiSetDefaultFileName(file);
        // The output under this name is the edited core's own.
        m_fileChecked = true;
    }
    if (!module.isEmpty()) {
        uiSetModuleName(module);
        d->moduleFollowsFile = false;
    }
    if (!d->initialised) {
        d->initialised = true;
        initDialog();
    }
    return loadParameters(params);
}

void protocolGenDlg::uiSetLabelText(const QString &text)
{
    d->label->setText(text);
    setWindowTitle(text.isEmpty() ? QLatin1String(titlePrefix)
                                  : QLatin1String(titlePrefix) + QStringLiteral(" - ") + text);
}

QString protocolGenDlg::labelText() const
{
    return d->label->text();
}

void protocolGenDlg::uiSetModuleName(const QString &name)
{
    d->moduleEdit->setText(name);
}

void protocolGenDlg::uiSetDefaultFileName(const QString &name)
{
    d->fileEdit->setText(name);
}

void protocolGenDlg::uiAddTab(QWidget *page, const QString &title)
{
    if (!page)
        return;
    const int index = d->tabs->addTab(page, title);
    d->tabs->setTabToolTip(index, title);
}

void protocolGenDlg::uiSetFigurePins(const QList<Utils::PinFigure> &pins)
{
    m_figurePins = pins;
    if (d->symbol)
        d->symbol->setPins(pins);
}

void protocolGenDlg::uiSetSynthesisTool(const QString &tool)
{
    if (tool.isEmpty())
        return;
    int index = d->toolCombo->findText(tool, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        // A tool this host does not offer stays selectable so that it is written back unchanged.
        d->toolCombo->addItem(tool);
        index = d->toolCombo->count() - 1;
    }
    d->toolCombo->setCurrentIndex(index);
}

void protocolGenDlg::uiSetLanguageIndex(int index)
{
    d->languageCombo->setCurrentIndex(index >= 0 && index < d->languageCombo->count() ? index : 0);
}

QString protocolGenDlg::uiSynthesisTool() const
{
    return d->toolCombo->currentText();
}

int protocolGenDlg::uiLanguageIndex() const
{
    return d->languageCombo->currentIndex();
}

QString protocolGenDlg::moduleName() const
{
    return d->moduleEdit->text();
}

QString protocolGenDlg::fileName() const
{
    return d->fileEdit->text();
}

void protocolGenDlg::fileNameConnectCreatIn()
{
    if (d->fileLinkConnected)
        return;
    d->fileLinkConnected = true;
    connect(d->fileEdit, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (d->moduleFollowsFile)
            d->moduleEdit->setText(BaseDialogNames::moduleNameFromFileName(text));
    });
}

bool protocolGenDlg::moduleNameFollowsFileName() const
{
    return d->fileLinkConnected && d->moduleFollowsFile;
}

QTabWidget *protocolGenDlg::tabWidget() const
{
    return d->tabs;
}

QWidget *protocolGenDlg::figureWidget() const
{
    ensureSymbol();
    return d->symbol;
}

} // namespace IPSERDESIP
