#pragma once

#include <string>

// Each sub-command of the pag12000 command line: argv[0] is the sub-command's own
// first argument (after the command word). Returns the process exit code.
namespace pag {
class ClientDataSet;
}

namespace pag::tools {

// Prints a sub-command's usage text on the error output; returns the usage exit code 2.
int printUsage(const char* text);

// boleto check CODE
int runBoleto(int argc, char** argv);
// bench [--db10k FILE] [--db100k FILE] | bench dataset [--rows N]
// | bench server [--readers N] [--saves N] | bench server --db FILE
int runBench(int argc, char** argv);
// bench dataset: load, sort, locate, filter and walk of the boleto dataset alone
int runBenchDataset(int argc, char** argv);
// bench server: a writer's saves under concurrent readers of the boleto list
int runBenchServer(int argc, char** argv);
// What the server's answers of the boleto list cost on a database already filled
// (seed scale), each query next to SQLite running the same SELECT. Times in ms, sizes
// in MiB; p50 over every call of every client.
struct ServerBenchFigures {
    long listRows = 0;      // company 01 without criteria
    long dueTodayRows = 0;  // company 01, due today
    double listRawMs = 0;   // the list's SELECT in SQLite, every column read
    double dueTodayRawMs = 0;
    double listInProcessMs = 0;  // GetBoletos in process, its answer written out
    double dueTodayInProcessMs = 0;
    double listAnswerMiB = 0;         // the list's answer as sent
    double listInProcessPeakMiB = 0;  // memory the in-process call took at its peak
    int listClients = 0;
    double listHttpP50Ms = 0;  // GetBoletos over HTTP, listClients at once
    int dueTodayClients = 0;
    double dueTodayHttpP50Ms = 0;  // due today over HTTP, dueTodayClients at once
    double serverPeakRssMiB = 0;   // the serving process at its peak, over both rounds
};
// Runs the server in a child process of its own, so its memory is its alone.
ServerBenchFigures benchServerAnswers(const std::string& dbPath, int listClients = 4,
                                      int dueTodayClients = 16, int rounds = 3);

// Moves to the first boleto a save may change (bench server's choice); false when none.
bool BenchGoToChangeable(ClientDataSet& cds);
// seed demo FILE | seed scale --boletos N FILE
int runSeed(int argc, char** argv);
// serve --db FILE [--bind HOST] [--port P] [--token T] [--cert F --key F] [--insecure]
int runServe(int argc, char** argv);
// call OPERATION ARG... (--db FILE | --server HOST:PORT [--token T])
int runCall(int argc, char** argv);
// export --db FILE --empresa 01 [--filial 0001] [--de D] [--ate D] [--fornecedor C] --out F
int runExport(int argc, char** argv);
// scenario [--host NAME] FILE...
int runScenario(int argc, char** argv);

}  // namespace pag::tools
