#pragma once

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
// bench [--db10k FILE] [--db100k FILE] | bench dataset [--rows N] | bench server ...
int runBench(int argc, char** argv);
// bench dataset: load, sort, locate, filter and walk of the boleto dataset alone
int runBenchDataset(int argc, char** argv);
// bench server: a writer's saves under concurrent readers of the boleto list
int runBenchServer(int argc, char** argv);
// Moves to the first boleto a save may change (bench server's choice); false when none.
bool BenchGoToChangeable(ClientDataSet& cds);
// seed demo FILE | seed scale --boletos N FILE
int runSeed(int argc, char** argv);
// serve --db FILE [--bind HOST] [--port P] [--token T] [--cert F --key F] [--insecure]
int runServe(int argc, char** argv);
// call OPERATION ARG... (--db FILE | --server HOST:PORT [--token T])
int runCall(int argc, char** argv);
// scenario [--host NAME] FILE...
int runScenario(int argc, char** argv);

}  // namespace pag::tools
