// The subcommands of velmora-data, callable in-process (tests use them).
// Each takes the arguments after its name and returns the exit status:
// 0 success, 1 faults found, 2 wrong usage.
#pragma once

#include <QByteArray>
#include <QStringList>

struct CommandOutput {
    QByteArray out; // standard output (UTF-8)
    QByteArray err; // standard error (UTF-8)
};

int RunCompile(const QStringList& args, CommandOutput& io);
int RunCheck(const QStringList& args, CommandOutput& io);
int RunAudit(const QStringList& args, CommandOutput& io);
int RunList(const QStringList& args, CommandOutput& io);
int RunDump(const QStringList& args, CommandOutput& io);

// Dispatches on args[0] (compile, check, list, dump, help).
int RunDataCommand(const QStringList& args, CommandOutput& io);

QByteArray UsageText();
