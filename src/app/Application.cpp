#include "app/Application.h"

#include "app/Root.h"
#include "catalog/Catalog.h"
#include "catalog/ProjectTemplate.h"
#include "desktop/Session.h"
#include "ui/Widgets.h"

int runApplication(int argc, char* argv[])
{
    const auto app =
        Session::start(argc, argv, QStringLiteral("vorlagen"), QStringLiteral("--help"));
    if (!app)
        return 2;

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
