// The package linked into the program: used when no package library is found (a
// build without shared libraries, or the program copied alone).
#include "Cli_pag12000/habconta.h"
#include "gui/package_library.h"
#include "pkg_PAG12000/pkg_pag12000.h"

namespace pag::gui {

PackageEntries linkedPackage() {
    PackageEntries p;
    p.setSuite = [](SuiteServices* s) { SetSuite(s); };
    p.initialize = [] { Initialize(); };
    p.finalize = [] { Finalize(); };
    p.iniProc = [](const Value* v) { IniProc(v ? *v : Value()); };
    p.mainScreen = []() -> Form* { return frmHabConta; };
    return p;
}

}  // namespace pag::gui
