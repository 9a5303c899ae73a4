// The host loads the package as the suite does: a shared library, found by name and
// called through its exported entries. The package keeps its own copy of the suite
// library, so the host lends the services to that copy before anything else.
#include "gui/package_library.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <stdexcept>

#include "gui/qt_text.h"
#include "platform/ui/form.h"

namespace pag::gui {

namespace {

QLibrary* gLibrary = nullptr;  // kept loaded: the screens' code lives in it

// The library's entry that answers its main screen.
Form* (*gTelaPrincipal)() = nullptr;

Form* libraryScreen() {
    return gTelaPrincipal ? gTelaPrincipal() : nullptr;
}

template <typename F>
F resolve(QLibrary& library, const char* name) {
    auto f = reinterpret_cast<F>(library.resolve(name));
    if (!f)
        throw std::runtime_error("O arquivo " + fromQ(library.fileName()) +
                                 " não é o pacote pkg_PAG12000: falta a entrada " + name + ".");
    return f;
}

}  // namespace

QString findPackageLibrary(const QString& given) {
    if (!given.isEmpty()) return given;
    const QString env = qEnvironmentVariable("PAG12000_PACKAGE");
    if (!env.isEmpty()) return env;
    const QString dir = QCoreApplication::applicationDirPath();
    QStringList candidates;
    for (const QString& name : {QStringLiteral("pkg_PAG12000.so"), QStringLiteral("pkg_PAG12000")})
        candidates << QDir(dir).filePath(name)
                   << QDir(dir).filePath(QStringLiteral("../lib/") + name);
#ifdef PAG_PACKAGE_BUILD_FILE
    candidates << QStringLiteral(PAG_PACKAGE_BUILD_FILE);
#endif
    for (const QString& c : candidates)
        if (QFileInfo(c).isFile()) return QFileInfo(c).absoluteFilePath();
    return {};
}

PackageEntries loadPackageLibrary(const QString& file) {
    if (gLibrary && gLibrary->fileName() != QFileInfo(file).absoluteFilePath())
        throw std::runtime_error("Outro pacote pkg_PAG12000 já está carregado.");
    if (!gLibrary) {
        auto library = std::make_unique<QLibrary>(QFileInfo(file).absoluteFilePath());
        if (!library->load())
            throw std::runtime_error("Não foi possível carregar o pacote " + fromQ(file) + ": " +
                                     fromQ(library->errorString()));
        gLibrary = library.release();
    }
    PackageEntries p;
    p.setSuite = resolve<void (*)(SuiteServices*)>(*gLibrary, "pkg_PAG12000_SetSuite");
    p.initialize = resolve<void (*)()>(*gLibrary, "pkg_PAG12000_Initialize");
    p.finalize = resolve<void (*)()>(*gLibrary, "pkg_PAG12000_Finalize");
    p.iniProc = resolve<void (*)(const Value*)>(*gLibrary, "pkg_PAG12000_IniProc");
    gTelaPrincipal = resolve<Form* (*)()>(*gLibrary, "pkg_PAG12000_TelaPrincipal");
    p.mainScreen = libraryScreen;
    p.file = gLibrary->fileName();
    return p;
}

}  // namespace pag::gui
