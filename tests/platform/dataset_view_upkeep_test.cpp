// The rows shown after each post, and the change log a save takes, kept up row by row:
// they must be what sorting and filtering everything again would give.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "dataset_fixture.h"

namespace pag {
namespace {

struct Row {
    std::string key, supplier, enabled;
    double value = 0;
};

// Keys of the rows shown, in the order shown, read without moving the cursor.
std::vector<std::string> shown(ClientDataSet& ds) {
    std::vector<std::string> keys;
    for (int n = 1; n <= ds.RecordCount(); ++n) {
        DisplayRecordScope row(ds, n);
        keys.push_back(ds.FieldByName("NRLANBOLPAG").AsString());
    }
    return keys;
}

// What a fresh filter on "S" and a stable sort by supplier then value give.
std::vector<std::string> expected(const std::vector<Row>& rows) {
    std::vector<Row> kept;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(kept),
                 [](const Row& r) { return r.enabled == "S"; });
    std::stable_sort(kept.begin(), kept.end(), [](const Row& a, const Row& b) {
        return a.supplier != b.supplier ? a.supplier < b.supplier : a.value < b.value;
    });
    std::vector<std::string> keys;
    for (const Row& r : kept)
        keys.push_back(r.key);
    return keys;
}

class ViewUpkeep : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<std::vector<Value>> packet;
        for (int i = 0; i < 120; ++i) {
            Row r{"K" + std::to_string(1000 + i), pick(suppliers_), pick(flags_),
                  static_cast<double>(rand_() % 7)};
            rows_.push_back(r);
            packet.push_back({r.key, r.supplier, r.value, Date(), r.enabled});
        }
        ds_.SetFieldDefs(test::boletoDefs());
        ds_.SetData(test::boletoPacket(packet));
        ds_.SetIndexFieldNames("NMFANTFORN;VRBOLPAG");
        ds_.SetFilter("IDHABIBPAG = 'S'");
        ds_.SetFiltered(true);
    }

    template <size_t N>
    std::string pick(const char* const (&from)[N]) {
        return from[rand_() % N];
    }

    Row& rowOf(const std::string& key) {
        return *std::find_if(rows_.begin(), rows_.end(),
                             [&](const Row& r) { return r.key == key; });
    }

    // Changes one field of the current row, as a user's edit and post.
    void editCurrent() {
        Row& r = rowOf(ds_.FieldByName("NRLANBOLPAG").AsString());
        ds_.Edit();
        switch (rand_() % 3) {
            case 0:
                r.supplier = pick(suppliers_);
                break;
            case 1:
                r.value = static_cast<double>(rand_() % 7);
                break;
            default:
                r.enabled = pick(flags_);
                break;
        }
        ds_.FieldByName("NMFANTFORN").SetAsString(r.supplier);
        ds_.FieldByName("VRBOLPAG").SetAsFloat(r.value);
        ds_.FieldByName("IDHABIBPAG").SetAsString(r.enabled);
        ds_.Post();
    }

    static constexpr const char* suppliers_[] = {"ALFA", "BETA", "GAMA", "DELTA"};
    static constexpr const char* flags_[] = {"S", "S", "N"};
    std::mt19937 rand_{20};
    std::vector<Row> rows_;
    ClientDataSet ds_{"cds"};
};

TEST_F(ViewUpkeep, EveryPostLeavesTheOrderAndFilterOfAFreshSortAndTheCursorOnItsRow) {
    for (int i = 0; i < 400 && ds_.RecordCount() > 0; ++i) {
        ds_.SetRecNo(1 + static_cast<int>(rand_() % static_cast<unsigned>(ds_.RecordCount())));
        const std::string key = ds_.FieldByName("NRLANBOLPAG").AsString();
        editCurrent();
        ASSERT_EQ(shown(ds_), expected(rows_)) << "after post " << i;
        // The posted row stays current while shown; a row filtered out leaves the first.
        if (rowOf(key).enabled == "S")
            EXPECT_EQ(ds_.FieldByName("NRLANBOLPAG").AsString(), key);
        else
            EXPECT_EQ(ds_.RecNo(), 1);
        EXPECT_FALSE(ds_.Eof());
    }
}

TEST_F(ViewUpkeep, TheChangeLogHoldsEachChangedRowOnceInLoadOrderUntilMerged) {
    std::vector<std::string> changed;
    for (int i = 0; i < 60; ++i) {
        ds_.SetRecNo(1 + static_cast<int>(rand_() % static_cast<unsigned>(ds_.RecordCount())));
        const std::string key = ds_.FieldByName("NRLANBOLPAG").AsString();
        const Row before = rowOf(key);
        editCurrent();
        const Row& after = rowOf(key);
        if (before.supplier != after.supplier || before.value != after.value ||
            before.enabled != after.enabled)
            changed.push_back(key);
    }
    std::sort(changed.begin(), changed.end());  // the keys follow the load order
    changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
    // A row put back to what it was is still a change: compare with the log alone.
    const auto delta = ds_.Delta();
    std::vector<std::string> logged;
    for (const PacketChange& c : delta->changes) {
        EXPECT_EQ(c.op, ChangeOp::Modify);
        logged.push_back(delta->layout.get(c.values, 0).asString());
    }
    EXPECT_TRUE(std::is_sorted(logged.begin(), logged.end()));
    EXPECT_EQ(static_cast<int>(logged.size()), ds_.ChangeCount());
    for (const std::string& k : changed)
        EXPECT_TRUE(std::binary_search(logged.begin(), logged.end(), k)) << k;

    const int64_t mark = ds_.Bookmark();
    const std::string current = ds_.FieldByName("NRLANBOLPAG").AsString();
    ds_.MergeChangeLog();
    EXPECT_EQ(ds_.ChangeCount(), 0);
    EXPECT_TRUE(ds_.Delta()->changes.empty());
    EXPECT_EQ(ds_.FieldByName("NRLANBOLPAG").AsString(), current);
    ASSERT_TRUE(ds_.BookmarkValid(mark));
    EXPECT_EQ(shown(ds_), expected(rows_));
}

TEST_F(ViewUpkeep, InsertsAndDeletesAmongEditsKeepTheLogAndTheOrder) {
    ds_.SetFiltered(false);
    ds_.SetIndexFieldNames("");
    ds_.SetRecNo(10);
    ds_.Insert();  // before the tenth row
    ds_.FieldByName("NRLANBOLPAG").SetAsString("NOVO");
    ds_.FieldByName("IDHABIBPAG").SetAsString("S");
    ds_.Post();
    ds_.SetRecNo(3);
    ds_.Edit();
    ds_.FieldByName("VRBOLPAG").SetAsFloat(99);
    ds_.Post();
    ds_.SetRecNo(20);
    const std::string gone = ds_.FieldByName("NRLANBOLPAG").AsString();
    ds_.Delete();
    const auto delta = ds_.Delta();
    ASSERT_EQ(delta->changes.size(), 3u);
    EXPECT_EQ(delta->changes[0].op, ChangeOp::Modify);
    EXPECT_EQ(delta->changes[1].op, ChangeOp::Insert);
    EXPECT_EQ(delta->changes[2].op, ChangeOp::Delete);
    EXPECT_EQ(delta->layout.get(delta->changes[2].original, 0).asString(), gone);

    ds_.MergeChangeLog();
    EXPECT_EQ(ds_.ChangeCount(), 0);
    ASSERT_EQ(ds_.RecordCount(), 120);
    ds_.SetRecNo(10);
    EXPECT_EQ(ds_.FieldByName("NRLANBOLPAG").AsString(), "NOVO");
    // Edits after the merge still find their place and their log.
    ds_.SetIndexFieldNames("VRBOLPAG");
    ds_.Last();
    ds_.Edit();
    ds_.FieldByName("VRBOLPAG").SetAsFloat(-1);
    ds_.Post();
    EXPECT_EQ(ds_.RecNo(), 2);  // after the new row, whose value is null
    EXPECT_EQ(ds_.ChangeCount(), 1);
    const auto kept = shown(ds_);
    ds_.SetIndexFieldNames("");
    ds_.SetIndexFieldNames("VRBOLPAG");
    EXPECT_EQ(shown(ds_), kept);
}

TEST(ViewUpkeepCalculated, APostAfterRecalculatingSortsByTheNewValues) {
    ClientDataSet ds("cds");
    auto defs = test::boletoDefs();
    FieldDef calc;
    calc.name = "ORDEM";
    calc.type = FieldType::Float;
    calc.calculated = true;
    defs.push_back(calc);
    ds.SetFieldDefs(defs);
    double sign = 1;
    ds.OnCalcFields = [&sign](ClientDataSet& d) {
        d.FieldByName("ORDEM").SetAsFloat(sign * d.FieldByName("VRBOLPAG").AsFloat());
    };
    test::loadThree(ds);
    ds.SetIndexFieldNames("ORDEM");
    EXPECT_EQ(shown(ds), (std::vector<std::string>{"0000000001", "0000000002", "0000000003"}));
    sign = -1;
    ds.Refresh();
    ds.Edit();
    ds.FieldByName("NMFANTFORN").SetAsString("OUTRO");
    ds.Post();
    EXPECT_EQ(shown(ds), (std::vector<std::string>{"0000000003", "0000000002", "0000000001"}));
}

}  // namespace
}  // namespace pag
