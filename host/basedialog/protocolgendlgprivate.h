#pragma once

#include "protocolgendlg.h"

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPixmap;
class QSplitter;
class QTabWidget;
class QVBoxLayout;
class QWidget;

namespace Utils {
class ModuleSymbol;
}

namespace IPSERDESIP {

struct Q_DECL_HIDDEN protocolGenDlg::Private
{
    QLabel *label = nullptr;
    QLineEdit *fileEdit = nullptr;
    QLineEdit *moduleEdit = nullptr;
    QComboBox *toolCombo = nullptr;
    QComboBox *languageCombo = nullptr;
    QTabWidget *tabs = nullptr;
    QSplitter *splitter = nullptr;
    QVBoxLayout *sideLayout = nullptr;
    Utils::ModuleSymbol *symbol = nullptr;
    bool initialised = false;
    bool fileLinkConnected = false;
    bool moduleFollowsFile = true;
    bool tabTitlesFitted = false;

    static QPixmap moduleImage();
    QHBoxLayout *buildHeader(QWidget *dialog, const QPixmap &image);
    void buildSidePanel(QWidget *side);
};

} // namespace IPSERDESIP
