#pragma once

#include "generate/Generation.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QMap>

#include <optional>

// A front end that writes down the steps of a generation and its sorted list, in
// order, and may stop the run when a step starts or when the sorted list comes.
struct Recorder : Generate::Frontend
{
    static QString name(Generate::Step step)
    {
        static const char* const names[] = {"Copies",  "Marks",   "ProjectFiles",
                                            "CleanUp", "Options", "SortedList"};
        return QString::fromLatin1(names[int(step)]);
    }

    std::optional<Generate::Step> stopAt;
    bool stopAtSortedList = false;
    QStringList said;

    void stepStarted(Generate::Step step) override
    {
        said << name(step);
        if (stopAt == step)
            m_running->stop();
    }
    void sortedList(const QStringList& names) override
    {
        said << QStringLiteral("sorted ") + names.join(QLatin1Char(','));
        if (stopAtSortedList)
            m_running->stop();
    }

    Generate::Outcome run(Generate::Generation& generation)
    {
        m_running = &generation;
        const Generate::Outcome outcome = generation.run(*this);
        m_running = nullptr;
        return outcome;
    }
    Generate::Outcome run(const Generate::Request& request)
    {
        Generate::Generation generation(request);
        return run(generation);
    }

private:
    Generate::Generation* m_running = nullptr;
};

// The project Kunde made straight into `folder` from these entries.
inline Generate::Request request(const QStringList& entries, const QString& folder)
{
    Generate::Request r;
    r.entries = entries;
    r.projectName = QStringLiteral("Kunde");
    r.folderText = folder;
    r.subfolder = false;
    return r;
}

// Entries "name=file", all in <test>/src/, listed in this order; then `more` lines.
inline void writeEntries(const TestFolder& t, const QStringList& entries,
                         const QStringList& more = {})
{
    QList<Entry> list;
    for (const QString& entry : entries)
        list.append({entry.section(QLatin1Char('='), 0, 0),
                     entry.section(QLatin1Char('='), 1),
                     false,
                     {},
                     t.file(QStringLiteral("src/"))});
    t.writeEntries(list, more);
}

inline QMap<QString, QByteArray> contents(const QString& folder)
{
    return TestFolder::contents(folder);
}
