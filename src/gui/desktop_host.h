#pragma once

#include <memory>
#include <string>
#include <vector>

#include "contracts/client/suite_context.h"
#include "gui/main_window.h"
#include "gui/package_library.h"
#include "gui/qt_user_interface.h"

namespace pag::gui {

struct DesktopOptions {
    LoginContext login;
    std::string screenshotDir;  // non-empty: save the screens as images and leave
    std::string packageFile;    // the package library; empty: found by name
};

// The desktop command line: the login options, "--screenshot DIR", "--package FILE".
// The embedded default opens ./demo.db for company "01", branch "0001", operator
// "ADMIN". With --server the lookups still read the suite's database (--db), which
// must exist.
DesktopOptions parseDesktopArgs(const std::vector<std::string>& args);

// Creates the demo database at path when there is no such file; brings the database
// (a file or a PostgreSQL one) up to date.
void prepareDatabase(const std::string& path, Date today);

// The host suite: loads the package (its library when one is found, else the copy
// linked in), lends it its services (user interface, login, database, embedded
// server), starts it and shows its screen in the main window.
class DesktopHost {
public:
    explicit DesktopHost(const LoginContext& login, const std::string& packageFile = {});
    ~DesktopHost();
    DesktopHost(const DesktopHost&) = delete;
    DesktopHost& operator=(const DesktopHost&) = delete;

    // IniProc with [company, processing date], then the screen as a child window.
    // False when the screen did not open.
    bool open();
    MainWindow& window() { return *window_; }
    QtUserInterface& ui() { return ui_; }
    // The main screen, once open.
    Form* screen() const;
    FormView* screenView() const;
    // The package library loaded; empty when the linked-in package runs.
    QString packageFile() const { return package_.file; }

private:
    QtUserInterface ui_;
    PackageEntries package_;
    std::unique_ptr<Database> db_;
    SuiteServices services_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace pag::gui
