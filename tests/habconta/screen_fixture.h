#pragma once

// The boleto screen opened on a fresh demo database for company "01" today, with its
// embedded server recording every call it receives.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Cli_pag12000/habconta.h"
#include "contracts/client/suite_context.h"
#include "pkg_PAG12000/pkg_pag12000.h"
#include "platform/ui/dispatch.h"
#include "scenario/scenario_database.h"
#include "server/rdm_hab_conta.h"
#include "testing/scripted_user_interface.h"

namespace pag::testing_screen {

struct RecordedCall {
    std::string operation;
    std::vector<Value> args;
};

// The screen's embedded server, keeping each call. A test may step in: `intercept` gets
// the call and decides what it answers (proceed() runs it on the server).
using Intercept = std::function<CallResult(const std::string& operation, std::vector<Value>& args,
                                           const std::function<CallResult()>& proceed)>;

class RecordingServer final : public ServerModule {
public:
    RecordingServer(const std::string& path, std::vector<RecordedCall>& calls, Intercept& intercept)
        : inner_(path), calls_(calls), intercept_(intercept) {}
    CallResult call(const CallContext& ctx, const std::string& operation,
                    std::vector<Value>& args) override {
        calls_.push_back({operation, args});
        auto proceed = [&] { return inner_.call(ctx, operation, args); };
        return intercept_ ? intercept_(operation, args, proceed) : proceed();
    }

private:
    server::RdmHabConta inner_;
    std::vector<RecordedCall>& calls_;
    Intercept& intercept_;
};

class ScreenTest : public ::testing::Test {
protected:
    // Special cases of the demo data, run before the screen opens.
    virtual void PrepareDatabase(scenario::ScenarioDatabase&) {}

    void SetUp() override {
        db_ = scenario::ScenarioDatabase::demo(Date::today());
        PrepareDatabase(*db_);
        suiteDb_ = std::make_unique<Database>(db_->path());
        services_.ui = &ui_;
        services_.login.EmprProc = "01";
        services_.login.FiliProc = "0001";
        services_.login.Operador = "ADMIN";
        services_.login.DatabaseFile = db_->path();
        services_.db = suiteDb_.get();
        services_.embeddedServer = [this] {
            return std::make_unique<RecordingServer>(db_->path(), calls_, intercept_);
        };
        SetSuite(&services_);
        Initialize();
        IniProc(Value(ValueArray{Value("01"), Value(Date::today())}));
        ASSERT_NE(frmHabConta, nullptr);
        ASSERT_GT(frmHabConta->cdsBoletos.RecordCount(), 0);
    }

    void TearDown() override {
        Finalize();
        SetSuite(nullptr);
    }

    TfrmHabConta& tela() { return *frmHabConta; }

    void vaiPara(const char* filial, const char* lancamento) {
        ASSERT_TRUE(
            tela().cdsBoletos.Locate("CDFILIAL;NRLANBOLPAG", {Value(filial), Value(lancamento)}));
    }

    template <typename F>
    void usuario(F&& f) {
        dispatchUserAction(ui_, f);
    }

    // The calls of one operation, in order.
    std::vector<const RecordedCall*> chamadas(const std::string& operation) const {
        std::vector<const RecordedCall*> out;
        for (const RecordedCall& c : calls_)
            if (c.operation == operation) out.push_back(&c);
        return out;
    }

    std::unique_ptr<scenario::ScenarioDatabase> db_;
    std::unique_ptr<Database> suiteDb_;
    ScriptedUserInterface ui_;
    SuiteServices services_;
    std::vector<RecordedCall> calls_;
    Intercept intercept_;
};

}  // namespace pag::testing_screen
