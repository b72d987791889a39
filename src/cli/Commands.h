#pragma once

#include "cli/Command.h"

// The tasks of the command line, each in a file of its own.
namespace Cli {

// --liste: every entry in list order.
class ListCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("liste"); }
    QString description() const override;
    QList<QCommandLineOption> options() const override { return {jsonOption()}; }
    int execute(const Arguments& arguments, Output& output) override;
};

// --pruefen: what is wrong with the catalogue.
class CheckCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("pruefen"); }
    QString description() const override;
    QList<QCommandLineOption> options() const override { return {jsonOption()}; }
    int execute(const Arguments& arguments, Output& output) override;
};

// --hinzufuegen DATEI...: component files into the catalogue.
class AddCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("hinzufuegen"); }
    QString description() const override;
    QString valueName() const override { return QStringLiteral("DATEI"); }
    bool takesMany() const override { return true; }
    QList<QCommandLineOption> options() const override;
    int execute(const Arguments& arguments, Output& output) override;
};

// --entfernen NAME...: entries out of the catalogue.
class RemoveCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("entfernen"); }
    QString description() const override;
    QString valueName() const override { return QStringLiteral("NAME"); }
    bool takesMany() const override { return true; }
    int execute(const Arguments& arguments, Output& output) override;
};

// --neu NAME --ordner ORDNER: a project, as the wizard makes it.
class NewCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("neu"); }
    QString description() const override;
    QString valueName() const override { return QStringLiteral("NAME"); }
    QList<QCommandLineOption> options() const override;
    QStringList required() const override { return {QStringLiteral("ordner")}; }
    QStringList repeatable() const override { return {componentOption().names().first()}; }
    int execute(const Arguments& arguments, Output& output) override;
};

// --uebernehmen PROJEKT.vbp: the components of a project into the catalogue.
class TakeInCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("uebernehmen"); }
    QString description() const override;
    QString valueName() const override { return QStringLiteral("PROJEKT.vbp"); }
    QList<QCommandLineOption> options() const override;
    QStringList repeatable() const override { return {componentOption().names().first()}; }
    int execute(const Arguments& arguments, Output& output) override;
};

// --abgleichen PROJEKT.vbp|ORDNER: projects compared with the catalogue.
class CompareCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("abgleichen"); }
    QString description() const override;
    QString valueName() const override { return QStringLiteral("PROJEKT.vbp|ORDNER"); }
    QList<QCommandLineOption> options() const override { return {jsonOption()}; }
    int execute(const Arguments& arguments, Output& output) override;
};

// --aktualisieren PROJEKT.vbp: a project's components behind the catalogue brought
// up to date.
class UpdateCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("aktualisieren"); }
    QString description() const override;
    QString valueName() const override { return QStringLiteral("PROJEKT.vbp"); }
    QList<QCommandLineOption> options() const override
    {
        return {componentOption(), previewOption()};
    }
    QStringList repeatable() const override { return {componentOption().names().first()}; }
    int execute(const Arguments& arguments, Output& output) override;
};

} // namespace Cli
