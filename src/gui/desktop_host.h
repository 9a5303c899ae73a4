#pragma once

#include <memory>
#include <string>
#include <vector>

#include "contracts/suite_context.h"
#include "gui/main_window.h"
#include "gui/qt_user_interface.h"

namespace pag::gui {

struct DesktopOptions {
    LoginContext login;
    std::string screenshotDir;  // non-empty: save the screens as images and leave
};

// The desktop command line: the login options, "--screenshot DIR". The embedded
// default opens ./demo.db for company "01", branch "0001", operator "ADMIN".
DesktopOptions parseDesktopArgs(const std::vector<std::string>& args);

// Creates the demo database at path when there is none; brings it up to date.
void prepareDatabase(const std::string& path, Date today);

// The host suite: lends the package its services (user interface, login, database,
// embedded server), starts it and shows its screen in the main window. The package
// is linked in; the host does not load it as a library yet.
class DesktopHost {
public:
    explicit DesktopHost(const LoginContext& login);
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

private:
    QtUserInterface ui_;
    std::unique_ptr<Database> db_;
    SuiteServices services_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace pag::gui
