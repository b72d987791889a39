#pragma once

#include <QApplication>
#include <QString>

#include <memory>

// The start of a program with a window: it needs a graphical session, and Qt's
// own texts (standard buttons, file dialog) speak German like the rest.
namespace Session {

// Said when no window can be shown: the program, why not, its help option.
inline const QString kNoSession =
    QStringLiteral("%1 braucht für sein Fenster eine grafische Sitzung (%2); ohne Fenster "
                   "arbeitet es mit Argumenten, siehe ''%1 %3''.");
inline const QString kNoDisplay = QStringLiteral("weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt");
inline const QString kNoX11Display = QStringLiteral("DISPLAY ist nicht gesetzt");
inline const QString kUnreachable = QStringLiteral("die Anzeige ist nicht erreichbar");

// The application, named `program`, with the German translation; nullptr when no
// graphical session can be reached: then one German line on standard error has
// said so and pointed at `helpOption`, the program's way without a window.
// `argc` must outlive the application.
std::unique_ptr<QApplication> start(int& argc, char** argv, const QString& program,
                                    const QString& helpOption);

} // namespace Session
