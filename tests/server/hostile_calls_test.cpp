// Every operation with a hostile value in every argument: a refusal, never an internal failure.
#include <cmath>
#include <limits>

#include "reliability.h"
#include "server/dataset_fields.h"
#include "server_fixture.h"

namespace pag::server::testing {
namespace {

std::vector<Value> hostileValues() {
    auto broken = std::make_shared<Packet>(std::vector<PacketField>{
        {"DTVENBOLPAG", FieldType::Float, 0}, {"NRLANBOLPAG", FieldType::Integer, 0}});
    broken->isDelta = true;
    broken->changes.push_back({ChangeOp::Insert, broken->layout.encode({1e308, int64_t{-1}}), {}});
    ValueArray nested{Value(ValueArray{Value(ValueArray{Value("x")})})};
    std::vector<Value> values = {
        Value(std::numeric_limits<double>::max()),
        Value(int64_t{2147483647}),
        Value(std::string(70000, '9')),
        Value(std::shared_ptr<const Packet>(broken)),
    };
    if (!longReliabilityRun()) return values;
    values.insert(values.end(),
                  {Value(), Value(-1e308), Value(std::nan("")), Value(true), Value("2024-02-30"),
                   Value("31/02/2024"), Value(Date::fromYmd(3500, 1, 1)), Value(nested),
                   Value(Blob{std::string(3, '\0')}), Value(" ")});
    return values;
}

class HostileCalls : public ::testing::Test {
protected:
    void SetUp() override {
        auto db = openServerDatabase(file.path());
        seedDemo(*db, Date::today());
        module = std::make_unique<RdmHabConta>(file.path());
    }
    bool listLoads() {
        std::vector<Value> filter = allBoletosFilter();
        CallResult r = module->call(context(), "GetBoletos", filter);
        return r.ok && r.result.asPacket()->rowCount() > 0;
    }
    TempDatabase file;
    std::unique_ptr<RdmHabConta> module;
};

TEST_F(HostileCalls, NoArgumentPositionMakesTheServerFailInternally) {
    constexpr size_t kPositions = 24;  // the longest argument list (GetBoletos)
    const std::vector<Value> hostile = hostileValues();
    int accepted = 0;
    for (const std::string& operation : module->registry().names()) {
        const bool writes = module->registry().find(operation)->access == Access::Write;
        for (size_t position = 0; position < kPositions; ++position) {
            for (const Value& value : hostile) {
                std::vector<Value> args(kPositions, Value("0001"));
                args.resize(position + 1);
                args[position] = value;
                CallResult r;
                try {
                    r = module->call(context(), operation, args);
                } catch (const std::exception& e) {
                    ADD_FAILURE() << operation << " argumento " << position + 1 << " "
                                  << value.debugString() << ": erro interno: " << e.what();
                    continue;
                }
                if (!r.ok) {
                    EXPECT_FALSE(r.message.empty()) << operation << " " << position;
                    continue;
                }
                if (!writes) continue;
                ++accepted;
                EXPECT_TRUE(listLoads()) << "depois de " << operation << " argumento "
                                         << position + 1 << " " << value.debugString();
            }
        }
    }
    EXPECT_TRUE(listLoads());
    RecordProperty("accepted_writes", accepted);
}

}  // namespace
}  // namespace pag::server::testing
