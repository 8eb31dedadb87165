// velmora-data: compiles problem sources into the data sets and inspects them.
#include "commands.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "solver/commands.h"

int main(int argc, char** argv) {
    if (argc >= 2) {
        if (std::strcmp(argv[1], "prove") == 0) return RunProve(argc - 2, argv + 2);
        if (std::strcmp(argv[1], "order") == 0) return RunOrder(argc - 2, argv + 2);
        if (std::strcmp(argv[1], "grow") == 0) return RunGrow(argc - 2, argv + 2);
        if (std::strcmp(argv[1], "solve") == 0) return RunSolve(argc - 2, argv + 2);
    }
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    CommandOutput io;
    const int status = RunDataCommand(args, io);
    std::fwrite(io.out.constData(), 1, static_cast<std::size_t>(io.out.size()), stdout);
    std::fflush(stdout);
    std::fwrite(io.err.constData(), 1, static_cast<std::size_t>(io.err.size()), stderr);
    return status;
}
