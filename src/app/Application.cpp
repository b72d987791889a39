#include "app/Application.h"

#include "app/Root.h"
#include "catalog/Catalog.h"
#include "catalog/ProjectTemplate.h"
#include "ui/Widgets.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int runApplication(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vorlagen"));

    // The standard dialogs speak German like the rest of the program.
    QTranslator qtbase;
    if (qtbase.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                    QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtbase);

    // An installed program's first start: the shipped template into the data
    // folder. Should that fail, generation names the missing template later.
    (void)ProjectTemplate::provide();

    // Before the first read: what a crashed write left beside the catalogue goes.
    Catalog::removeLeftovers();
    Root window(nullptr, Root::Build::AfterFirstPaint);
    centreOnScreen(&window);
    window.show();
    return QApplication::exec();
}
