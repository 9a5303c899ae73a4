#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "scenario/scenario_runner.h"
#include "scenario_runner/test_screen.h"

namespace pag::scenario::testing {

// Runs scripts against the test screen, opened for company 01 on 06/12/2026 (today).
class RunnerTest : public ::testing::Test {
protected:
    static constexpr const char* kOpen =
        "db empty\nlogin empresa=01 filial=0001 operador=ADMIN\nopen 01 06/12/2026\n";

    ScenarioOptions options() const {
        ScenarioOptions o;
        o.fileName = "teste.scn";
        o.today = Date::fromYmd(2026, 12, 6);
        o.hostFactory = [](const LoginContext& login, UserInterface& ui) {
            return std::make_unique<TestHost>(login, ui);
        };
        return o;
    }
    // The script with the screen opened first.
    ScenarioResult run(const std::string& body) { return runRaw(kOpen + body); }
    ScenarioResult runRaw(const std::string& script) {
        script_ = script;
        return runScenario(script_, options());
    }
    // The line of the last script that holds marker (its first such line).
    int lineOf(std::string_view marker) const {
        int line = 1;
        size_t at = script_.find(marker);
        EXPECT_NE(at, std::string::npos) << marker;
        for (size_t i = 0; i < at && at != std::string::npos; ++i)
            if (script_[i] == '\n') ++line;
        return line;
    }
    // Passes when the script ran to its end with every check held.
    static void expectPassed(const ScenarioResult& r, int checks) {
        EXPECT_FALSE(r.failed) << r.report("teste.scn");
        EXPECT_EQ(r.passed, checks);
    }
    // Passes when the script stopped at line with a message holding text.
    static void expectFailure(const ScenarioResult& r, int line, std::string_view text) {
        EXPECT_TRUE(r.failed);
        EXPECT_EQ(r.line, line) << r.message;
        EXPECT_NE(r.message.find(text), std::string::npos) << r.message;
    }

    std::string script_;
};

}  // namespace pag::scenario::testing
