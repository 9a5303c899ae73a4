// The change log: what the server receives after edits, and what merge and cancel do.
#include <gtest/gtest.h>

#include "dataset_fixture.h"

namespace pag {
namespace {

class ChangeLog : public test::ThreeRows {};

std::vector<ChangeOp> ops(const ClientDataSet& ds) {
    std::vector<ChangeOp> o;
    auto delta = ds.Delta();
    for (const auto& c : delta->changes)
        o.push_back(c.op);
    return o;
}

TEST_F(ChangeLog, ModifyKeepsOriginalValuesOfTheLastMerge) {
    test::editAndPost(ds, "VRBOLPAG", 350.0);
    test::editAndPost(ds, "VRBOLPAG", 400.0);
    EXPECT_EQ(ds.ChangeCount(), 1);
    EXPECT_DOUBLE_EQ(ds.FieldByName("VRBOLPAG").OldValue().asFloat(), 300.0);
    auto d = ds.Delta();
    ASSERT_EQ(d->changes.size(), 1u);
    EXPECT_EQ(d->changes[0].op, ChangeOp::Modify);
    EXPECT_DOUBLE_EQ(d->layout.get(d->changes[0].values, 2).asFloat(), 400.0);
    EXPECT_DOUBLE_EQ(d->layout.get(d->changes[0].original, 2).asFloat(), 300.0);

    ds.MergeChangeLog();
    EXPECT_EQ(ds.ChangeCount(), 0);
    EXPECT_DOUBLE_EQ(ds.FieldByName("VRBOLPAG").OldValue().asFloat(), 400.0);
}

TEST_F(ChangeLog, InsertThenModifyIsOneInsertAndInsertThenDeleteLeavesNoTrace) {
    test::appendRow(ds, "0000000009");
    test::editAndPost(ds, "VRBOLPAG", 9.99);
    EXPECT_EQ(ops(ds), std::vector<ChangeOp>{ChangeOp::Insert});
    EXPECT_TRUE(ds.FieldByName("VRBOLPAG").OldValue().isNull());

    ds.Delete();
    EXPECT_EQ(ds.ChangeCount(), 0);
    EXPECT_EQ(ds.RecordCount(), 3);
}

TEST_F(ChangeLog, DeleteOfAModifiedRowSendsTheMergedOriginal) {
    test::editAndPost(ds, "NMFANTFORN", "GAMA LTDA");
    ds.Delete();
    auto d = ds.Delta();
    ASSERT_EQ(d->changes.size(), 1u);
    EXPECT_EQ(d->changes[0].op, ChangeOp::Delete);
    EXPECT_EQ(d->layout.get(d->changes[0].original, 1).asString(), "GAMA");
}

TEST_F(ChangeLog, CancelUpdatesRestoresTheMergedContent) {
    auto before = ds.Data();
    test::editAndPost(ds, "IDHABIBPAG", "S");
    ds.Next();
    ds.Delete();
    test::appendRow(ds, "0000000010");
    EXPECT_EQ(ds.ChangeCount(), 3);
    ds.CancelUpdates();
    EXPECT_EQ(ds.ChangeCount(), 0);
    EXPECT_EQ(*ds.Data(), *before);  // same rows, same order
}

TEST_F(ChangeLog, UnchangedPostLogsNothingAndLogChangesOffLogsNothing) {
    test::editAndPost(ds, "IDHABIBPAG", "N");  // same value
    EXPECT_EQ(ds.ChangeCount(), 0);

    ds.SetLogChanges(false);
    test::editAndPost(ds, "IDHABIBPAG", "S");
    test::appendRow(ds, "X");
    ds.Delete();
    EXPECT_EQ(ds.ChangeCount(), 0);
    EXPECT_EQ(ds.RecordCount(), 3);
}

TEST_F(ChangeLog, SetDataReplacesEverythingAndTakesFieldsByName) {
    test::editAndPost(ds, "IDHABIBPAG", "S");
    // A packet with extra and reordered fields: the declared ones are read by name.
    auto p =
        std::make_shared<Packet>(std::vector<PacketField>{{"EXTRA", FieldType::Text, 5},
                                                          {"VRBOLPAG", FieldType::Float, 0},
                                                          {"NRLANBOLPAG", FieldType::Text, 10}});
    p->addRow({"x", 12.5, "0000000077"});
    ds.SetData(p);
    EXPECT_EQ(ds.ChangeCount(), 0);
    EXPECT_EQ(ds.RecordCount(), 1);
    EXPECT_EQ(ds.FieldByName("NRLANBOLPAG").AsString(), "0000000077");
    EXPECT_DOUBLE_EQ(ds.FieldByName("VRBOLPAG").AsFloat(), 12.5);
    EXPECT_TRUE(ds.FieldByName("NMFANTFORN").IsNull());
    EXPECT_EQ(ds.FindField("EXTRA"), nullptr);

    // A dataset with no declared fields takes the packet's.
    ClientDataSet free("cdsContProrVenc");
    free.SetData(p);
    EXPECT_EQ(free.FieldCount(), 3u);
    EXPECT_EQ(free.FieldByName("EXTRA").AsString(), "x");
}

TEST_F(ChangeLog, FieldWritesAreCheckedBeforeTheyReachTheRow) {
    EXPECT_THROW(ds.FieldByName("VRBOLPAG").SetAsFloat(1), std::logic_error);  // browsing
    ds.Edit();
    EXPECT_THROW(ds.FieldByName("IDHABIBPAG").SetAsString("SS"), std::invalid_argument);
    EXPECT_THROW(ds.FieldByName("VRBOLPAG").SetText("12,3x"), std::invalid_argument);
    EXPECT_THROW(ds.FieldByName("DTVENBOLPAG").SetText("31/02/2026"), std::invalid_argument);
    ds.FieldByName("VRBOLPAG").SetText("1.234,56");
    EXPECT_DOUBLE_EQ(ds.FieldByName("VRBOLPAG").AsFloat(), 1234.56);
    EXPECT_EQ(ds.FieldByName("VRBOLPAG").DisplayText(), "1.234,56");
    ds.FieldByName("DTVENBOLPAG").SetText("  /  /    ");
    EXPECT_TRUE(ds.FieldByName("DTVENBOLPAG").IsNull());
    EXPECT_THROW(ds.FieldByName("NAOEXISTE"), std::invalid_argument);
    // The row being edited reads what was written, text without a copy; a longer text
    // moves the cells after it, and a write that fails leaves the row as it was.
    ds.FieldByName("nmfantforn").SetAsString("ÁGUA & CIA");
    EXPECT_EQ(ds.FieldByName("NmFantForn").AsText(), "ÁGUA & CIA");
    EXPECT_THROW(ds.FieldByName("NMFANTFORN").SetAsString(std::string(41, 'x')),
                 std::invalid_argument);
    EXPECT_EQ(ds.FieldByName("NMFANTFORN").AsText(), "ÁGUA & CIA");
    EXPECT_DOUBLE_EQ(ds.FieldByName("VRBOLPAG").AsFloat(), 1234.56);
    EXPECT_THROW(ds.FieldByName("VRBOLPAG").AsText(), std::logic_error);
    ds.Cancel();
    EXPECT_EQ(ds.FieldByName("NMFANTFORN").AsText(), "GAMA");
    // Names differing only in case are the same field.
    std::vector<FieldDef> twice = test::boletoDefs();
    twice[1].name = "nrlanbolpag";
    EXPECT_THROW(ClientDataSet("cdsDuplo").SetFieldDefs(twice), std::invalid_argument);
}

TEST(CalculatedFields, FollowPostsAndStayOutOfPackets) {
    ClientDataSet ds("cdsCntPagar");
    auto defs = test::boletoDefs();
    FieldDef calc;
    calc.name = "DOCUMENTO";
    calc.calculated = true;
    calc.size = 30;
    defs.push_back(calc);
    ds.SetFieldDefs(defs);
    ds.OnCalcFields = [](ClientDataSet& d) {
        d.FieldByName("DOCUMENTO")
            .SetAsString(d.FieldByName("NRLANBOLPAG").AsString() + "/" +
                         d.FieldByName("IDHABIBPAG").AsString());
    };
    test::loadThree(ds);
    EXPECT_EQ(ds.FieldByName("DOCUMENTO").AsString(), "0000000003/N");
    ds.Edit();
    EXPECT_THROW(ds.FieldByName("DOCUMENTO").SetAsString("x"), std::logic_error);
    ds.FieldByName("IDHABIBPAG").SetAsString("S");
    ds.Post();
    EXPECT_EQ(ds.FieldByName("DOCUMENTO").AsString(), "0000000003/S");
    EXPECT_EQ(ds.Data()->fieldIndex("DOCUMENTO"), -1);
    EXPECT_EQ(ds.Delta()->fieldIndex("DOCUMENTO"), -1);
}

}  // namespace
}  // namespace pag
