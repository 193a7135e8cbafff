// The application object and the program's entry on Qt.

#include "ui/Resources.h"
#include "ui/WinApp.h"
#include "ui/qt/QtResources.h"
#include "ui/qt/QtWindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void CWinApp::Enable3dControls() {
    UseDesktopStyle();
}

HICON CWinApp::LoadIcon(int id) const {
    return LoadIconResource(id);
}

int AfxWinMain(int argc, char** argv) {
    QApplication application(argc, argv);
    // QApplication has set the C library's locale from the desktop's; no number of the program
    // is read or written through it.
    UseDialogFont();
    // The toolkit's own dialogs (the folder chooser) speak the program's language, whatever the
    // desktop's, when the system has Qt's translations.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&toolkitTexts);
    if (const QIcon* icon = FromIconHandle(LoadIconResource(kProgramIcon)))
        QApplication::setWindowIcon(*icon);
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 1;
    if (!app->InitInstance())
        return 0;
    return QApplication::exec();
}
