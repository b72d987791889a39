#pragma once

#include "platform/FileIo.h"

#include <QString>

// The standard project template every project file starts from, and its spare,
// from which a missing template is restored. The template link and every
// generation go through here, so they find and mend it alike.
namespace ProjectTemplate {

QString file();  // the template in the data folder
QString spare(); // its spare beside it

// Puts the template an installation ships into the data folder as the template
// and its spare, each only where none is: atomic and never replacing. Nothing to
// do (a portable build) is success.
FileIo::Result provide();

// What a template file is like.
struct Check
{
    enum class State
    {
        Usable,
        Missing,
        Unreadable, // see result
        Empty
    };
    State state = State::Missing;
    FileIo::Result result;
    // Why it cannot be read (German); empty unless Unreadable.
    QString problem() const;
};
Check check(const QString& path);

// Puts a copy of the spare in place of a missing template, when the spare is
// usable; a template that is there, or no spare, leaves nothing to do.
struct Restore
{
    enum class State
    {
        NothingToDo,
        Restored,
        SpareUnusable, // see problem
        NotCopied      // see result
    };
    State state = State::NothingToDo;
    FileIo::Result result;
    QString problem; // German, for SpareUnusable and NotCopied
    bool failed() const { return state == State::SpareUnusable || state == State::NotCopied; }
    // The warning that the template is missing and was not restored, and why.
    QString failureText() const;
};
Restore restore();

// The template a run uses: the template, or, while it is missing, the usable
// spare it would be restored from; file() when there is neither.
QString source();

// Only the components were copied.
inline const QString kMissing =
    QStringLiteral("Die Projektvorlage ''QvStandard.bpv'' konnte nicht gefunden werden.    \n"
                   "Damit konnten nur die ausgewählten Dateien kopiert werden.");

} // namespace ProjectTemplate
