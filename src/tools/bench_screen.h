#pragma once

// The boleto screen driven headless over one database, the way a user goes through
// it, with the time of each step and of the server's part in it.
#include <string>
#include <vector>

#include "platform/value.h"

namespace pag::tools {

struct ScreenStep {
    double ms = 0;        // the whole step, screen and server
    double serverMs = 0;  // the embedded server's calls in it
};

struct ScreenRun {
    long listed = 0;  // boletos listed by the filter over +-10 years
    ScreenStep load, markAll, unmarkAll, save, sort;
    // The list as sorted, exported to CSV and laid out for printing (every row, 50 a
    // page), with the memory each took at its peak; the PDF painting is the desktop's.
    ScreenStep csv, report;
    double csvPeakMiB = 0, reportPeakMiB = 0;
    long csvRows = 0, reportPages = 0;
    // What the screen asked the server for: the boletos due today (the first load) and
    // those of the +-10 years filter, with the SELECT each ran.
    std::vector<Value> todayArgs, allArgs;
    std::string todaySql, allSql;
    std::string failure;  // empty when every step ran as a user would see it
};

// Company 01, branch 0001, operator ADMIN; the user answers Yes to every question.
ScreenRun RunScreen(const std::string& path);

}  // namespace pag::tools
