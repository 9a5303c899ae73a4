#pragma once

#include <QString>

#include "contracts/client/suite_context.h"
#include "platform/ui/form.h"
#include "platform/value.h"

namespace pag::gui {

// The entries of the boleto package the host calls: the package's own copy of the
// suite services, loading and unloading, the entry by name, and the screen the entry
// opened (null before or when it did not open).
struct PackageEntries {
    void (*setSuite)(SuiteServices*) = nullptr;
    void (*initialize)() = nullptr;
    void (*finalize)() = nullptr;
    void (*iniProc)(const Value*) = nullptr;
    Form* (*mainScreen)() = nullptr;
    QString file;  // the library loaded; empty for the package linked into the program
};

// Finds the package library: the given file when there is one, else the environment's
// PAG12000_PACKAGE, else pkg_PAG12000 beside the program or where the build puts it.
// Empty when none exists (the program then uses the package linked into it).
QString findPackageLibrary(const QString& given);
// Loads a package library (kept loaded for the program's life) and resolves its
// entries; throws std::runtime_error in Portuguese when the file is not the package.
PackageEntries loadPackageLibrary(const QString& file);
// The package linked into the program.
PackageEntries linkedPackage();

}  // namespace pag::gui
