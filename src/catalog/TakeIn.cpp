#include "catalog/TakeIn.h"

#include "catalog/AddRemove.h"
#include "catalog/ComponentFile.h"
#include "catalog/References.h"
#include "platform/IniDocument.h"
#include "platform/PathParts.h"

#include <QHash>

#include <algorithm>

namespace Catalog {

namespace {

const QString kNoneTaken = QStringLiteral("Keine Komponente wurde übernommen.");
const QString kNotChecked = QStringLiteral("nicht markiert");

using State = Candidate::State;

struct Verdict
{
    State state = State::New;
    QString reason;
};

// The keys a catalogue has left and the names already given out, for a plan or
// a take-in that goes through the candidates in line order.
class Room
{
public:
    explicit Room(Snapshot catalogue) : m_catalogue(std::move(catalogue))
    {
        for (int key = kFirstKey; key <= kLastKey; ++key) {
            if (m_catalogue.listedName(key).isEmpty())
                m_free << key;
        }
    }

    int free() const { return int(m_free.size()); }

    // Whether the candidate is new to the catalogue and to the lines before it.
    Verdict check(const Candidate& c) const
    {
        if (const Seen now = m_catalogue.seen(c.name); now.listed) {
            if (now.place == Place{c.folder, c.fileName})
                return {State::Same, QStringLiteral("Die Datei steht schon unter ''%1'' in der "
                                                    "Vorlagenliste.")
                                         .arg(m_catalogue.listedName(m_catalogue.slotFor(c.name)))};
            return {State::NameTaken, takenText(c.name, now.place.path())};
        }
        if (const auto by = m_claimed.constFind(c.name.toCaseFolded()); by != m_claimed.constEnd())
            return {State::NameTaken, takenText(c.name, *by)};
        return {};
    }

    // Gives the name to the candidate and a key, if one is left; else -1.
    int claim(const Candidate& c)
    {
        m_claimed.insert(c.name.toCaseFolded(), c.folder + c.fileName);
        return m_free.isEmpty() ? -1 : m_free.takeFirst();
    }

private:
    static QString takenText(const QString& name, const QString& path)
    {
        return QStringLiteral("Den Namen ''%1'' trägt schon ''%2''.").arg(name, path);
    }

    Snapshot m_catalogue;
    QList<int> m_free;
    QHash<QString, QString> m_claimed; // folded name: the file that has it
};

State fromImport(ProjectImport::State state)
{
    switch (state) {
    case ProjectImport::State::Found:
        return State::New;
    case ProjectImport::State::Missing:
        return State::Missing;
    case ProjectImport::State::NotRegular:
        return State::NotRegular;
    case ProjectImport::State::Duplicate:
        return State::Duplicate;
    case ProjectImport::State::UnusableKind:
        break;
    }
    return State::UnusableKind;
}

// A file not found goes by its path as the project names it, in this system's separators.
QString shownName(const Candidate& c)
{
    return c.name.isEmpty() ? QString(c.component.rawPath).replace(u'\\', u'/') : c.name;
}

} // namespace

Intake planIntake(const QString& projectPath)
{
    return planIntake(projectPath, Snapshot::read());
}

Intake planIntake(const QString& projectPath, const Snapshot& catalogue)
{
    Intake intake;
    intake.project = ProjectImport::readProject(projectPath);
    Room room(catalogue);
    intake.free = room.free();
    if (intake.project.problem != ProjectImport::Problem::None) {
        intake.problem = ProjectImport::problemText(intake.project);
        return intake;
    }
    for (const ProjectImport::Component& component : std::as_const(intake.project.components)) {
        Candidate c;
        c.component = component;
        c.state = fromImport(component.state);
        if (!component.resolvedPath.isEmpty()) {
            c.folder = FolderOfPath(component.resolvedPath);
            c.fileName = FileNameOfPath(component.resolvedPath);
            QByteArray bytes;
            if (c.state == State::NotRegular ||
                !FileIo::readRegularFile(component.resolvedPath, &bytes, ComponentFile::kMaxSize))
                bytes.clear();
            const EntryName entry = entryNameOf(c.fileName, bytes);
            c.name = entry.name;
            c.repair = entry.repair;
        }
        if (c.state != State::New) {
            // A companion on a line of its own says what it goes with.
            c.reason = c.state == State::UnusableKind && companionOf(c.fileName) != Kind::Other
                           ? componentProblem(c.name, c.folder, c.fileName)
                           : ProjectImport::stateText(component.state);
            c.repair = false;
        } else if (const QString problem = componentProblem(c.name, c.folder, c.fileName);
                   !problem.isEmpty()) {
            c.state = State::Refused;
            c.reason = problem;
            c.repair = false;
        } else if (const Verdict verdict = room.check(c); verdict.state != State::New) {
            c.state = verdict.state;
            c.reason = verdict.reason;
            c.repair = false;
        } else {
            c.checked = room.claim(c) >= 0;
            if (!c.checked) {
                c.state = State::Full;
                c.reason = fullText();
            }
            c.remembered = ProjectImport::rememberedLines(intake.project, component);
        }
        intake.candidates.append(c);
    }
    return intake;
}

QList<Candidate> linesWith(const Intake& intake, const QList<int>& chosen)
{
    QList<Candidate> lines = intake.candidates;
    int room = intake.free;
    for (int i = 0; i < lines.size(); ++i) {
        lines[i].checked = chosen.contains(i);
        if (lines[i].checked && (lines[i].state == State::New || lines[i].state == State::Full))
            --room;
    }
    int fitting = intake.free;
    for (Candidate& c : lines) {
        if (c.state != State::New && c.state != State::Full)
            continue;
        const bool fits = c.checked ? fitting-- > 0 : room > 0;
        c.state = fits ? State::New : State::Full;
        c.reason = fits ? QString() : fullText();
    }
    return lines;
}

IntakeOutcome takeIn(const Intake& intake, const QList<int>& chosen, Unchosen unchosen)
{
    IntakeOutcome outcome;
    const auto leave = [&](int index, const QString& reason) {
        outcome.left.append({shownName(intake.candidates.at(index)), reason, index});
    };

    QList<int> order;
    for (const int index : chosen) {
        if (index >= 0 && index < intake.candidates.size())
            order << index;
    }
    std::sort(order.begin(), order.end());
    order.erase(std::unique(order.begin(), order.end()), order.end());

    // A module is renamed only when the catalogue as read now has room for it;
    // the others are decided under the lock alone.
    QList<int> going;
    Room before(Snapshot::read());
    for (const int index : std::as_const(order)) {
        const Candidate& c = intake.candidates.at(index);
        if (c.state != State::New && c.state != State::Full) {
            leave(index, c.reason);
            continue;
        }
        QString why = before.check(c).reason;
        if (why.isEmpty() && before.claim(c) < 0)
            why = fullText();
        if (c.repair && !why.isEmpty()) {
            leave(index, why);
            continue;
        }
        if (c.repair) {
            const QString path = c.folder + c.fileName;
            QByteArray bytes;
            if (!FileIo::readRegularFile(path, &bytes, ComponentFile::kMaxSize))
                bytes.clear();
            if (const QString problem = ComponentFile::repairModule(path, bytes, c.name);
                !problem.isEmpty()) {
                leave(index, problem);
                continue;
            }
            outcome.backups << path + QStringLiteral(".bak");
        }
        going << index;
    }

    QList<IntakeOutcome::Left> leftUnderLock;
    outcome.result = Ini::edit(file(), [&](Ini::Document& document) {
        if (!document.writable())
            return true; // the save says why
        // Another program may have changed the catalogue since the plan.
        Room room{Snapshot(document)};
        for (const int index : std::as_const(going)) {
            const Candidate& c = intake.candidates.at(index);
            QString why = room.check(c).reason;
            const int key = why.isEmpty() ? room.claim(c) : -1;
            if (why.isEmpty() && key < 0)
                why = fullText();
            if (why.isEmpty() && !listEntry(document, key, c.name, c.folder, c.fileName))
                why = entryProblem(c.name, c.folder, c.fileName);
            if (!why.isEmpty()) {
                leftUnderLock.append({shownName(c), why, index});
                continue;
            }
            if (const QStringList lines =
                    References::setLines(document, c.name, c.fileName, c.remembered);
                !lines.isEmpty())
                outcome.unremembered.append({c.name, lines});
            outcome.taken << c.name;
            outcome.takenIndexes << index;
        }
        if (outcome.taken.isEmpty())
            return false;
        outcome.sorted = sortList(document);
        return true;
    });
    if (outcome.result.ok()) {
        outcome.left += leftUnderLock;
        const bool control =
            std::any_of(outcome.takenIndexes.cbegin(), outcome.takenIndexes.cend(), [&](int index) {
                return intake.candidates.at(index).component.kind == Kind::UserControl;
            });
        // A user control's property pages never go in: said, not left to be found out.
        for (int i = 0; control && unchosen == Unchosen::Unnamed && i < intake.candidates.size();
             ++i) {
            const Candidate& c = intake.candidates.at(i);
            if (c.component.kind == Kind::PropertyPage && !order.contains(i))
                leave(i, c.reason);
        }
    } else {
        outcome.taken.clear();
        outcome.takenIndexes.clear();
        outcome.unremembered.clear();
        outcome.sorted.clear();
        for (const int index : std::as_const(going))
            leave(index, outcome.result.reason());
    }
    if (unchosen == Unchosen::Named) {
        const QList<Candidate> lines = linesWith(intake, order);
        for (int i = 0; i < lines.size(); ++i) {
            if (!order.contains(i))
                leave(i, lines.at(i).state == State::New ? kNotChecked : lines.at(i).reason);
        }
    }
    std::stable_sort(outcome.left.begin(), outcome.left.end(),
                     [](const auto& a, const auto& b) { return a.index < b.index; });
    return outcome;
}

QString stateText(Candidate::State state)
{
    switch (state) {
    case State::New:
        return QStringLiteral("neu");
    case State::Same:
        return QStringLiteral("schon in der Vorlagenliste");
    case State::NameTaken:
        return QStringLiteral("Name schon vergeben");
    case State::Missing:
        return ProjectImport::stateText(ProjectImport::State::Missing);
    case State::NotRegular:
        return ProjectImport::stateText(ProjectImport::State::NotRegular);
    case State::Duplicate:
        return ProjectImport::stateText(ProjectImport::State::Duplicate);
    case State::UnusableKind:
        return ProjectImport::stateText(ProjectImport::State::UnusableKind);
    case State::Refused:
        return QStringLiteral("nicht speicherbar");
    case State::Full:
        return QStringLiteral("Vorlagenliste voll");
    }
    return {};
}

QString summaryText(const IntakeOutcome& outcome)
{
    QStringList lines;
    if (!outcome.result.ok())
        lines << notSavedText(kNoneTaken, outcome.result);
    else if (outcome.taken.isEmpty())
        lines << kNoneTaken;
    else
        lines << QStringLiteral("In die Vorlagenliste übernommen (%1): %2")
                     .arg(outcome.taken.size())
                     .arg(outcome.taken.join(QStringLiteral(", ")));
    if (!outcome.left.isEmpty()) {
        lines << QStringLiteral("Nicht übernommen (%1):").arg(outcome.left.size());
        for (const IntakeOutcome::Left& left : outcome.left)
            lines << QStringLiteral("  %1: %2")
                         .arg(left.name, QString(left.reason).replace(u'\n', u' '));
    }
    for (const QString& backup : outcome.backups)
        lines << QStringLiteral("Die interne Bezeichnung eines Moduls wurde in seinen Dateinamen "
                                "geändert; die Sicherung liegt unter ''%1''.")
                     .arg(backup);
    for (const IntakeOutcome::Unremembered& entry : outcome.unremembered)
        lines << unrememberedText(entry.name, entry.lines);
    return lines.join(QLatin1Char('\n'));
}

} // namespace Catalog
